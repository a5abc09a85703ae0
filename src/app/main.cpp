#include <QApplication>
#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <memory>

#include "app/screens.h"
#include "app/single_instance.h"
#include "app/startup.h"
#include "art/pictures.h"
#include "ui/qt_window_services.h"
#include "ui/window_watch.h"

namespace {

// Every text is Japanese: when the default font cannot show it, use a Japanese one if present.
void useJapaneseFont() {
    const QFont current = QApplication::font();
    if (QFontDatabase::writingSystems(current.family()).contains(QFontDatabase::Japanese)) return;
    const QStringList families = QFontDatabase::families(QFontDatabase::Japanese);
    for (const QString& wanted :
         {QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic"),
          QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Noto Sans JP")})
        if (families.contains(wanted)) {
            QFont f(wanted);
            f.setPointSizeF(current.pointSizeF());
            QApplication::setFont(f);
            return;
        }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ミトラン"));
    // Every window and box shows the launcher's icon, and docks match the windows to the
    // launcher entry by the desktop file's name.
    QApplication::setWindowIcon(mitoran::pictures::appIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("jp.mitoran.Mitoran"));
    // Screens hand over by closing one and opening the next; only the program's end quits.
    QApplication::setQuitOnLastWindowClosed(false);
    useJapaneseFont();
    mitoran::setServices(std::make_unique<mitoran::QtWindowServices>());
    app.installEventFilter(new mitoran::HandOverGuard(-1, &app));

    // Before any file is read: a second program on the same folder would be a second writer.
    mitoran::DataFolderGuard guard;
    switch (guard.claim(QDir::currentPath(), [] { mitoran::screens::bringForward(); })) {
        case mitoran::DataFolderGuard::Outcome::First:
            break;
        case mitoran::DataFolderGuard::Outcome::HandedOn:
            return 0;
        case mitoran::DataFolderGuard::Outcome::Blocked:
            mitoran::services().messageBox(
                QStringLiteral(
                    "このフォルダのデータは、別のミトランが使っています。\n"
                    "その画面が応答しないため、二重に書き込まないよう起動を中止します。\n"
                    "しばらく待ってから、もう一度起動してください。"),
                QStringLiteral("ミトラン"), mitoran::MsgIcon::Exclamation);
            return 1;
    }

    if (const int failed = mitoran::Main(); failed != 0) return failed;
    return QApplication::exec();
}
