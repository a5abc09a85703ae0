// Screen flows on the program's own window services: real modal boxes with their nested event
// loops and real timers, driven from inside a running event loop as the program is, and answered
// from inside each box's loop as a user at the screen would.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDialog>
#include <QEventLoop>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <functional>
#include <vector>

#include "app/pctm.h"
#include "app/screens.h"
#include "app/startup.h"
#include "data/data_files.h"
#include "home/frmSettei.h"
#include "session/frmMain.h"
#include "support/screen_reset.h"
#include "support/temp_folder.h"
#include "ui/grid_view.h"
#include "ui/qt_window_services.h"

namespace mitoran {
namespace {

using testing::TempFolder;

// What a user does with a box: types into it (an input box), then presses a button, after a pause
// during which the box's loop runs on.
struct Answer {
    QString typed;
    QString button = QStringLiteral("OK");
    int afterMs = 0;
};

// Answers each modal box as it comes up, from inside the box's own loop, in order. A box beyond
// the answers fails the test and is closed, so that no flow waits for ever.
class User : public QObject {
  public:
    explicit User(std::vector<Answer> answers) : answers_(std::move(answers)) {
        qApp->installEventFilter(this);
    }
    ~User() override { qApp->removeEventFilter(this); }

    QStringList titles;  // of every box that came up, in order
    std::function<void()> onAllAnswered;
    bool answeredAll() const { return answered_ == answers_.size(); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* box = event->type() == QEvent::Show ? qobject_cast<QDialog*>(watched) : nullptr;
        if (box && box->isModal()) answer(box);
        return false;
    }

  private:
    void answer(QDialog* box) {
        titles << box->windowTitle();
        if (shown_ == answers_.size()) {
            ADD_FAILURE() << "a box nobody expected: " << box->windowTitle().toStdString();
            QTimer::singleShot(0, box, &QDialog::reject);
            return;
        }
        const Answer a = answers_[shown_++];
        QTimer::singleShot(a.afterMs, box, [this, box, a] {
            if (auto* edit = box->findChild<QLineEdit*>()) edit->setText(a.typed);
            QPushButton* button = nullptr;
            for (auto* b : box->findChildren<QPushButton*>())
                if (b->text() == a.button) button = b;
            if (!button) {
                ADD_FAILURE() << box->windowTitle().toStdString() << " has no button "
                              << a.button.toStdString();
                box->reject();
            } else {
                button->click();
            }
            if (++answered_ == answers_.size() && onAllAnswered) onAllAnswered();
        });
    }

    std::vector<Answer> answers_;
    std::size_t shown_ = 0, answered_ = 0;
};

// Runs the event loop as the program's main loop: `step` as one of its handlers, then on until
// the user has given every answer, for at most `ms`. Inside a running loop a screen's
// deleteLater() waits for that loop as in the program; done from outside any loop, the first
// box's loop would carry it out under the handler still running.
void runLoop(User& user, const std::function<void()>& step, int ms = 5000) {
    QEventLoop loop;
    user.onAllAnswered = [&loop] { loop.quit(); };
    QTimer::singleShot(0, &loop, [&] {
        step();
        if (user.answeredAll()) loop.quit();
    });
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    user.onAllAnswered = nullptr;
    EXPECT_TRUE(user.answeredAll())
        << "the boxes that came: " << user.titles.join(QLatin1Char(',')).toStdString();
}

// A step that brings up no box.
void act(const std::function<void()>& step) {
    User none({});
    runLoop(none, step);
}

void click(QWidget* screen, const char* name) {
    auto* button = screen ? screen->findChild<QPushButton*>(QString::fromLatin1(name)) : nullptr;
    ASSERT_NE(button, nullptr) << name;
    act([button] { QTest::mouseClick(button, Qt::LeftButton); });
}

// True when `bytes` is the one record written at some second from `from` to `to`, its date and
// time fields followed by `fields`.
bool recordedBetween(const std::string& bytes, QDateTime from, const QDateTime& to,
                     const std::string& fields) {
    from.setTime(QTime(from.time().hour(), from.time().minute(), from.time().second()));
    for (QDateTime t = from; t <= to; t = t.addSecs(1)) {
        const QDate d = t.date();
        const LocalDateTime when{
            Date{std::chrono::year{d.year()}, std::chrono::month{static_cast<unsigned>(d.month())},
                 std::chrono::day{static_cast<unsigned>(d.day())}},
            t.time().hour(), t.time().minute(), t.time().second()};
        const std::string stamp = encodeHistoryRecord(when, 0);  // ends in ",0\r\n"
        if (bytes == stamp.substr(0, stamp.size() - 3) + fields + "\r\n") return true;
    }
    return false;
}

class RealServices : public ::testing::Test {
  protected:
    void SetUp() override {
        resetRun();
        setServices(std::make_unique<QtWindowServices>());
        TempFolder::write("項目一覧.txt", TempFolder::cp932("\"腕立て\",10,5\r\n"));
        TempFolder::write("設定.txt", TempFolder::cp932("\"ヘルプツアー\",0\r\n"));
        TempFolder::write("プレイ設定.txt", "2,0,5\r\n");
        TempFolder::write("腕立て.txt", "");
        // Start-up runs before the main loop, as in the program.
        ASSERT_EQ(Main(), 0);
        ASSERT_NE(screens::promptScreen(), nullptr);
    }
    void TearDown() override {
        testing::closeEveryScreen();
        resetRun();
    }

    // The home screen, reached by cutting the round short.
    frmSettei* home() {
        click(screens::promptScreen(), "cmdCut");
        return screens::homeScreen();
    }

    TempFolder folder;
};

TEST_F(RealServices, TheLastSetOpensTheGoalBoxWhileThePromptIsClosing) {
    QPointer<frmMain> prompt = screens::promptScreen();
    auto* bar = prompt->findChild<QScrollBar*>("hsbKaisu");
    auto* next = prompt->findChild<QPushButton*>("cmdNext");
    ASSERT_TRUE(bar && next);

    bar->setValue(0);
    {
        User cancels({{{}, QStringLiteral("キャンセル")}});
        runLoop(cancels, [next] { QTest::mouseClick(next, Qt::LeftButton); });
        EXPECT_EQ(cancels.titles, QStringList{"確認"});
    }
    EXPECT_EQ(TempFolder::read("腕立て.txt"), "") << "a zero count cancelled records nothing";
    ASSERT_EQ(screens::promptScreen(), prompt);

    // The set reaches the target: the home screen that takes over tells so in a box, opened
    // inside the handler of the prompt that has just closed itself.
    bar->setValue(10);
    User confirms({Answer{}});
    const QDateTime from = QDateTime::currentDateTime();
    runLoop(confirms, [next] { QTest::mouseClick(next, Qt::LeftButton); });
    EXPECT_EQ(confirms.titles, QStringList{"目標回数達成！"});
    EXPECT_TRUE(
        recordedBetween(TempFolder::read("腕立て.txt"), from, QDateTime::currentDateTime(), "10"));
    QTRY_VERIFY_WITH_TIMEOUT(prompt.isNull(), 2000);
    frmSettei* home = screens::homeScreen();
    ASSERT_NE(home, nullptr);
    EXPECT_TRUE(home->isVisible());
    auto* grid = home->findChild<GridView*>("msgIchiran");
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->text(1, 2), "10");
}

TEST_F(RealServices, ANewItemThroughItsInputBoxes) {
    frmSettei* screen = home();
    ASSERT_NE(screen, nullptr);
    click(screen, "cmdMaster");
    auto* newButton = screen->findChild<QPushButton*>("cmdNew");
    ASSERT_NE(newButton, nullptr);

    // A count above the limit is refused in a box of its own, and asked for again.
    User user({{QStringLiteral("背筋")},
               {QStringLiteral("1001")},
               {},
               {QStringLiteral("15")},
               {QStringLiteral("100")},
               {}});
    runLoop(user, [newButton] { QTest::mouseClick(newButton, Qt::LeftButton); });
    EXPECT_EQ(user.titles, (QStringList{"項目名入力", "指示数入力", "上限値制限", "指示数入力",
                                        "目標数入力", "新規登録終了"}));
    EXPECT_EQ(TempFolder::read("項目一覧.txt"),
              TempFolder::cp932("\"腕立て\",10,5\r\n\"背筋\",15,100\r\n"));
    EXPECT_TRUE(TempFolder::exists("背筋.txt"));
    auto* list = screen->findChild<QListWidget*>("lstKoumoku");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->count(), 2);
    EXPECT_EQ(screen->findChild<GridView*>("msgIchiran")->text(2, 0), "背筋");
}

TEST_F(RealServices, AChallengesCountBoxIsAnsweredWhileItsTimersRun) {
    frmSettei* screen = home();
    ASSERT_NE(screen, nullptr);
    click(screen, "cmdQuick");
    auto* seconds = screen->findChild<QComboBox*>("cboSec");
    auto* start = screen->findChild<QPushButton*>("cmdStart2");
    ASSERT_TRUE(seconds && start);
    act([seconds] {
        seconds->setEditText(QStringLiteral("1"));
        QTest::keyClick(seconds, Qt::Key_Return);
    });

    // Three seconds of signal, one of countdown; the count is typed a second and a half into
    // the box, while the panel's timers go on ticking.
    User user({{QStringLiteral("25"), QStringLiteral("OK"), 1500}});
    const QDateTime from = QDateTime::currentDateTime();
    runLoop(
        user, [start] { QTest::mouseClick(start, Qt::LeftButton); }, 15000);
    EXPECT_EQ(user.titles, QStringList{"回数入力"});
    EXPECT_TRUE(recordedBetween(TempFolder::read("クイック_腕立て.txt"), from,
                                QDateTime::currentDateTime(), "1,25"));
    auto* grid = screen->findChild<GridView*>("msgList");
    ASSERT_NE(grid, nullptr);
    ASSERT_EQ(grid->rows(), 2);
    EXPECT_EQ(grid->text(1, 3), "25");
    EXPECT_TRUE(start->isEnabled());
    EXPECT_TRUE(screen->findChild<QPushButton*>("cmdAgain")->isEnabled());
}

}  // namespace
}  // namespace mitoran
