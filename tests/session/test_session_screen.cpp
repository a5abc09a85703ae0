#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <filesystem>
#include <functional>

#include "app/pctm.h"
#include "app/screens.h"
#include "data/data_files.h"
#include "home/frmSettei.h"
#include "session/frmMain.h"
#include "support/screen_texts.h"
#include "support/scripted_services.h"
#include "support/temp_folder.h"
#include "ui/grid_view.h"
#include "ui/palette.h"
#include "ui/window_watch.h"

namespace mitoran {
namespace {

using testing::ScriptedServices;
using testing::TempFolder;
namespace prompt = texts::prompt;

// Notes the window colour whenever the screen waits, which is while its flash is showing.
struct FlashWatch : ScriptedServices {
    std::vector<QColor> colours;
    std::function<void()> duringWait;
    void waitSeconds(double seconds) override {
        if (frmMain* p = screens::promptScreen())
            colours.push_back(p->palette().color(QPalette::Window));
        if (auto act = std::exchange(duringWait, nullptr)) act();
        ScriptedServices::waitSeconds(seconds);
    }
};

int paletteIndex(const QColor& c) {
    for (int i = 0; i < 16; ++i)
        if (paletteColour(i) == c) return i;
    return -1;
}

class SessionScreen : public ::testing::Test {
  protected:
    void SetUp() override {
        auto s = std::make_unique<FlashWatch>();
        svc = s.get();
        setServices(std::move(s));
        svc->setNow(2024, 3, 7, 21, 5, 9);
        resetRun();
        setUpFiles({{"腕立て", 10}, {"腹筋", 20}, {"スクワット", 30}}, 0, 0);
    }
    void TearDown() override {
        if (frmMain* p = screens::promptScreen()) screens::closeScreen(p);
        if (frmSettei* h = screens::homeScreen()) screens::closeScreen(h);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void setUpFiles(const std::vector<std::pair<std::string, int>>& items, int helpTour,
                    int countMode) {
        std::vector<ItemRecord> list;
        for (const auto& [name, instructed] : items)
            list.push_back({name, static_cast<std::int16_t>(instructed), 500});
        ASSERT_TRUE(rewriteItemList(list).ok);
        ASSERT_TRUE(writeSettings(static_cast<std::int16_t>(helpTour)).ok);
        ASSERT_TRUE(writePlaySettings({0, static_cast<std::int16_t>(countMode), 5}).ok);
        PCTM.HelpTourOn = static_cast<std::int16_t>(helpTour);
    }

    frmMain* open() { return screens::openPromptScreen(Qt::WindowNoState); }
    template <class T>
    T* child(const char* name) {
        frmMain* p = screens::promptScreen();
        return p ? p->findChild<T*>(QString::fromLatin1(name)) : nullptr;
    }
    QString text(const char* label) { return child<QLabel>(label)->text(); }
    QScrollBar* bar() { return child<QScrollBar>("hsbKaisu"); }
    // A key of a user who has read the prompt: past the guard that follows each activation.
    void key(Qt::Key k) {
        svc->monotonic += 1;
        QTest::keyClick(bar(), k);
    }
    void enter() { key(Qt::Key_Return); }
    void arrow() { QTest::mouseClick(child<QPushButton>("cmdNowCut"), Qt::LeftButton); }
    QColor planColour(int i) {
        return child<QLabel>(qPrintable(QStringLiteral("lblSnd_%1").arg(i)))
            ->palette()
            .color(QPalette::WindowText);
    }
    static std::string record(const char* date, const char* time, int count) {
        return TempFolder::cp932(std::string("\"") + date + "\",\"" + time + "\"," +
                                 std::to_string(count) + "\r\n");
    }
    int boxesTitled(const QString& title) {
        int n = 0;
        for (const auto& b : svc->boxes) n += b.title == title;
        return n;
    }

    TempFolder folder;
    FlashWatch* svc = nullptr;
};

TEST_F(SessionScreen, TheHelpTourWelcomesAndTheFirstPositionIsShown) {
    setUpFiles({{"腕立て", 10}, {"腹筋", 20}, {"スクワット", 30}}, 1, 0);
    frmMain* form = open();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), texts::kWindowTitle);
    ASSERT_EQ(svc->boxes.size(), 1u);
    EXPECT_EQ(svc->boxes[0].title, texts::kHelpTourTitle);
    EXPECT_TRUE(svc->boxes[0].text.startsWith(QStringLiteral("ミトラン に興味を")));
    EXPECT_TRUE(svc->boxes[0].text.endsWith(QStringLiteral("保存されます。 ")));

    EXPECT_EQ(child<QPushButton>("cmdNext")->text(), prompt::kNext);
    EXPECT_EQ(text("lblKoumoku"), QStringLiteral("腕立て"));
    EXPECT_EQ(text("lblKaisu"), QStringLiteral("10"));
    EXPECT_EQ(bar()->value(), 10);
    EXPECT_EQ(text("lblSnd_3"), QStringLiteral("3.スクワット"));
    EXPECT_FALSE(child<QLabel>("lblSnd_3")->isHidden());
    EXPECT_TRUE(child<QLabel>("lblSnd_4")->isHidden());
    EXPECT_EQ(planColour(1), paletteColour(12));
    EXPECT_EQ(planColour(2), paletteColour(15));
    EXPECT_TRUE(TempFolder::exists("腕立て.txt"));  // the analysis creates the missing file
}

TEST_F(SessionScreen, EachConfirmedSetIsWrittenAtOnceAndTheNextPositionExplained) {
    setUpFiles({{"腕立て", 10}, {"腹筋", 20}, {"スクワット", 30}}, 1, 0);
    ASSERT_NE(open(), nullptr);
    // Per confirmation: when, the record written, then the next position and its tour text;
    // no next position: the round is over.
    struct Step {
        int day, hour, minute, second;
        const char *file, *date, *time;
        int count;
        const char *next, *instructed;  // the item shown next and its instructed count
        QString caption;
        const char *tourStart, *tourEnd;
    };
    const Step steps[] = {
        {7, 21, 5, 9, "腕立て.txt", "2024年03月07日", "21時05分09秒", 10, "腹筋", "20",
         prompt::kNext, "同様に次のトレーニング", "クリックします\r\n"},
        {7, 21, 6, 0, "腹筋.txt", "2024年03月07日", "21時06分00秒", 20, "スクワット", "30",
         prompt::kLast, "指示数の下に", ""},
        // The last position's text comes once more, after the home screen opened.
        {8, 0, 0, 1, "スクワット.txt", "2024年03月08日", "00時00分01秒", 30, nullptr, nullptr,
         QString(), "指示数の下に", ""},
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        const Step& s = steps[i];
        SCOPED_TRACE(s.file);
        svc->setNow(2024, 3, s.day, s.hour, s.minute, s.second);
        enter();
        EXPECT_EQ(TempFolder::read(s.file), record(s.date, s.time, s.count));
        EXPECT_TRUE(svc->boxes.back().text.startsWith(QString::fromUtf8(s.tourStart)));
        EXPECT_TRUE(svc->boxes.back().text.endsWith(QString::fromUtf8(s.tourEnd)));
        if (!s.next) break;
        ASSERT_NE(screens::promptScreen(), nullptr);
        EXPECT_EQ(child<QPushButton>("cmdNext")->text(), s.caption);
        EXPECT_EQ(text("lblKoumoku"), QString::fromUtf8(s.next));
        EXPECT_EQ(text("lblKaisu"), QString::fromUtf8(s.instructed));
        EXPECT_EQ(planColour(static_cast<int>(i) + 1), paletteColour(15));
        EXPECT_EQ(planColour(static_cast<int>(i) + 2), paletteColour(12));
    }
    EXPECT_EQ(TempFolder::read("腕立て.txt"), record("2024年03月07日", "21時05分09秒", 10));
    EXPECT_EQ(screens::promptScreen(), nullptr);
    EXPECT_NE(screens::homeScreen(), nullptr);
    EXPECT_EQ(svc->waits, (std::vector<double>{0.1f, 0.1f}));
}

TEST_F(SessionScreen, AZeroCountAsksFirstAndIsWrittenOnlyOnceConfirmed) {
    setUpFiles({{"腕立て", 10}, {"腹筋", 20}, {"スクワット", 30}}, 1, 0);
    frmMain* form = open();
    ASSERT_NE(form, nullptr);
    enter();
    for (int i = 0; i < 25; ++i) key(Qt::Key_Left);
    EXPECT_EQ(text("lblKaisu"), QStringLiteral("0"));
    svc->boxAnswers = {MsgResult::Cancel, MsgResult::Ok};
    enter();
    EXPECT_EQ(svc->boxes.back().text,
              QStringLiteral("回数ゼロで次へ進もうとしていますがよろしいですか？"));
    EXPECT_EQ(svc->boxes.back().title, QStringLiteral("確認"));
    EXPECT_EQ(svc->boxes.back().buttons, MsgButtons::OkCancel);
    EXPECT_EQ(TempFolder::read("腹筋.txt"), "");
    EXPECT_EQ(text("lblKoumoku"), QStringLiteral("腹筋"));
    EXPECT_EQ(form->focusWidget(), bar());
    EXPECT_EQ(svc->waits.size(), 1u) << "a refused zero does not flash";

    svc->setNow(2024, 3, 7, 21, 6, 0);
    enter();
    EXPECT_EQ(TempFolder::read("腹筋.txt"), record("2024年03月07日", "21時06分00秒", 0));
    EXPECT_EQ(text("lblKoumoku"), QStringLiteral("スクワット"));
}

TEST_F(SessionScreen, WithoutTheHelpTourNoTextIsShown) {
    ASSERT_NE(open(), nullptr);
    enter();
    enter();
    enter();
    EXPECT_TRUE(svc->boxes.empty());
    EXPECT_EQ(PCTM.WelcomeShown, -1);  // prepared all the same
    EXPECT_EQ(TempFolder::read("腹筋.txt"), record("2024年03月07日", "21時05分09秒", 20));
}

TEST_F(SessionScreen, WelcomeComesOncePerRunAndNeverAfterARestart) {
    setUpFiles({{"腕立て", 10}}, 1, 0);
    ASSERT_NE(open(), nullptr);
    EXPECT_EQ(boxesTitled(texts::kHelpTourTitle), 1);
    EXPECT_EQ(child<QPushButton>("cmdNext")->text(), prompt::kSingle);
    QTest::mouseClick(child<QPushButton>("cmdCut"), Qt::LeftButton);
    EXPECT_EQ(TempFolder::read("腕立て.txt"), "");  // the scissors record nothing
    const int afterFirst = boxesTitled(texts::kHelpTourTitle);
    ASSERT_NE(open(), nullptr);
    EXPECT_EQ(boxesTitled(texts::kHelpTourTitle), afterFirst);

    screens::closeScreen(screens::promptScreen());
    resetRun();
    PCTM.HelpTourOn = 1;
    PCTM.RoundRestarted = -1;
    svc->boxes.clear();
    ASSERT_NE(open(), nullptr);
    EXPECT_EQ(boxesTitled(texts::kHelpTourTitle), 0);
    EXPECT_EQ(PCTM.WelcomeShown, 0);
}

TEST_F(SessionScreen, FlashColoursRunOnAcrossRoundsWithOneCounterPerButton) {
    setUpFiles({{"a", 1}, {"b", 1}, {"c", 1}, {"d", 1}, {"e", 1}, {"f", 1}}, 0, 0);
    const QColor face = QGuiApplication::palette().color(QPalette::Button);
    auto roundOf = [&](const std::string& keys) {
        ASSERT_NE(open(), nullptr);
        for (char k : keys) {
            k == 'n' ? enter() : arrow();
            if (frmMain* p = screens::promptScreen()) {
                EXPECT_EQ(p->palette().color(QPalette::Window), face);
            }
        }
        EXPECT_EQ(screens::promptScreen(), nullptr);
    };
    roundOf("nnnnnn");
    roundOf("annnan");
    roundOf("nnnnnn");
    roundOf("nnnnnn");
    std::vector<int> seen;
    for (const QColor& c : svc->colours) seen.push_back(paletteIndex(c));
    EXPECT_EQ(seen, (std::vector<int>{0,  1,  2,  3,  4,  // first round
                                      0,  5,  6,  9,  1,  // arrow's own counter
                                      10, 11, 12, 13, 14, 15, 0, 1, 2, 3}));
}

TEST_F(SessionScreen, ASecondConfirmationDuringTheFlashIsIgnored) {
    ASSERT_NE(open(), nullptr);
    svc->duringWait = [&] {
        key(Qt::Key_Enter);
        arrow();
    };
    enter();
    EXPECT_EQ(PCTM.RoundPosition, 2);
    EXPECT_EQ(TempFolder::read("腕立て.txt"), record("2024年03月07日", "21時05分09秒", 10));
    EXPECT_EQ(TempFolder::read("腹筋.txt"), "");
    EXPECT_EQ(svc->waits.size(), 1u);

    // Cut while the flash shows: the round ends there, the screen goes away under the handler.
    frmMain* form = screens::promptScreen();
    svc->duringWait = [&] { QTest::mouseClick(child<QPushButton>("cmdCut"), Qt::LeftButton); };
    form->cmdNext_Click();
    EXPECT_EQ(PCTM.RoundPosition, 2);
    EXPECT_EQ(TempFolder::read("腹筋.txt"), record("2024年03月07日", "21時05分09秒", 20));
    EXPECT_EQ(screens::promptScreen(), nullptr);
    EXPECT_NE(screens::homeScreen(), nullptr);

    // The colour shown under the cut was used: the next round's flash takes the one after it.
    ASSERT_NE(open(), nullptr);
    enter();
    ASSERT_EQ(svc->colours.size(), 3u);
    EXPECT_EQ(paletteIndex(svc->colours.back()), 2);
}

TEST_F(SessionScreen, KeysRightAfterEachActivationDoNothingButAClickWorks) {
    frmMain* form = open();
    ASSERT_NE(form, nullptr);
    QCoreApplication::processEvents();  // the platform's own activation of the shown window
    const auto activateAndWait = [&](double seconds) {
        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(form, &activate);
        svc->monotonic += seconds;
    };
    const struct {
        double after;
        Qt::Key key;
        int position, value;  // where the round stands after the key
    } cases[] = {
        {0.0, Qt::Key_Return, 1, 10}, {0.0, Qt::Key_Left, 1, 10},  {0.79, Qt::Key_Return, 1, 10},
        {0.81, Qt::Key_Left, 1, 9},   {0.0, Qt::Key_Return, 1, 9}, {0.81, Qt::Key_Return, 2, 20},
    };
    for (const auto& c : cases) {
        activateAndWait(c.after);
        QTest::keyClick(bar(), c.key);
        EXPECT_EQ(PCTM.RoundPosition, c.position) << c.after << " " << c.key;
        EXPECT_EQ(bar()->value(), c.value) << c.after << " " << c.key;
    }
    EXPECT_EQ(TempFolder::read("腕立て.txt"), record("2024年03月07日", "21時05分09秒", 9));

    activateAndWait(0);
    QTest::mouseClick(child<QPushButton>("cmdNext"), Qt::LeftButton);
    EXPECT_EQ(PCTM.RoundPosition, 3) << "a click is no stray key";
}

TEST_F(SessionScreen, SingleItemModeRecordsOneSetAndTheArrowLeavesTheModeAlone) {
    setUpFiles({{"腕立て", 10}, {"腹筋", 20}, {"スクワット", 30}}, 1, 0);
    PCTM.WelcomeShown = -1;
    PCTM.SingleItemMode = -1;
    PCTM.SingleItemIndex = 2;
    ASSERT_NE(open(), nullptr);
    EXPECT_EQ(child<QPushButton>("cmdNext")->text(), prompt::kSingle);
    EXPECT_EQ(text("lblKoumoku"), QStringLiteral("腹筋"));
    EXPECT_EQ(planColour(2), paletteColour(12));
    EXPECT_FALSE(child<QLabel>("lblSnd_3")->isHidden());
    enter();
    EXPECT_EQ(TempFolder::read("腹筋.txt"), record("2024年03月07日", "21時05分09秒", 20));
    EXPECT_FALSE(TempFolder::exists("腕立て.txt"));
    EXPECT_FALSE(TempFolder::exists("スクワット.txt"));
    EXPECT_EQ(PCTM.SingleItemMode, 0);
    EXPECT_EQ(screens::promptScreen(), nullptr);
    EXPECT_NE(screens::homeScreen(), nullptr);
    EXPECT_EQ(svc->colours.size(), 0u);
    for (const auto& b : svc->boxes) EXPECT_FALSE(b.text.startsWith(QStringLiteral("同様に")));

    screens::closeScreen(screens::homeScreen());
    PCTM.SingleItemMode = -1;
    PCTM.SingleItemIndex = 1;
    ASSERT_NE(open(), nullptr);
    arrow();
    EXPECT_EQ(text("lblKoumoku"), QStringLiteral("腹筋"));
    EXPECT_EQ(PCTM.SingleItemMode, -1);
    EXPECT_EQ(TempFolder::read("腕立て.txt"), "");

    // A chosen item that no longer exists gives an ordinary round.
    screens::closeScreen(screens::promptScreen());
    PCTM.SingleItemIndex = 7;
    ASSERT_NE(open(), nullptr);
    EXPECT_EQ(text("lblKoumoku"), QStringLiteral("腕立て"));
    EXPECT_EQ(child<QPushButton>("cmdNext")->text(), prompt::kNext);
    EXPECT_EQ(PCTM.SingleItemMode, 0);
}

TEST_F(SessionScreen, RandomCountsStayWithinTheInstructedCountAndTheBar) {
    setUpFiles({{"一", 1}, {"二十", 20}, {"零", 0}, {"千五百", 1500}}, 0, 1);
    const float justBelowOne = 0.99999994f;
    const std::vector<std::pair<float, std::vector<int>>> cases = {
        {0.0f, {1, 1, 1, 1}},
        {0.05f, {1, 2, 1, 76}},
        {0.5f, {1, 11, 1, 751}},
        {justBelowOne, {1, 20, 1, 1000}},
    };
    for (const auto& [r, expected] : cases) {
        svc->randomDraws = {r, r, r, r};
        ASSERT_NE(open(), nullptr);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(text("lblKaisu"), QString::number(expected[i])) << r << " item " << i + 1;
            EXPECT_EQ(bar()->value(), expected[i]);
            if (i < 3) arrow();
        }
        screens::closeScreen(screens::promptScreen());
    }
    EXPECT_TRUE(svc->randomDraws.empty());

    // Instructed mode proposes the count itself, but never more than the bar can show.
    ASSERT_TRUE(writePlaySettings({0, 0, 5}).ok);
    ASSERT_NE(open(), nullptr);
    for (int i = 0; i < 3; ++i) arrow();
    EXPECT_EQ(text("lblKaisu"), QStringLiteral("1000"));
    svc->setNow(2024, 3, 7, 21, 5, 9);
    enter();
    EXPECT_EQ(TempFolder::read("千五百.txt"), record("2024年03月07日", "21時05分09秒", 1000));
}

TEST_F(SessionScreen, TwentyItemsFillThePlanAndNamesAreSizedByLength) {
    std::vector<std::pair<std::string, int>> items = {
        {"あいうえお", 5}, {"あいうえおか", 6}, {"あいうえおかき", 7}, {"あいうえおかきく", 8}};
    for (int i = 5; i <= 20; ++i) items.push_back({"項目" + std::to_string(i), i});
    setUpFiles(items, 0, 0);
    ASSERT_NE(open(), nullptr);
    for (int i = 1; i <= 20; ++i)
        EXPECT_FALSE(child<QLabel>(qPrintable(QStringLiteral("lblSnd_%1").arg(i)))->isHidden());
    EXPECT_EQ(text("lblSnd_20"), QStringLiteral("20.項目20"));
    for (int points : {85, 65, 65, 55}) {
        EXPECT_EQ(child<QLabel>("lblKoumoku")->font().pointSize(), points);
        arrow();
    }
}

TEST_F(SessionScreen, NoItemsHandsOverToTheHomeScreen) {
    setUpFiles({}, 0, 0);
    EXPECT_EQ(open(), nullptr);
    ASSERT_FALSE(svc->boxes.empty());
    EXPECT_EQ(svc->boxes[0].text, QStringLiteral("先にトレーニング項目を設定してください"));
    EXPECT_EQ(svc->boxes[0].title, QStringLiteral("項目無し"));
    EXPECT_EQ(svc->boxes[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(screens::promptScreen(), nullptr);
    EXPECT_NE(screens::homeScreen(), nullptr);
}

TEST_F(SessionScreen, ASetThatCannotBeWrittenIsNotRecorded) {
    std::filesystem::create_directory("腕立て.txt");  // no append can succeed on it
    ASSERT_NE(open(), nullptr);
    svc->boxes.clear();
    enter();
    ASSERT_FALSE(svc->boxes.empty());
    EXPECT_TRUE(svc->boxes.back().text.contains(QStringLiteral("保存されませんでした")));
    EXPECT_EQ(svc->boxes.back().icon, MsgIcon::Exclamation);
    EXPECT_EQ(PCTM.RoundPosition, 1);
    EXPECT_EQ(text("lblKoumoku"), QStringLiteral("腕立て"));
    EXPECT_EQ(text("lblKaisu"), QStringLiteral("10"));
    EXPECT_TRUE(svc->waits.empty());

    std::filesystem::remove("腕立て.txt");
    enter();
    EXPECT_EQ(TempFolder::read("腕立て.txt"), record("2024年03月07日", "21時05分09秒", 10));
    EXPECT_EQ(PCTM.RoundPosition, 2);
}

TEST_F(SessionScreen, LeavingASingleItemRoundAnyWayMakesTheNextRoundWhole) {
    const std::vector<std::pair<const char*, std::function<void()>>> exits = {
        {"scissors", [&] { QTest::mouseClick(child<QPushButton>("cmdCut"), Qt::LeftButton); }},
        {"frame", [&] { screens::promptScreen()->close(); }},
        {"arrow past the end", [&] { arrow(); }},
    };
    for (const auto& [how, leave] : exits) {
        PCTM.SingleItemMode = -1;
        PCTM.SingleItemIndex = 3;
        ASSERT_NE(open(), nullptr) << how;
        leave();
        EXPECT_EQ(screens::promptScreen(), nullptr) << how;
        EXPECT_EQ(PCTM.SingleItemMode, 0) << how;
        ASSERT_NE(open(), nullptr) << how;
        EXPECT_EQ(text("lblKoumoku"), QStringLiteral("腕立て")) << how;
        EXPECT_EQ(child<QPushButton>("cmdNext")->text(), prompt::kNext) << how;
        screens::closeScreen(screens::promptScreen());
        screens::closeScreen(screens::homeScreen());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_EQ(TempFolder::read("スクワット.txt"), "");
}

TEST_F(SessionScreen, TheSecondClickOfADoubleClickOnTheScissorsStartsNoRound) {
    HandOverGuard guard;
    qApp->installEventFilter(&guard);
    ASSERT_NE(open(), nullptr);
    QTest::mouseClick(child<QPushButton>("cmdCut"), Qt::LeftButton);
    frmSettei* home = screens::homeScreen();
    ASSERT_NE(home, nullptr);
    // The second click lands on the overview opened under the pointer.
    auto* grid = home->findChild<GridView*>(QStringLiteral("msgIchiran"));
    ASSERT_NE(grid, nullptr);
    const QRect row = grid->visualRect(grid->model()->index(0, 0));
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, row.center());
    qApp->removeEventFilter(&guard);
    EXPECT_EQ(screens::promptScreen(), nullptr);
    EXPECT_EQ(screens::homeScreen(), home);
    EXPECT_EQ(PCTM.SingleItemMode, 0);
}

TEST_F(SessionScreen, ClosingTheFrameEndsTheRoundLikeTheScissors) {
    frmMain* form = open();
    ASSERT_NE(form, nullptr);
    form->close();
    EXPECT_EQ(screens::promptScreen(), nullptr);
    EXPECT_NE(screens::homeScreen(), nullptr);
    EXPECT_EQ(TempFolder::read("腕立て.txt"), "");
}

}  // namespace
}  // namespace mitoran
