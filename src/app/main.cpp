#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <memory>

#include "app/pctm.h"
#include "ui/qt_window_services.h"

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
    // Screens hand over by closing one and opening the next; only the program's end quits.
    QApplication::setQuitOnLastWindowClosed(false);
    useJapaneseFont();
    mitoran::setServices(std::make_unique<mitoran::QtWindowServices>());

    if (const int failed = mitoran::Main(); failed != 0) return failed;
    return QApplication::exec();
}
