// Every writer the screens use, driven through the real forms while the working folder is
// read-only or the disk is full: the screen stays up, the user is told in Japanese, no file
// changes, and what the screen shows is what the files hold.
//
// These tests run as root in CI, where permission bits stop nothing, so both faults are made in
// ways that bind root too:
// - read-only folder: the immutable attribute (chattr +i) on the folder and on everything in it.
//   No entry can then be created, renamed or removed and no file opened for writing (EPERM), as
//   on a read-only mount. A real read-only mount would need mount rights and would outlive a
//   crashed test; the attribute needs CAP_LINUX_IMMUTABLE, and where it cannot be set these
//   cases are skipped with the reason rather than passed.
// - full disk: the file size limit RLIMIT_FSIZE set to 0 with SIGXFSZ ignored, so every write of
//   a byte fails (EFBIG) while creating, emptying, renaming and deleting still work, as on a full
//   disk.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/pctm.h"
#include "app/screens.h"
#include "data/data_files.h"
#include "home/edit_panel.h"
#include "home/frmSettei.h"
#include "home/item_list_editor.h"
#include "home/restore_dialog.h"
#include "session/frmMain.h"
#include "support/named_child.h"
#include "support/screen_texts.h"
#include "support/scripted_services.h"
#include "support/temp_folder.h"
#include "ui/grid_view.h"
#include "ui/qt_text.h"

namespace mitoran {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedServices;
using testing::TempFolder;
namespace edit = texts::edit;

enum class Fault { ReadOnlyFolder, FullDisk };

void PrintTo(Fault fault, std::ostream* out) {
    *out << (fault == Fault::FullDisk ? "full disk" : "read-only folder");
}

// Sets or clears the immutable attribute; the reason when the kernel refuses.
std::string setImmutable(const std::string& path, bool on) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return path + ": " + std::strerror(errno);
    int flags = 0;
    std::string why;
    if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) != 0) {
        why = path + ": FS_IOC_GETFLAGS: " + std::strerror(errno);
    } else {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        if (::ioctl(fd, FS_IOC_SETFLAGS, &flags) != 0)
            why = path + ": FS_IOC_SETFLAGS: " + std::strerror(errno);
    }
    ::close(fd);
    return why;
}

// Brings one fault about and takes it away again (at the latest on destruction, before the
// temporary folder is removed).
class InjectedFault {
  public:
    InjectedFault() = default;
    InjectedFault(const InjectedFault&) = delete;
    InjectedFault& operator=(const InjectedFault&) = delete;
    ~InjectedFault() { stop(); }

    // Read-only: `folder` and everything below it. Returns the reason when it cannot be made.
    std::string start(Fault fault, const std::string& folder = ".") {
        stop();
        if (fault == Fault::FullDisk) {
            ::getrlimit(RLIMIT_FSIZE, &savedLimit_);
            savedHandler_ = ::signal(SIGXFSZ, SIG_IGN);
            rlimit full = savedLimit_;
            full.rlim_cur = 0;
            if (::setrlimit(RLIMIT_FSIZE, &full) != 0) {
                ::signal(SIGXFSZ, savedHandler_);
                return std::string("setrlimit: ") + std::strerror(errno);
            }
            limited_ = true;
            return {};
        }
        std::vector<std::string> paths{folder};
        for (const auto& entry : fs::recursive_directory_iterator(folder))
            paths.push_back(entry.path().string());
        for (const std::string& path : paths) {
            if (std::string why = setImmutable(path, true); !why.empty()) {
                stop();
                return why;
            }
            immutable_.push_back(path);
        }
        return {};
    }

    void stop() {
        if (limited_) {
            ::setrlimit(RLIMIT_FSIZE, &savedLimit_);
            ::signal(SIGXFSZ, savedHandler_);
            limited_ = false;
        }
        for (const std::string& path : immutable_) setImmutable(path, false);
        immutable_.clear();
    }

  private:
    std::vector<std::string> immutable_;
    bool limited_ = false;
    rlimit savedLimit_{};
    sighandler_t savedHandler_ = SIG_DFL;
};

using Files = std::map<std::string, std::string>;

// Every file below the working folder with its bytes.
Files filesOnDisk() { return TempFolder::allFiles(); }

struct HistoryFigures {
    std::int64_t total = 0;
    int sets = 0;
    std::int64_t today = 0;
    int todaySets = 0;
};

HistoryFigures figuresOnDisk(const std::string& name, Date today) {
    HistoryFigures f;
    const Loaded<HistoryRecord> history = readHistory(name);
    EXPECT_TRUE(history.ok() || history.status == ReadStatus::Missing) << name;
    for (const HistoryRecord& r : history.records) {
        f.total += r.count;
        ++f.sets;
        if (r.day == today) {
            f.today += r.count;
            ++f.todaySets;
        }
    }
    return f;
}

std::vector<ItemRecord> itemsOnDisk() {
    const Loaded<ItemRecord> items = readItemList();
    EXPECT_TRUE(items.ok());
    return items.records;
}

class WriteFailureBase : public ::testing::Test {
  protected:
    explicit WriteFailureBase(Fault fault) : fault_(fault) {}

    void SetUp() override {
        resetRun();
        svc = &testing::installScriptedServices();
        svc->setNow(2024, 3, 7, 20, 0, 0);
        TempFolder::write("項目一覧.txt",
                          TempFolder::cp932("\"腕立て\",10,100\r\n\"腹筋\",20,200\r\n"
                                            "\"スクワット\",30,300\r\n"));
        TempFolder::write("腕立て.txt",
                          TempFolder::cp932("\"2024年03月06日\",\"07時05分09秒\",12\r\n"
                                            "\"2024年03月07日\",\"19時00分00秒\",8\r\n"));
        TempFolder::write("腹筋.txt",
                          TempFolder::cp932("\"2024年03月07日\",\"08時00分00秒\",20\r\n"));
        TempFolder::write("スクワット.txt", "");
        TempFolder::write("クイック_腕立て.txt",
                          TempFolder::cp932("\"2024年03月01日\",\"07時10分00秒\",5,25\r\n"
                                            "\"2024年03月02日\",\"07時10分00秒\",5,31\r\n"));
        TempFolder::write("クイック_腹筋.txt", "");
        TempFolder::write("クイック_スクワット.txt", "");
        TempFolder::write("設定.txt", TempFolder::cp932("\"ヘルプツアー\",0\r\n"));
        TempFolder::write("プレイ設定.txt", "0,0,15\r\n");
        ASSERT_TRUE(LoadItemList());
        ASSERT_TRUE(LoadPlaySettings());
        ASSERT_TRUE(LoadSettings());

        // A machine that cannot make the fault cannot test against it: say so instead of passing.
        if (fault_ == Fault::ReadOnlyFolder) {
            TempFolder::write("probe", "");
            const std::string why = setImmutable("probe", true);
            setImmutable("probe", false);
            fs::remove("probe");
            if (!why.empty()) GTEST_SKIP() << "the immutable attribute cannot be set here: " << why;
        }
    }

    void TearDown() override {
        injected.stop();
        if (frmMain* p = screens::promptScreen()) screens::closeScreen(p);
        if (frmSettei* h = screens::homeScreen()) screens::closeScreen(h);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Starts the fault on the whole working folder and notes what the files hold now.
    void breakWrites(const std::string& folder = ".") {
        before = filesOnDisk();
        const std::string why = injected.start(fault_, folder);
        ASSERT_TRUE(why.empty()) << why;
        svc->boxes.clear();
    }
    void mendWrites() { injected.stop(); }

    // The reason the data layer gives for this fault.
    std::string expectedReason() const {
        return describeErrno(fault_ == Fault::FullDisk ? EFBIG : EPERM);
    }

    // One warning told the user why, in Japanese; no message claims success.
    void expectToldOnce(const QStringList& successTexts = {}) {
        int telling = 0;
        for (const testing::RecordedBox& box : svc->messageBoxes()) {
            EXPECT_FALSE(successTexts.contains(box.text)) << box.text.toStdString();
            if (!box.text.contains(qs(expectedReason()))) continue;
            ++telling;
            EXPECT_EQ(box.icon, MsgIcon::Exclamation);
            EXPECT_EQ(box.buttons, MsgButtons::Ok);
        }
        EXPECT_EQ(telling, 1) << "boxes: " << svc->messageTexts().join(" | ").toStdString();
    }

    void expectFilesUnchanged() {
        EXPECT_EQ(filesOnDisk(), before) << "a failed write changed files";
    }

    frmSettei* openHome() {
        frmSettei* home = screens::openHomeScreen();
        EXPECT_NE(home, nullptr);
        return home;
    }
    EditPanel* openEditPanel(frmSettei* home) {
        home->cmdMaster_Click();
        auto* panel = home->findChild<EditPanel*>("fraSettei");
        EXPECT_NE(panel, nullptr);
        return panel;
    }
    template <class T>
    static T* child(QWidget* parent, const char* name) {
        return testing::expectChild<T>(parent, name);
    }
    static QStringList entries(QListWidget* list) {
        QStringList out;
        for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
        return out;
    }
    static QStringList entries(QComboBox* combo) {
        QStringList out;
        for (int i = 0; i < combo->count(); ++i) out << combo->itemText(i);
        return out;
    }

    // The home screen is up and its overview, the shared item arrays and the edit panel's lists
    // show what the files hold.
    void expectHomeShowsDisk(frmSettei* home) {
        ASSERT_EQ(screens::homeScreen(), home);
        ASSERT_TRUE(home->isVisible());
        const std::vector<ItemRecord> items = itemsOnDisk();
        const Date today = svc->now().date;

        ASSERT_EQ(PCTM.ItemCount(), static_cast<int>(items.size()));
        QStringList names;
        for (std::size_t i = 0; i < items.size(); ++i) {
            EXPECT_EQ(PCTM.ItemNames(i + 1), items[i].name);
            EXPECT_EQ(PCTM.ItemInstructed(i + 1), items[i].instructed);
            EXPECT_EQ(PCTM.ItemTarget(i + 1), items[i].target);
            names << qs(items[i].name);
        }

        GridView* grid = child<GridView>(home, "msgIchiran");
        ASSERT_EQ(grid->rows(), static_cast<int>(items.size()) + 1);
        for (int r = 1; r < grid->rows(); ++r) {
            const ItemRecord& item = items[r - 1];
            const HistoryFigures f = figuresOnDisk(item.name, today);
            EXPECT_EQ(grid->text(r, 0), qs(item.name));
            EXPECT_EQ(grid->text(r, 1), QString::number(item.target));
            EXPECT_EQ(grid->text(r, 2), QString::number(f.total)) << item.name;
            EXPECT_EQ(grid->text(r, 4), QString::number(f.today)) << item.name;
            EXPECT_EQ(grid->text(r, 5), QString::number(f.sets)) << item.name;
            EXPECT_EQ(grid->text(r, 6), QString::number(f.todaySets)) << item.name;
        }

        auto* panel = home->findChild<EditPanel*>("fraSettei");
        if (!panel || !panel->isVisible()) return;
        auto* list = child<QListWidget>(panel, "lstKoumoku");
        if (panel->orderUnsaved()) {
            // A dragged order that could not be saved stays on offer, marked as unsaved.
            QStringList sorted = entries(list), expected = names;
            sorted.sort();
            expected.sort();
            EXPECT_EQ(sorted, expected);
        } else {
            EXPECT_EQ(entries(list), names);
        }
        EXPECT_EQ(entries(child<QComboBox>(panel, "cboKoumoku")), names);

        const int k = PCTM.CurrentItem;
        QStringList lines;
        if (k >= 1 && k <= PCTM.ItemCount()) {
            int n = 0;
            for (const HistoryRecord& r : readHistory(PCTM.ItemNames(k)).records)
                lines << QString::number(++n) + " _ " + qs(r.date) + " _ " + qs(r.time) + " _ " +
                             qs(r.countText);
        }
        EXPECT_EQ(entries(child<QListWidget>(panel, "lstRireki")), lines);
    }

    // The failed step was told once, changed no file, and the home screen shows the files.
    void expectRefused(frmSettei* home, const QStringList& successTexts = {}) {
        expectToldOnce(successTexts);
        expectFilesUnchanged();
        expectHomeShowsDisk(home);
    }

    // The restore dialog of the edit panel, on `item` (its text in the dialog's item list), with
    // the counts an item added back needs already typed.
    RestoreDialog* openRestore(EditPanel* panel, const char* item) {
        child<QPushButton>(panel, "cmdRestore")->click();
        auto* dialog = panel->findChild<RestoreDialog*>();
        if (!dialog) return nullptr;
        auto* items = child<QComboBox>(dialog, "cboItem");
        items->setCurrentIndex(items->findText(QString::fromUtf8(item)));
        dialog->cboItem_Click(items->currentIndex());
        child<QLineEdit>(dialog, "txtKaisu")->setText("10");
        child<QLineEdit>(dialog, "txtMokuhyo")->setText("100");
        return dialog;
    }
    static void writeCopies(std::initializer_list<const char*> names) {
        fs::create_directory("バックアップ");
        for (const char* name : names)
            TempFolder::write(std::string("バックアップ/") + name,
                              TempFolder::cp932("\"2024年03月01日\",\"07時00分00秒\",3\r\n"));
    }

    Fault fault_;
    TempFolder folder;
    ScriptedServices* svc = nullptr;
    InjectedFault injected;  // after the folder: lifted before the folder is removed
    Files before;
};

class WriteFailures : public WriteFailureBase, public ::testing::WithParamInterface<Fault> {
  protected:
    WriteFailures() : WriteFailureBase(GetParam()) {}
};

// ---- the prompt screen ----

TEST_P(WriteFailures, RecordingASetKeepsTheSameItemAndCountUp) {
    frmMain* prompt = screens::openPromptScreen(Qt::WindowNoState);
    ASSERT_NE(prompt, nullptr);
    const char* const figures[] = {"lblSet",       "lblSetTotalMax", "lblTodaySet", "lblSetSa",
                                   "lblSetKaiAvg", "lblTotal",       "lblDayMax",   "lblTodayTotal",
                                   "lblKaiSa",     "lblDayAvg",      "lblSetMax",   "lblSetAvg"};
    QStringList shown;
    for (const char* name : figures) shown << child<QLabel>(prompt, name)->text();
    auto* bar = child<QScrollBar>(prompt, "hsbKaisu");
    bar->setValue(13);

    breakWrites();
    QTest::keyClick(bar, Qt::Key_Return);
    expectToldOnce();
    expectFilesUnchanged();
    ASSERT_EQ(screens::promptScreen(), prompt);
    EXPECT_TRUE(prompt->isVisible());
    EXPECT_EQ(PCTM.RoundPosition, 1);
    EXPECT_EQ(child<QLabel>(prompt, "lblKoumoku")->text(), "腕立て");
    EXPECT_EQ(child<QLabel>(prompt, "lblKaisu")->text(), "13");
    EXPECT_EQ(bar->value(), 13);
    QStringList after;
    for (const char* name : figures) after << child<QLabel>(prompt, name)->text();
    EXPECT_EQ(after, shown) << "the figures must still be those of the file";

    // Once writes work again the same confirmation records exactly that set, once. The key comes
    // after the guard that follows the screen's activation once the box is gone.
    mendWrites();
    svc->advance(1);
    QTest::keyClick(bar, Qt::Key_Return);
    EXPECT_EQ(TempFolder::read("腕立て.txt"),
              before["腕立て.txt"] + encodeHistoryRecord(svc->now(), 13));
    EXPECT_EQ(PCTM.RoundPosition, 2);
}

// ---- the edit panel ----

TEST_P(WriteFailures, AddingAnItemAddsNothing) {
    frmSettei* home = openHome();
    EditPanel* panel = openEditPanel(home);
    breakWrites();
    svc->inputAnswers = {"懸垂", "5", "50"};
    child<QPushButton>(panel, "cmdNew")->click();
    expectRefused(home, {edit::added("懸垂")});
    EXPECT_EQ(PCTM.ItemCount(), 3);

    mendWrites();
    svc->inputAnswers = {"懸垂", "5", "50"};
    child<QPushButton>(panel, "cmdNew")->click();
    EXPECT_EQ(PCTM.ItemCount(), 4);
    expectHomeShowsDisk(home);
}

TEST_P(WriteFailures, ChangingCountsKeepsTheStoredOnes) {
    frmSettei* home = openHome();
    EditPanel* panel = openEditPanel(home);
    child<QListWidget>(panel, "lstKoumoku")->setCurrentRow(1);
    child<QLineEdit>(panel, "txtKaisu")->setText("25");
    child<QLineEdit>(panel, "txtMokuhyo")->setText("10");  // would reach the goal
    breakWrites();
    child<QPushButton>(panel, "cmdHozon")->click();
    expectRefused(home, {edit::updated("腹筋")});
    EXPECT_EQ(PCTM.ItemInstructed(2), 20);
}

TEST_P(WriteFailures, RenamingMovesNoFile) {
    frmSettei* home = openHome();
    EditPanel* panel = openEditPanel(home);
    // 腕立て has records, so its copy is what fails. スクワット has none: on a full disk its files
    // are renamed and then renamed back when the list cannot be rewritten.
    for (int row : {0, 2}) {
        child<QListWidget>(panel, "lstKoumoku")->setCurrentRow(row);
        const QString oldName = child<QLineEdit>(panel, "txtKoumoku")->text();
        child<QLineEdit>(panel, "txtKoumoku")->setText(oldName + "２");
        breakWrites();
        child<QPushButton>(panel, "cmdHozon")->click();
        expectRefused(home, {edit::updated(oldName + "２")});
        EXPECT_EQ(qs(PCTM.ItemNames(row + 1)), oldName);
        mendWrites();
    }
}

TEST_P(WriteFailures, DeletingKeepsTheItemAndItsFiles) {
    frmSettei* home = openHome();
    EditPanel* panel = openEditPanel(home);
    auto* list = child<QListWidget>(panel, "lstKoumoku");
    // 腕立て has records, so its copy is what fails; スクワット has none, so its list rewrite.
    for (int row : {0, 2}) {
        list->setCurrentRow(row);
        breakWrites();
        child<QPushButton>(panel, "cmdDel")->click();
        expectRefused(home);
        EXPECT_EQ(PCTM.ItemCount(), 3) << row;
        mendWrites();
    }
}

TEST_P(WriteFailures, SavingTheOrderKeepsTheStoredOrder) {
    frmSettei* home = openHome();
    EditPanel* panel = openEditPanel(home);
    panel->itemList()->lstKoumoku_MouseDown(2);
    panel->itemList()->lstKoumoku_MouseUp(0);
    ASSERT_TRUE(panel->orderUnsaved());
    breakWrites();
    child<QPushButton>(panel, "cmdSort")->click();
    expectRefused(home, {edit::kOrderSaved});
    EXPECT_TRUE(panel->orderUnsaved());
    EXPECT_EQ(PCTM.ItemNames(1), "腕立て");
}

TEST_P(WriteFailures, ClearingOneHistoryClearsNothing) {
    frmSettei* home = openHome();
    EditPanel* panel = openEditPanel(home);
    ASSERT_EQ(child<QComboBox>(panel, "cboKoumoku")->currentText(), "腕立て");
    breakWrites();
    child<QPushButton>(panel, "cmdClear")->click();
    expectRefused(home, {edit::cleared("腕立て")});
    EXPECT_EQ(child<QListWidget>(panel, "lstRireki")->count(), 2);
}

TEST_P(WriteFailures, ClearingAllHistoriesClearsNothing) {
    frmSettei* home = openHome();
    EditPanel* panel = openEditPanel(home);
    breakWrites();
    child<QPushButton>(panel, "cmdAllClear")->click();
    expectRefused(home, {edit::kClearedAll});
}

// The copy itself: with only the backup folder read-only (or the disk full) every destructive
// step stops before it destroys anything.
TEST_P(WriteFailures, ACopyThatCannotBeWrittenStopsEveryDestructiveStep) {
    fs::create_directory("バックアップ");
    frmSettei* home = openHome();
    EditPanel* panel = openEditPanel(home);
    auto* list = child<QListWidget>(panel, "lstKoumoku");
    const std::string folderAtFault = GetParam() == Fault::ReadOnlyFolder ? "バックアップ" : ".";

    breakWrites(folderAtFault);
    child<QPushButton>(panel, "cmdClear")->click();
    expectToldOnce({edit::cleared("腕立て")});
    mendWrites();

    breakWrites(folderAtFault);
    child<QPushButton>(panel, "cmdAllClear")->click();
    expectToldOnce({edit::kClearedAll});
    mendWrites();

    list->setCurrentRow(1);
    breakWrites(folderAtFault);
    child<QPushButton>(panel, "cmdDel")->click();
    expectToldOnce();
    mendWrites();

    list->setCurrentRow(0);
    child<QLineEdit>(panel, "txtKoumoku")->setText("腕立て伏せ");
    breakWrites(folderAtFault);
    child<QPushButton>(panel, "cmdHozon")->click();
    expectToldOnce({edit::updated("腕立て伏せ")});
    mendWrites();

    expectFilesUnchanged();
    EXPECT_TRUE(fs::is_empty("バックアップ"));
    expectHomeShowsDisk(home);
}

TEST_P(WriteFailures, RestoringACopyRestoresNothing) {
    writeCopies({"腕立て_20240306_100000.txt", "ヨガ_20240306_100000.txt"});
    frmSettei* home = openHome();
    EditPanel* panel = openEditPanel(home);
    // A registered item over its current content, and a deleted one added back.
    for (const char* item : {"腕立て", "ヨガ（削除済み）"}) {
        RestoreDialog* dialog = openRestore(panel, item);
        ASSERT_NE(dialog, nullptr);
        breakWrites();
        child<QPushButton>(dialog, "cmdRestore")->click();
        expectToldOnce();
        for (const QString& text : svc->messageTexts())
            EXPECT_FALSE(text.contains("復元しました")) << text.toStdString();
        expectFilesUnchanged();
        mendWrites();
        dialog->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    expectHomeShowsDisk(home);
}

TEST_P(WriteFailures, ModeChoicesGoBackToTheStoredModes) {
    frmSettei* home = openHome();
    EditPanel* panel = openEditPanel(home);
    auto* bar = child<QScrollBar>(panel, "hsbTime");
    const auto expectModesOfDisk = [&] {
        const Loaded<PlaySettings> play = readPlaySettings();
        ASSERT_TRUE(play.ok() && !play.records.empty());
        const PlaySettings& stored = play.records.front();
        EXPECT_EQ(PCTM.LaunchMode, stored.launchMode);
        EXPECT_EQ(PCTM.CountMode, stored.countMode);
        EXPECT_EQ(PCTM.LaunchInterval, stored.interval);
        EXPECT_TRUE(child<QRadioButton>(panel, "optTim_1")->isChecked());  // 0: fixed
        EXPECT_TRUE(child<QRadioButton>(panel, "optKaisu_1")->isChecked());
        EXPECT_EQ(bar->value(), static_cast<int>(stored.interval));
        EXPECT_EQ(child<QLabel>(panel, "lblJikan")->text(),
                  QString::number(static_cast<int>(stored.interval)) + "分");
    };

    breakWrites();
    child<QRadioButton>(panel, "optTim_0")->click();
    expectToldOnce({edit::kLaunchRandom});
    expectModesOfDisk();

    svc->boxes.clear();
    child<QRadioButton>(panel, "optKaisu_0")->click();
    expectToldOnce({edit::kCountRandom});
    expectModesOfDisk();

    svc->boxes.clear();
    bar->setValue(30);
    QTest::keyClick(bar, Qt::Key_Return);
    expectToldOnce({edit::launchInterval(30)});
    expectModesOfDisk();
    expectFilesUnchanged();
    expectHomeShowsDisk(home);
}

// ---- the home screen's own switch and the Quick Muscle panel ----

TEST_P(WriteFailures, TheHelpTourSwitchShowsTheStoredSetting) {
    frmSettei* home = openHome();
    auto* check = child<QCheckBox>(home, "chkHelp");
    ASSERT_FALSE(check->isChecked());
    breakWrites();
    check->click();
    expectToldOnce();
    expectFilesUnchanged();
    EXPECT_FALSE(check->isChecked());
    EXPECT_EQ(PCTM.HelpTourOn, 0);
    const Loaded<SettingsRecord> settings = readSettings();
    ASSERT_TRUE(settings.ok() && !settings.records.empty());
    EXPECT_EQ(settings.records.front().helpTour, 0);
    expectHomeShowsDisk(home);
}

TEST_P(WriteFailures, AQuickAttemptThatCannotBeSavedIsNotListed) {
    frmSettei* home = openHome();
    home->cmdQuick_Click();
    auto* quick = home->findChild<QWidget*>("fraQuick");
    ASSERT_NE(quick, nullptr);
    GridView* grid = child<GridView>(quick, "msgList");
    ASSERT_EQ(child<QComboBox>(quick, "cboSec")->currentText(), "5");
    ASSERT_EQ(grid->rows(), 3);
    const QString best = child<QLabel>(quick, "lblQuick_Max")->text();

    breakWrites();
    svc->inputAnswers = {"40"};
    child<QPushButton>(quick, "cmdStart2")->click();
    bool asked = false;
    for (int second = 0; second < 20 && !asked; ++second) {
        svc->advance(1);
        ASSERT_TRUE(svc->fireTimer("tmrStart"));
        ASSERT_TRUE(svc->fireTimer("tmrBp"));
        for (const testing::RecordedBox& box : svc->boxes) asked = asked || box.isInput;
    }
    ASSERT_TRUE(asked);
    expectToldOnce();
    expectFilesUnchanged();
    ASSERT_EQ(screens::homeScreen(), home);

    // The grid lists the attempts of the file with the listed seconds, and nothing more.
    const Loaded<QuickRecord> onDisk = readQuickHistory("腕立て");
    int listed = 0;
    for (const QuickRecord& r : onDisk.records) listed += r.seconds == "5";
    EXPECT_EQ(grid->rows(), listed + 1);
    EXPECT_EQ(grid->text(grid->rows() - 1, 3), "31");
    EXPECT_EQ(child<QLabel>(quick, "lblQuick_Max")->text(), best);
    EXPECT_TRUE(child<QPushButton>(quick, "cmdStart2")->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Faults, WriteFailures,
                         ::testing::Values(Fault::ReadOnlyFolder, Fault::FullDisk),
                         [](const ::testing::TestParamInfo<Fault>& info) {
                             return info.param == Fault::FullDisk ? "FullDisk" : "ReadOnlyFolder";
                         });

// A read-only working folder whose backup folder is still writable: the copy is made, the
// clear itself fails, and the copy stays as a harmless extra.
class ReadOnlyWorkingFolder : public WriteFailureBase {
  protected:
    ReadOnlyWorkingFolder() : WriteFailureBase(Fault::ReadOnlyFolder) {}
};

TEST_F(ReadOnlyWorkingFolder, AClearThatFailsAfterItsCopyChangesNoDataFile) {
    fs::create_directory("バックアップ");
    frmSettei* home = openHome();
    EditPanel* panel = openEditPanel(home);
    const std::string history = TempFolder::read("腕立て.txt");

    before = filesOnDisk();
    ASSERT_EQ(injected.start(Fault::ReadOnlyFolder, "."), "");
    setImmutable("バックアップ", false);  // the folder itself stays writable
    svc->boxes.clear();
    child<QPushButton>(panel, "cmdClear")->click();
    expectToldOnce({edit::cleared("腕立て")});
    injected.stop();

    Files after = filesOnDisk();
    EXPECT_EQ(after["バックアップ/腕立て_20240307_200000.txt"], history);
    after.erase("バックアップ/腕立て_20240307_200000.txt");
    EXPECT_EQ(after, before);
    expectHomeShowsDisk(home);
}

// The restored file is written, then the item list refuses the item added back: the file goes
// again, so the folder is as it was.
TEST_F(ReadOnlyWorkingFolder, AnItemAddedBackWhoseListCannotBeWrittenRestoresNothing) {
    writeCopies({"ヨガ_20240306_100000.txt"});
    frmSettei* home = openHome();
    EditPanel* panel = openEditPanel(home);
    RestoreDialog* dialog = openRestore(panel, "ヨガ（削除済み）");
    ASSERT_NE(dialog, nullptr);

    before = filesOnDisk();
    ASSERT_EQ(setImmutable("項目一覧.txt", true), "");
    svc->boxes.clear();
    child<QPushButton>(dialog, "cmdRestore")->click();
    setImmutable("項目一覧.txt", false);
    expectRefused(home);
}

}  // namespace
}  // namespace mitoran
