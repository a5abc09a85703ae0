// Every screen and panel on a small screen, with each Japanese font this machine has: the window
// fits, no text is cut off, every button can be reached with Tab, and the keys that matter work.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTest>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/pctm.h"
#include "app/screens.h"
#include "data/data_files.h"
#include "history/frmGraph.h"
#include "home/frmSettei.h"
#include "home/restore_dialog.h"
#include "session/frmMain.h"
#include "support/screen_reset.h"
#include "support/scripted_services.h"
#include "support/temp_folder.h"
#include "ui/grid_view.h"

using namespace mitoran;
using mitoran::testing::ScriptedServices;
using mitoran::testing::TempFolder;

namespace {

// ---- what a window may take ----

// The room a window has on the smallest screen we support: 1366 x 768 at 100 %, or 2560 x 1440 at
// 200 % (1280 x 720 in the logical pixels the layouts work in), less the desktop's panels and the
// window's own title bar.
QSize screenBudget() {
    const qreal scale = qApp->devicePixelRatio() >= 1.5 ? qApp->devicePixelRatio() : 1.0;
    const QSize screen = scale > 1 ? QSize(2560, 1440) : QSize(1366, 768);
    const int panels = 60, titleBar = 32, frame = 8;  // panels in screen pixels, the rest logical
    return {static_cast<int>(screen.width() / scale) - frame,
            static_cast<int>((screen.height() - panels) / scale) - titleBar};
}

QString describe(const QWidget* w) {
    return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                     : w->objectName();
}

QStringList windowTooBig(const QWidget* window) {
    QStringList problems;
    const QSize budget = screenBudget();
    for (const auto& [what, size] :
         {std::pair{QStringLiteral("size"), window->size()},
          std::pair{QStringLiteral("minimum"), window->minimumSizeHint()}}) {
        if (size.width() > budget.width() || size.height() > budget.height())
            problems << QStringLiteral("%1 %2 %3x%4 exceeds %5x%6")
                            .arg(describe(window), what)
                            .arg(size.width())
                            .arg(size.height())
                            .arg(budget.width())
                            .arg(budget.height());
    }
    return problems;
}

// ---- cut-off text ----

QString shownText(QString text) {
    // Buttons draw "&&" as "&" and a single "&" as an underline.
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

// Measured top left: a centred measurement rounds its half pixels up and would report one too many.
QSize textSize(const QFontMetrics& fm, const QString& text, int flags = 0) {
    return fm.boundingRect(QRect(0, 0, 100000, 100000), flags | Qt::TextExpandTabs, text).size();
}

QString cut(const QWidget* w, const QString& text, QSize needed, QSize room) {
    return QStringLiteral("%1 \"%2\" needs %3x%4, has %5x%6")
        .arg(describe(w), text)
        .arg(needed.width())
        .arg(needed.height())
        .arg(room.width())
        .arg(room.height());
}

bool fits(QSize needed, QSize room) {
    return needed.width() <= room.width() && needed.height() <= room.height();
}

// The part of `r` (in w's coordinates) that its parents leave in view: a child that overflows its
// parent is cut off however wide it is itself.
QRect unclipped(const QWidget* w, const QRect& r) {
    const QWidget* window = w->window();
    const QPoint origin = w->mapTo(window, QPoint(0, 0));
    QRect shown = r.translated(origin);
    for (const QWidget* p = w->parentWidget(); p; p = p->isWindow() ? nullptr : p->parentWidget())
        shown &= QRect(p->mapTo(window, QPoint(0, 0)), p->size());
    return shown.translated(-origin);
}

// The rectangle QLabel draws its text in (its contents, less margin and indent).
QRect labelTextRect(const QLabel* label) {
    QRect r = label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(),
                                             -label->margin());
    int indent = label->indent();
    if (indent < 0 && label->frameWidth() > 0)
        indent = label->fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2;
    if (indent > 0) {
        const Qt::Alignment a =
            QStyle::visualAlignment(label->layoutDirection(), label->alignment());
        if (a & Qt::AlignLeft) r.setLeft(r.left() + indent);
        if (a & Qt::AlignRight) r.setRight(r.right() - indent);
        if (a & Qt::AlignTop) r.setTop(r.top() + indent);
        if (a & Qt::AlignBottom) r.setBottom(r.bottom() - indent);
    }
    return r;
}

void checkLabel(const QLabel* label, QStringList& problems) {
    const QString text = label->text();
    if (text.isEmpty() || !label->pixmap().isNull()) return;
    if (label->textFormat() == Qt::RichText ||
        (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text)))
        return;
    const QRect room = unclipped(label, labelTextRect(label));
    if (label->wordWrap()) {
        const int needed = label->heightForWidth(label->width());
        if (needed > label->height())
            problems << cut(label, text, {label->width(), needed}, label->size());
        return;
    }
    // A label with a buddy shows its "&" as the underline of the next letter.
    QString shown = text;
    if (label->buddy()) shown.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    const QSize needed = textSize(label->fontMetrics(), shown);
    if (!fits(needed, room.size())) problems << cut(label, text, needed, room.size());
}

void checkButton(const QAbstractButton* button, QStringList& problems) {
    const QString text = shownText(button->text());
    if (text.isEmpty()) return;
    QStyleOptionButton opt;
    opt.initFrom(button);
    opt.text = button->text();
    opt.icon = button->icon();
    opt.iconSize = button->iconSize();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QCheckBox*>(button))
        contents = QStyle::SE_CheckBoxContents;
    else if (qobject_cast<const QRadioButton*>(button))
        contents = QStyle::SE_RadioButtonContents;
    else if (const auto* push = qobject_cast<const QPushButton*>(button)) {
        if (push->isFlat()) opt.features |= QStyleOptionButton::Flat;
        if (push->isDefault()) opt.features |= QStyleOptionButton::DefaultButton;
        if (push->autoDefault()) opt.features |= QStyleOptionButton::AutoDefaultButton;
    }
    const QRect room = unclipped(button, button->style()->subElementRect(contents, &opt, button));
    QSize needed = textSize(button->fontMetrics(), text, Qt::TextShowMnemonic);
    if (!button->icon().isNull()) needed.rwidth() += button->iconSize().width() + 4;
    if (!fits(needed, room.size())) problems << cut(button, text, needed, room.size());
}

void checkCombo(const QComboBox* combo, QStringList& problems) {
    const QString text = combo->currentText();
    if (text.isEmpty()) return;
    QStyleOptionComboBox opt;
    opt.initFrom(combo);
    opt.editable = combo->isEditable();
    opt.frame = combo->hasFrame();
    opt.currentText = text;
    QRect room = combo->style()->subControlRect(QStyle::CC_ComboBox, &opt,
                                                QStyle::SC_ComboBoxEditField, combo);
    // A line edit keeps a little room of its own on each side.
    if (combo->isEditable()) room.adjust(2, 0, -2, 0);
    room = unclipped(combo, room);
    const QSize needed = textSize(combo->fontMetrics(), text);
    if (!fits(needed, room.size())) problems << cut(combo, text, needed, room.size());
}

void checkGrid(const GridView* grid, QStringList& problems) {
    const QAbstractItemModel* model = grid->model();
    // The item delegate keeps this margin on each side of a cell's text.
    const int margin = grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1;
    const QHeaderView* header = grid->horizontalHeader();
    const int headerMargin = grid->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    for (int c = 0; c < model->columnCount(); ++c) {
        if (grid->isColumnHidden(c) || grid->columnWidth(c) <= 0) continue;
        const QString title = model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        if (!header->isHidden() && !title.isEmpty()) {
            const QSize needed =
                textSize(header->fontMetrics(), title) + QSize(2 * headerMargin, 0);
            const QSize room(header->sectionSize(c), header->height());
            if (!fits(needed, room))
                problems << cut(grid, QStringLiteral("header: ") + title, needed, room);
        }
        for (int r = 0; r < model->rowCount(); ++r) {
            const QString text = model->data(model->index(r, c), Qt::DisplayRole).toString();
            if (text.isEmpty()) continue;
            const QSize needed = textSize(grid->fontMetrics(), text) + QSize(2 * margin, 0);
            const QSize room(grid->columnWidth(c), grid->rowHeight(r));
            if (!fits(needed, room)) {
                problems << cut(grid, QStringLiteral("row %1: ").arg(r + 1) + text, needed, room);
                break;  // one cut cell tells enough about its column
            }
        }
    }
}

// Every shown label, button, combo box and grid of the window whose text does not fit, except
// the widgets `mayCut` names. Labels that shorten a long name themselves fit by construction.
QStringList clippedTexts(const QWidget* window, const QSet<QString>& mayCut = {}) {
    QStringList problems;
    for (const QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisible() || mayCut.contains(w->objectName())) continue;
        if (const auto* label = qobject_cast<const QLabel*>(w))
            checkLabel(label, problems);
        else if (const auto* button = qobject_cast<const QAbstractButton*>(w))
            checkButton(button, problems);
        else if (const auto* combo = qobject_cast<const QComboBox*>(w))
            checkCombo(combo, problems);
        else if (const auto* grid = qobject_cast<const GridView*>(w))
            checkGrid(grid, problems);
    }
    return problems;
}

// ---- keyboard ----

void settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

bool activate(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window, 2000);
}

// The widgets Tab visits, in order, starting from the window's focus widget; `closed` tells
// whether Tab came back to where it started (a control that keeps Tab for itself never does).
std::vector<QWidget*> tabCycle(QWidget* window, bool& closed) {
    std::vector<QWidget*> visited;
    closed = false;
    QWidget* start = window->focusWidget();
    if (!start) {
        QTest::keyClick(window, Qt::Key_Tab);
        start = QApplication::focusWidget();
    }
    if (!start) return visited;
    QWidget* at = start;
    for (int i = 0; i < 100; ++i) {
        visited.push_back(at);
        QTest::keyClick(at, Qt::Key_Tab);
        at = QApplication::focusWidget();
        if (!at || at->window() != window) return visited;
        if (at == start) {
            closed = true;
            return visited;
        }
    }
    return visited;
}

// The buttons that are one choice among several (radio buttons, the history screen's view
// buttons) share one Tab stop; the arrow keys move between them.
QList<QAbstractButton*> choicesOf(QAbstractButton* b) {
    if (!b->isCheckable()) return {};
    if (b->group())
        return b->group()->exclusive() ? b->group()->buttons() : QList<QAbstractButton*>{};
    if (!b->autoExclusive() || !b->parentWidget()) return {};
    QList<QAbstractButton*> siblings;
    for (QAbstractButton* s :
         b->parentWidget()->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly))
        if (s->autoExclusive() && s->isCheckable()) siblings << s;
    return siblings;
}

// The widgets the arrow keys reach from `start` within its choices.
QSet<QWidget*> arrowReach(QAbstractButton* start) {
    QSet<QWidget*> reached{start};
    const int n = static_cast<int>(choicesOf(start).size());
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Right, Qt::Key_Left}) {
        start->setFocus(Qt::TabFocusReason);
        for (int i = 0; i < n; ++i) {
            QTest::keyClick(QApplication::focusWidget(), key);
            settle();
            reached.insert(QApplication::focusWidget());
        }
    }
    return reached;
}

// The shown, enabled buttons of the window that Tab (and, among choices, the arrow keys) never
// reaches.
QStringList unreachableButtons(QWidget* window) {
    bool closed = false;
    const std::vector<QWidget*> cycle = tabCycle(window, closed);
    QSet<QWidget*> reached(cycle.begin(), cycle.end());
    for (QWidget* w : cycle)
        if (auto* b = qobject_cast<QAbstractButton*>(w); b && !choicesOf(b).isEmpty())
            reached.unite(arrowReach(b));
    QStringList missing;
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
        if (b->isVisible() && b->isEnabled() && !reached.contains(b)) missing << describe(b);
    if (!closed) missing << QStringLiteral("Tab does not come round");
    if (!missing.isEmpty()) {
        QStringList order;
        for (QWidget* w : cycle) order << describe(w);
        missing << QStringLiteral("(Tab visits: %1)").arg(order.join(QStringLiteral(", ")));
    }
    return missing;
}

std::string joined(const QStringList& lines) {
    return lines.join(QStringLiteral("\n  ")).toStdString();
}

// ---- data ----

QString sampleFolder() { return QStringLiteral(MITORAN_SAMPLE_DIR); }

void copySample() {
    const QDir from(sampleFolder());
    for (const QString& f : from.entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(from.filePath(f), QDir::current().filePath(f))) << f.toStdString();
}

std::string twoDigits(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", n);
    return buf;
}

// 20 items with names up to twelve characters and histories of several years with the largest
// counts the count bar allows, so every figure the screens show is as wide as it gets.
void writeFullData() {
    const std::vector<std::string> names = {"腕立て伏せ",   "腹筋",
                                            "スクワット",   "背筋",
                                            "懸垂",         "プランク",
                                            "ランジ",       "ダンベルカール",
                                            "サイドレイズ", "カーフレイズ",
                                            "ディップス",   "バーピー",
                                            "レッグレイズ", "クランチ",
                                            "ブリッジ",     "片足スクワット",
                                            "ヒップリフト", "ワイドスクワット",
                                            "ナロー腕立て", "ダンベルサイドレイズ左右"};
    std::vector<ItemRecord> items;
    for (const std::string& n : names) items.push_back({n, 1000, 2147483647});
    ASSERT_TRUE(rewriteItemList(items).ok);
    ASSERT_TRUE(writePlaySettings({2, 0, 60}).ok);
    ASSERT_TRUE(writeSettings(0).ok);

    // Three sets a day of nearly 1000 on every day from 2024-01-01 to 2026-12-07, 20 sets today.
    std::string history;
    const std::chrono::sys_days first =
        std::chrono::year{2024} / std::chrono::month{1} / std::chrono::day{1};
    const std::chrono::sys_days last =
        std::chrono::year{2026} / std::chrono::month{12} / std::chrono::day{7};
    for (std::chrono::sys_days d = first; d <= last; d += std::chrono::days{1}) {
        const std::chrono::year_month_day ymd{d};
        const std::string date = std::to_string(int(ymd.year())) + "年" +
                                 twoDigits(unsigned(ymd.month())) + "月" +
                                 twoDigits(unsigned(ymd.day())) + "日";
        const int sets = d == last ? 20 : 3;
        for (int s = 0; s < sets; ++s)
            history += "\"" + date + "\",\"" + twoDigits(6 + s / 2) + "時" + twoDigits(s % 60) +
                       "分" + twoDigits(s) + "秒\"," + std::to_string(s % 2 ? 999 : 1000 - s) +
                       "\r\n";
    }
    const std::string bytes = TempFolder::cp932(history);
    std::string quick;
    for (int i = 1; i <= 40; ++i)
        quick += "\"2026年11月" + twoDigits(1 + i % 28) + "日\",\"20時" + twoDigits(i) +
                 "分\",180," + std::to_string(100 + i) + "\r\n";
    const std::string quickBytes = TempFolder::cp932(quick);
    for (const std::string& n : names) {
        TempFolder::write(historyFileName(n), bytes);
        TempFolder::write(quickFileName(n), quickBytes);
    }
}

// ---- the fixture ----

struct FontCase {
    const char* family;  // empty: the application's own font with the system's fallbacks
    int points;          // 0: the platform's size
};

std::string caseName(const ::testing::TestParamInfo<FontCase>& info) {
    std::string name = *info.param.family ? info.param.family : "Default";
    std::string out;
    for (char c : name)
        if (std::isalnum(static_cast<unsigned char>(c))) out += c;
    return out + (info.param.points ? std::to_string(info.param.points) + "pt" : "");
}

class Layout : public ::testing::TestWithParam<FontCase> {
  protected:
    void SetUp() override {
        const FontCase font = GetParam();
        if (*font.family && !QFontDatabase::families(QFontDatabase::Japanese).contains(font.family))
            GTEST_SKIP() << font.family << " is not installed";
        const QFont original = QApplication::font();
        saved_ = original;
        QFont f = *font.family ? QFont(QString::fromUtf8(font.family)) : original;
        f.setPointSizeF(font.points ? font.points : original.pointSizeF());
        QApplication::setFont(f);

        svc = &mitoran::testing::installScriptedServices();
        svc->setNow(2026, 12, 7, 19, 30, 0);
        resetRun();
    }

    void TearDown() override {
        mitoran::testing::closeEveryScreen();
        resetRun();
        if (saved_) QApplication::setFont(*saved_);
    }

    // The round as the user starts it, with the tour off so no box stands in the way.
    frmMain* openPrompt() {
        EXPECT_TRUE(LoadSettings().ok);
        PCTM.HelpTourOn = 0;
        frmMain* prompt = screens::openPromptScreen(Qt::WindowNoState);
        if (prompt) services().showWindow(prompt);
        settle();
        return prompt;
    }

    frmSettei* openHome() {
        PCTM.HelpTourOn = 0;
        EXPECT_TRUE(LoadItemList().ok);
        EXPECT_TRUE(LoadPlaySettings().ok);
        frmSettei* home = screens::openHomeScreen();
        settle();
        return home;
    }

    static void click(QWidget* window, const char* name) {
        auto* b = window->findChild<QAbstractButton*>(QString::fromLatin1(name));
        ASSERT_NE(b, nullptr) << name;
        b->click();
        settle();
    }

    // Fit and cut-off text of one state of a window, reported under `what`.
    void expectReadable(const QWidget* window, const QString& what) {
        ASSERT_NE(window, nullptr) << what.toStdString();
        const QStringList big = windowTooBig(window);
        EXPECT_TRUE(big.isEmpty())
            << what.toStdString() << ":\n  " << big.join(QStringLiteral("\n  ")).toStdString();
        const QStringList cutOff = clippedTexts(window, mayCut_);
        EXPECT_TRUE(cutOff.isEmpty())
            << what.toStdString() << ":\n  " << cutOff.join(QStringLiteral("\n  ")).toStdString();
    }

    // Every screen and panel in turn, as the screenshots show them.
    void expectEveryScreenReadable() {
        frmMain* prompt = openPrompt();
        ASSERT_NE(prompt, nullptr);
        // Each item once: the name's type size follows its length.
        for (int i = 1; i <= PCTM.ItemCount(); ++i) {
            expectReadable(prompt, QStringLiteral("prompt, item %1").arg(i));
            if (i < PCTM.ItemCount()) prompt->cmdNowCut_Click();
            settle();
        }
        prompt->cmdCut_Click();
        settle();

        frmSettei* home = screens::homeScreen();
        ASSERT_NE(home, nullptr);
        expectReadable(home, QStringLiteral("overview"));
        click(home, "cmdMaster");
        expectReadable(home, QStringLiteral("edit panel"));
        // The restore dialog over a copy of the first item's history, its widest figures.
        std::filesystem::create_directory("バックアップ");
        TempFolder::write("バックアップ/" + PCTM.ItemNames(1) + "_20261207_193000.txt",
                          TempFolder::read(historyFileName(PCTM.ItemNames(1))));
        click(home, "cmdRestore");
        if (auto* restore = home->findChild<RestoreDialog*>()) {
            settle();
            expectReadable(restore, QStringLiteral("restore dialog"));
            delete restore;
        } else {
            ADD_FAILURE() << "no restore dialog";
        }
        click(home, "cmdToday");
        expectReadable(home, QStringLiteral("today panel"));
        click(home, "cmdQuick");
        expectReadable(home, QStringLiteral("quick panel"));
        click(home, "cmdGraph");
        frmGraph* history = screens::historyScreen();
        ASSERT_NE(history, nullptr);
        settle();
        for (const char* view : {"Option1", "Option2", "Option3", "Option4"}) {
            click(history, view);
            expectReadable(history, QStringLiteral("history, ") + QLatin1String(view));
        }
    }

    ScriptedServices* svc = nullptr;
    QSet<QString> mayCut_;
    TempFolder folder;
    std::optional<QFont> saved_;
};

TEST_P(Layout, FirstRunDataFitsAndNothingIsCutOff) {
    copySample();
    ASSERT_TRUE(writeSettings(0).ok);
    expectEveryScreenReadable();
}

TEST_P(Layout, TwentyItemsWithTheWidestFiguresFitAndNothingIsCutOff) {
    writeFullData();
    expectEveryScreenReadable();
}

// A name far longer than any screen has room for: the windows keep their size, the labels show
// the name's beginning with the whole name as their tip, and the grid and the combo boxes cut it
// as they cut any text too long for them (the edit panel's list shows it whole).
TEST_P(Layout, AVeryLongNameKeepsTheWindowsOnTheScreen) {
    const std::string name =
        "とても長い名前のトレーニング項目を登録してみたらどうなるかの確認用項目名";
    ASSERT_TRUE(rewriteItemList({{name, 10, 1000}, {"腹筋", 10, 1000}}).ok);
    ASSERT_TRUE(writePlaySettings({2, 0, 5}).ok);
    ASSERT_TRUE(writeSettings(0).ok);
    ASSERT_TRUE(appendHistory(name, svc->now(), 10).ok);

    frmMain* prompt = openPrompt();
    ASSERT_NE(prompt, nullptr);
    const QString whole = QString::fromStdString(name);
    EXPECT_EQ(prompt->findChild<QLabel*>("lblKoumoku")->toolTip(), whole);
    EXPECT_EQ(prompt->findChild<QLabel*>("lblSnd_1")->toolTip(), "1." + whole);
    EXPECT_TRUE(prompt->findChild<QLabel*>("lblSnd_2")->toolTip().isEmpty());
    prompt->cmdCut_Click();
    settle();
    frmSettei* home = screens::homeScreen();
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(home->findChild<QLabel*>("lblKoumokuw_1")->toolTip(), whole);
    screens::closeScreen(home);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    mayCut_ = {QStringLiteral("msgIchiran"), QStringLiteral("cboKoumoku"),
               QStringLiteral("cboNamae"), QStringLiteral("cboKoumoku1")};
    expectEveryScreenReadable();
}

class Keyboard : public Layout {
  protected:
    // The sample folder without the help tour, on the home screen.
    frmSettei* openSampleHome() {
        copySample();
        EXPECT_TRUE(writeSettings(0).ok);
        return openHome();
    }
    // A key on a named control that took the focus as Tab gives it.
    static void pressOnFocused(QWidget* window, const char* name, Qt::Key key) {
        auto* w = window->findChild<QWidget*>(QString::fromLatin1(name));
        ASSERT_NE(w, nullptr) << name;
        w->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), w) << name;
        QTest::keyClick(w, key);
        settle();
    }
};

// Tab from the count bar around the prompt screen, then around the home screen with each panel
// and around the history screen.
TEST_P(Keyboard, EveryButtonIsReachedWithTab) {
    copySample();
    ASSERT_TRUE(writeSettings(0).ok);
    frmMain* prompt = openPrompt();
    ASSERT_NE(prompt, nullptr);
    ASSERT_TRUE(activate(prompt));
    svc->monotonic += 1;  // the prompt is read before it is answered
    EXPECT_EQ(describe(QApplication::focusWidget()), QStringLiteral("hsbKaisu"));
    EXPECT_EQ(joined(unreachableButtons(prompt)), "");
    // Round the whole cycle the focus is back on the count bar, where Enter records the set.
    ASSERT_EQ(QApplication::focusWidget(), prompt->findChild<QWidget*>("hsbKaisu"));
    const std::string before = TempFolder::read(historyFileName("腕立て伏せ"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    settle();
    EXPECT_GT(TempFolder::read(historyFileName("腕立て伏せ")).size(), before.size());
    prompt = screens::promptScreen();
    ASSERT_NE(prompt, nullptr);
    prompt->cmdCut_Click();
    settle();

    frmSettei* home = screens::homeScreen();
    ASSERT_NE(home, nullptr);
    ASSERT_TRUE(activate(home));
    EXPECT_EQ(joined(unreachableButtons(home)), "") << "overview";
    for (const char* panel : {"cmdMaster", "cmdToday", "cmdQuick"}) {
        click(home, panel);
        EXPECT_EQ(joined(unreachableButtons(home)), "") << panel;
    }
    click(home, "cmdGraph");
    frmGraph* history = screens::historyScreen();
    ASSERT_NE(history, nullptr);
    ASSERT_TRUE(activate(history));
    EXPECT_EQ(joined(unreachableButtons(history)), "");
}

// Enter presses the button that has the focus, as Space does.
TEST_P(Keyboard, EnterPressesTheFocusedButton) {
    frmSettei* home = openSampleHome();
    ASSERT_NE(home, nullptr);
    ASSERT_TRUE(activate(home));
    ASSERT_NO_FATAL_FAILURE(pressOnFocused(home, "cmdToday", Qt::Key_Return));
    EXPECT_TRUE(home->findChild<QWidget*>("fraToday")->isVisible());

    ASSERT_NO_FATAL_FAILURE(pressOnFocused(home, "cmdGraph", Qt::Key_Enter));
    frmGraph* history = screens::historyScreen();
    ASSERT_NE(history, nullptr);
    ASSERT_TRUE(activate(history));
    ASSERT_NO_FATAL_FAILURE(pressOnFocused(history, "Option2", Qt::Key_Return));
    EXPECT_TRUE(history->findChild<QPushButton*>("Option2")->isChecked());
    ASSERT_NO_FATAL_FAILURE(pressOnFocused(history, "cmdModori", Qt::Key_Return));
    EXPECT_EQ(screens::historyScreen(), nullptr);
    EXPECT_EQ(screens::homeScreen(), home);
}

// Esc leaves the history screen whichever of its controls has the focus, and only it.
TEST_P(Keyboard, EscClosesTheHistoryScreenWhereverTheFocusIs) {
    frmSettei* home = openSampleHome();
    ASSERT_NE(home, nullptr);
    for (const char* control : {"msgList", "cboKoumoku", "Option1", "cmdModori"}) {
        click(home, "cmdGraph");
        frmGraph* history = screens::historyScreen();
        ASSERT_NE(history, nullptr);
        ASSERT_TRUE(activate(history));
        ASSERT_NO_FATAL_FAILURE(pressOnFocused(history, control, Qt::Key_Escape));
        EXPECT_EQ(screens::historyScreen(), nullptr) << control;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // On the home screen Esc does nothing.
    ASSERT_TRUE(activate(home));
    QTest::keyClick(home->findChild<QWidget*>("cmdMain"), Qt::Key_Escape);
    settle();
    EXPECT_EQ(screens::homeScreen(), home);
    EXPECT_EQ(svc->endProcessCalls, 0);
}

// The program's second run under ctest is at 200 %: make sure the scale really applies, or that
// run would only repeat the first.
TEST(Scale, IsTheOneTheEnvironmentAsksFor) {
    EXPECT_DOUBLE_EQ(qApp->devicePixelRatio(),
                     qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                         ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
                         : 1.0);
}

INSTANTIATE_TEST_SUITE_P(Fonts, Keyboard, ::testing::Values(FontCase{"", 0}), caseName);

INSTANTIATE_TEST_SUITE_P(Fonts, Layout,
                         ::testing::Values(FontCase{"", 0}, FontCase{"IPAGothic", 0},
                                           FontCase{"IPAPGothic", 0}, FontCase{"IPAGothic", 11},
                                           FontCase{"Noto Sans CJK JP", 0},
                                           FontCase{"Noto Sans CJK JP", 11}),
                         caseName);

}  // namespace
