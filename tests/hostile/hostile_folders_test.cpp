// Hostile working folders (malformed records, wrong encodings, huge numbers and files, folders
// where files belong, names that are no file names) opened by start-up and driven through every
// screen as a user would. Nothing may crash or hang, and no file that was there may change: the
// only new files allowed are the empty history and quick files the program creates for items
// that have none, and each folder lists exactly which those are.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QScrollBar>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/pctm.h"
#include "app/screens.h"
#include "app/startup.h"
#include "data/data_files.h"
#include "data/file_io.h"
#include "history/frmGraph.h"
#include "home/frmSettei.h"
#include "home/help_window.h"
#include "session/frmMain.h"
#include "support/named_child.h"
#include "support/screen_reset.h"
#include "support/scripted_services.h"
#include "support/temp_folder.h"
#include "ui/grid_view.h"
#include "ui/qt_text.h"

namespace fs = std::filesystem;

namespace mitoran::testing {
namespace {

// ---------------------------------------------------------------- the folders

struct FolderCase {
    std::string name;
    // Fills the (empty) working folder.
    std::function<void(const fs::path& work)> make;
    // Start-up must stop with a message (a required file is missing or unusable).
    bool startRefused = false;
    // Files the program may create, empty, in the working folder; nothing else may appear.
    std::set<std::string> created;
};

void copyFolder(const fs::path& from, const fs::path& to) {
    fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

void writeBytes(const fs::path& file, const std::string& bytes) {
    TempFolder::write(file.string(), bytes);
}

LocalDateTime at(int y, unsigned m, unsigned d, int hour, int minute, int second) {
    return LocalDateTime{Date{std::chrono::year{y}, std::chrono::month{m}, std::chrono::day{d}},
                         hour, minute, second};
}

// A folder the program starts in without a help tour, with rounds that start at once.
void writeItemsAndSettings(const fs::path& work, const char* itemList) {
    writeBytes(work / "項目一覧.txt", TempFolder::cp932(itemList));
    writeBytes(work / "設定.txt", TempFolder::cp932("\"ヘルプツアー\",0\r\n"));
    writeBytes(work / "プレイ設定.txt", "2,0,5\r\n");
}

// 100,000 sets as the program writes them, a few dozen a day over seven years.
void makeHugeHistory(const fs::path& work) {
    writeItemsAndSettings(work, "\"腕立て\",10,1000000\r\n\"腹筋\",20,500\r\n");
    std::string bytes;
    bytes.reserve(100000 * 40);
    std::chrono::sys_days day{std::chrono::year{2020} / 1 / 1};
    for (int i = 0; i < 100000; ++i) {
        if (i > 0 && i % 37 == 0) ++day;
        const int second = i % 37;
        bytes += encodeHistoryRecord(LocalDateTime{Date{day}, 7, second / 60, second % 60},
                                     static_cast<std::int16_t>(i * 7919 % 1001));
    }
    writeBytes(work / "腕立て.txt", bytes);
    writeBytes(work / "腹筋.txt", encodeHistoryRecord(at(2026, 12, 2, 8, 0, 0), 20));
}

// 100,000 sets in no order, every hundredth line broken, and no final line break.
void makeHugeShuffledHistory(const fs::path& work) {
    writeItemsAndSettings(work, "\"スクワット\",30,100\r\n");
    std::string bytes;
    bytes.reserve(100000 * 40);
    std::uint32_t r = 12345;
    for (int i = 0; i < 100000; ++i) {
        r = r * 1103515245u + 12345u;
        if (i % 100 == 99) {
            bytes += TempFolder::cp932("\"2026年13月01日\",壊れた行,\r\n");
            continue;
        }
        const int daysBack = static_cast<int>(r >> 8) % 4000;
        const std::chrono::sys_days day =
            std::chrono::sys_days{std::chrono::year{2026} / 12 / 2} - std::chrono::days{daysBack};
        bytes += encodeHistoryRecord(LocalDateTime{Date{day}, static_cast<int>(r % 24), 0, 0},
                                     static_cast<std::int16_t>(r % 32768));
    }
    bytes.resize(bytes.size() - 2);
    writeBytes(work / "スクワット.txt", bytes);
}

// Megabytes in one line, a million blank lines, and a record buried after them.
void makeLongLines(const fs::path& work) {
    writeItemsAndSettings(work, "\"腕立て\",10,100\r\n\"腹筋\",10,100\r\n");
    std::string line = TempFolder::cp932("\"2026年12月01日\",\"07時00分00秒\",");
    line.append(4 * 1024 * 1024, '9');
    writeBytes(work / "腕立て.txt", line);
    std::string blanks;
    for (int i = 0; i < 1000000; ++i) blanks += (i % 2 ? "\r\n" : " \t\r\n");
    blanks += encodeHistoryRecord(at(2026, 12, 2, 9, 0, 0), 15);
    writeBytes(work / "腹筋.txt", blanks);
    std::string quick = TempFolder::cp932("\"2026年12月01日\",\"07時00分00秒\",60,\"");
    quick.append(2 * 1024 * 1024, 'x');
    writeBytes(work / "クイック_腕立て.txt", quick);
}

// What git cannot hold: a named pipe where a history and a quick file belong (a read that waited
// for a writer would hang the program), and a symbolic link that points at itself.
void makeSpecialFiles(const fs::path& work) {
    writeItemsAndSettings(work, "\"腕立て\",10,100\r\n\"腹筋\",10,100\r\n\"背筋\",10,100\r\n");
    ASSERT_EQ(::mkfifo((work / "腕立て.txt").c_str(), 0644), 0);
    ASSERT_EQ(::mkfifo((work / "クイック_腹筋.txt").c_str(), 0644), 0);
    fs::create_symlink("背筋.txt", work / "背筋.txt");
}

const fs::path kHostileData{MITORAN_HOSTILE_DATA};

FolderCase copied(const std::string& name, bool refused, std::set<std::string> created) {
    return {name, [name](const fs::path& work) { copyFolder(kHostileData / name, work); }, refused,
            std::move(created)};
}

// What each folder is expected to do. A folder added under tests/data/hostile without an entry
// here fails, so that somebody looks at what the program makes of it.
const std::vector<FolderCase>& folderCases() {
    static const std::vector<FolderCase> cases = {
        copied("bad_dates", false, {"クイック_腕立て.txt", "クイック_腹筋.txt"}),
        // The name holding a NUL byte gets no file: cut short there it would name "クイック_".
        copied("binary", false, {"クイック_腕立て.txt", "クイック_腹筋.txt"}),
        copied("directories", false, {"クイック_腹筋.txt"}),
        copied("empty_files", true, {}),
        copied("empty_history", false, {"腹筋.txt", "クイック_腹筋.txt"}),
        // The settings' switch lies beyond 16 bits, so start-up stops; the item of 70000 a set
        // is not read, the others are.
        copied("huge_numbers", true,
               {"背筋.txt", "クイック_腹筋.txt", "クイック_背筋.txt", "クイック_懸垂.txt"}),
        // Bytes that are no CP932 read as U+FFFD: the item is still named, and its files too.
        copied("invalid_sjis", false,
               {"クイック_腕立て.txt", "クイック_�.txt", "クイック_����.txt", "�.txt", "����.txt"}),
        copied("malformed", false, {"クイック_ブリッジ.txt"}),
        // An empty name is a name the item list may hold; its history is ".txt".
        copied("missing_fields", false, {".txt", "クイック_.txt", "クイック_ブリッジ.txt"}),
        // Start-up makes sure item 1 has a history before it finds the settings missing.
        copied("missing_files", true,
               {"腕立て.txt", "腹筋.txt", "クイック_腕立て.txt", "クイック_腹筋.txt"}),
        copied("missing_setting_fields", true, {"クイック_腕立て.txt"}),
        copied("odd_quotes", false,
               {".txt", "クイック_.txt", "クイック_ブリッジx.txt", "クイック_懸垂.txt",
                "クイック_背筋.txt", "ブリッジx.txt", "懸垂.txt"}),
        copied("out_of_order", false, {"クイック_腕立て.txt"}),
        // Nothing beside the working folder ("../外へ.txt"); odd names that stay inside are names.
        copied("path_names", false,
               {"...txt", ".txt", "タブ\t名.txt", "クイック_...txt", "クイック_.txt",
                "クイック_タブ\t名.txt", "クイック_腕立て.txt"}),
        copied("too_many_items", true, {}),
        copied("utf8", false, {"腹筋.txt", "クイック_腕立て.txt", "クイック_腹筋.txt"}),
        copied("wide_span", false, {"クイック_腕立て.txt"}),
        {"huge_history", makeHugeHistory, false, {"クイック_腕立て.txt", "クイック_腹筋.txt"}},
        {"huge_shuffled_history", makeHugeShuffledHistory, false, {"クイック_スクワット.txt"}},
        {"long_lines", makeLongLines, false, {"クイック_腹筋.txt"}},
        {"special_files",
         makeSpecialFiles,
         false,
         {"腹筋.txt", "クイック_腕立て.txt", "クイック_背筋.txt"}},
    };
    return cases;
}

std::vector<std::string> allFolderNames() {
    std::set<std::string> names;
    for (const FolderCase& c : folderCases()) names.insert(c.name);
    // Every checked-in folder runs, whether or not it has an entry above.
    for (const auto& e : fs::directory_iterator(kHostileData))
        if (e.is_directory()) names.insert(e.path().filename().string());
    return {names.begin(), names.end()};
}

const FolderCase* caseNamed(const std::string& name) {
    for (const FolderCase& c : folderCases())
        if (c.name == name) return &c;
    return nullptr;
}

// ---------------------------------------------------------------- snapshots

struct Entry {
    fs::file_type type = fs::file_type::none;
    std::string bytes;  // a file's content, a link's target
    bool directory() const { return type == fs::file_type::directory; }
};
using Snapshot = std::map<std::string, Entry>;

std::string contentOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(fs::file_size(file)), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    EXPECT_EQ(in.gcount(), static_cast<std::streamsize>(bytes.size())) << file;
    return bytes;
}

// Links are not followed and pipes not opened: only what the entry itself is.
Snapshot snapshot(const fs::path& root) {
    Snapshot out;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
         ++it) {
        Entry e;
        e.type = it->symlink_status().type();
        if (e.type == fs::file_type::regular) e.bytes = contentOf(it->path());
        if (e.type == fs::file_type::symlink) e.bytes = fs::read_symlink(it->path()).string();
        out[it->path().lexically_relative(root).string()] = std::move(e);
    }
    return out;
}

// Bytes that differ between two contents, a difference in length counting every extra byte.
std::size_t changedBytes(const std::string& a, const std::string& b) {
    std::size_t n = std::max(a.size(), b.size()) - std::min(a.size(), b.size());
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) n += a[i] != b[i];
    return n;
}

// ---------------------------------------------------------------- helpers

std::string joined(const std::set<std::string>& names) {
    std::string out;
    for (const std::string& n : names) out += (out.empty() ? "\"" : ", \"") + n + "\"";
    return out;
}

bool isJapanese(const QString& text) {
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if ((u >= 0x3040 && u <= 0x30FF) || (u >= 0x4E00 && u <= 0x9FFF) ||
            (u >= 0xFF01 && u <= 0xFF9F))
            return true;
    }
    return false;
}

QString labelText(QObject* parent, const char* name) {
    auto* l = expectChild<QLabel>(parent, name);
    return l ? l->text() : QString();
}

void click(QObject* parent, const char* name) {
    if (auto* b = expectChild<QAbstractButton>(parent, name)) b->click();
}

// Presses a home screen button and checks that its panel is shown.
QWidget* expectPanelShown(QWidget* home, const char* button, const char* panel) {
    click(home, button);
    QWidget* shown = expectChild(home, panel);
    if (shown) {
        EXPECT_TRUE(shown->isVisibleTo(home)) << panel;
    }
    return shown;
}

void choose(QComboBox* box, int index) {
    box->setCurrentIndex(index);
    emit box->activated(index);
}

// The number of records the reader takes from an item's history file. The files do not change
// during a run (the test checks that), so each is read once.
std::map<std::string, std::size_t> g_recordCounts;
std::size_t recordsOnDisk(const std::string& item) {
    const auto known = g_recordCounts.find(item);
    if (known != g_recordCounts.end()) return known->second;
    return g_recordCounts[item] = readHistory(item).records.size();
}

// Counts of sets are never negative; a minus sign would mean a wrapped sum.
void expectNotNegative(const QString& text, const char* what) {
    EXPECT_FALSE(text.startsWith(QLatin1Char('-'))) << what << " shows " << text.toStdString();
}

// ---------------------------------------------------------------- the run

class HostileFolder : public ::testing::TestWithParam<std::string> {
  protected:
    void SetUp() override {
        svc = &installScriptedServices();
        svc->setNow(2026, 12, 2, 12, 0, 0);
        resetRun();
        g_recordCounts.clear();
    }

    void TearDown() override {
        closeEveryScreen();
        resetRun();
    }

    void startUp(bool expectRefusal);
    void promptRound();
    void homeScreen();
    void todayPanel(QWidget* home);
    void quickPanel(QWidget* home);
    void historyScreen(QWidget* home);

    ScriptedServices* svc = nullptr;
};

void HostileFolder::startUp(bool expectRefusal) {
    const int rc = Main();
    flushDeletes();
    EXPECT_EQ(rc != 0, expectRefusal) << "start-up returned " << rc;
    if (rc != 0) {
        ASSERT_FALSE(svc->messageBoxes().empty()) << "start-up refused without a word";
        const RecordedBox last = svc->messageBoxes().back();
        EXPECT_EQ(last.icon, MsgIcon::Exclamation);
        EXPECT_TRUE(last.text.contains(QStringLiteral("起動できません")))
            << last.text.toStdString();
        EXPECT_EQ(screens::promptScreen(), nullptr);
        EXPECT_EQ(screens::homeScreen(), nullptr);
    } else {
        EXPECT_TRUE(screens::promptScreen() || screens::homeScreen()) << "started without a window";
    }
}

void HostileFolder::promptRound() {
    // After a refused start-up the screens still get to face the files, as they would after a
    // user repaired only the file that stopped it.
    if (!screens::promptScreen() && !screens::homeScreen())
        screens::openPromptScreen(Qt::WindowNoState);
    flushDeletes();
    frmMain* prompt = screens::promptScreen();
    if (!prompt) {
        EXPECT_LE(PCTM.ItemCount(), 0) << "items registered, but no round";
        EXPECT_NE(screens::homeScreen(), nullptr);
        return;
    }
    const int n = PCTM.ItemCount();
    ASSERT_GE(n, 1);
    for (int pos = 1; pos <= n; ++pos) {
        ASSERT_EQ(screens::promptScreen(), prompt) << "round ended early at item " << pos;
        EXPECT_EQ(PCTM.RoundPosition, pos);
        const std::string& name = PCTM.ItemNames(pos);
        // A name too long for the label is cut short with an ellipsis.
        const QString shown = labelText(prompt, "lblKoumoku");
        if (shown.endsWith(QChar(0x2026)))
            EXPECT_TRUE(qs(name).startsWith(shown.chopped(1))) << shown.toStdString();
        else
            EXPECT_EQ(shown, qs(name));
        EXPECT_EQ(labelText(prompt, "lblSet"), QString::number(recordsOnDisk(name))) << name;
        for (const char* l : {"lblSet", "lblSetTotalMax", "lblTodaySet", "lblSetKaiAvg"})
            expectNotNegative(labelText(prompt, l), l);
        if (pos < n) click(prompt, "cmdNowCut");
    }
    click(prompt, "cmdCut");
    flushDeletes();
    EXPECT_EQ(screens::promptScreen(), nullptr);
    EXPECT_NE(screens::homeScreen(), nullptr);
}

void HostileFolder::homeScreen() {
    frmSettei* home = screens::homeScreen();
    if (!home) home = screens::openHomeScreen();
    flushDeletes();
    ASSERT_NE(home, nullptr);
    ASSERT_EQ(screens::homeScreen(), home);

    // The overview: one row per item read, each up to the first empty name filled from the file.
    auto* grid = expectChild<GridView>(home, "msgIchiran");
    ASSERT_NE(grid, nullptr);
    const int n = std::max<int>(PCTM.ItemCount(), 0);
    EXPECT_EQ(grid->rows(), n + 1);
    bool stopped = false;
    for (int i = 1; i <= n && i < grid->rows(); ++i) {
        const std::string& name = PCTM.ItemNames(i);
        stopped = stopped || name.empty();
        if (stopped) {
            EXPECT_TRUE(grid->text(i, 0).isEmpty());
            continue;
        }
        EXPECT_EQ(grid->text(i, 0), qs(name));
        EXPECT_EQ(grid->text(i, 5), QString::number(recordsOnDisk(name))) << name;
        expectNotNegative(grid->text(i, 5), "実施ｾｯﾄ数");
        expectNotNegative(grid->text(i, 6), "本日ｾｯﾄ数");
        EXPECT_LE(grid->text(i, 6).toLongLong(), grid->text(i, 5).toLongLong()) << name;
    }

    click(home, "cmdMaster");
    ASSERT_EQ(screens::homeScreen(), home);
    if (n > 0) {
        ASSERT_NO_FATAL_FAILURE(todayPanel(home));
        ASSERT_NO_FATAL_FAILURE(quickPanel(home));
    }
    expectPanelShown(home, "cmdMain", "fraMain");
    ASSERT_NO_FATAL_FAILURE(historyScreen(home));
}

void HostileFolder::todayPanel(QWidget* home) {
    QWidget* today = expectPanelShown(home, "cmdToday", "fraToday");
    ASSERT_NE(today, nullptr);
    auto* bar = expectChild<QScrollBar>(today, "hsbData");
    auto* day = expectChild<QComboBox>(today, "cboDate");
    ASSERT_TRUE(bar && day);
    for (int v = 1; v <= PCTM.ItemCount(); ++v) {
        bar->setValue(v);
        expectNotNegative(labelText(today, "lblSet"), "本日の実績 セット数");
    }
    bar->setValue(1);
    for (const char* typed : {"きのう", "2024年02月30日", "9999年99月99日", ""}) {
        day->setEditText(QString::fromUtf8(typed));
        emit day->activated(day->currentIndex());
        // No day is named, so no set belongs to it.
        EXPECT_EQ(labelText(today, "lblSet"), QStringLiteral("0")) << typed;
    }
}

void HostileFolder::quickPanel(QWidget* home) {
    QWidget* quick = expectPanelShown(home, "cmdQuick", "fraQuick");
    ASSERT_NE(quick, nullptr);
    auto* names = expectChild<QComboBox>(quick, "cboNamae");
    ASSERT_NE(names, nullptr);
    EXPECT_EQ(names->count(), PCTM.ItemCount());
    for (int i = 0; i < names->count(); ++i) choose(names, i);
}

void HostileFolder::historyScreen(QWidget* home) {
    click(home, "cmdGraph");
    flushDeletes();
    frmGraph* graph = screens::historyScreen();
    if (PCTM.ItemCount() <= 0) {
        EXPECT_EQ(graph, nullptr) << "a history screen without an item";
        return;
    }
    ASSERT_NE(graph, nullptr);
    auto* bar = expectChild<QScrollBar>(graph, "hsbData");
    auto* list = expectChild<GridView>(graph, "msgList");
    ASSERT_TRUE(bar && list);
    for (const char* view : {"Option1", "Option2", "Option3", "Option4"}) {
        click(graph, view);
        for (int v = 1; v <= PCTM.ItemCount(); ++v) {
            bar->setValue(v);
            ASSERT_EQ(screens::historyScreen(), graph);
            ASSERT_GE(list->rows(), 1);
            const std::string& name = PCTM.ItemNames(v);
            EXPECT_EQ(labelText(graph, "lblSet"), QString::number(recordsOnDisk(name))) << name;
            if (std::string(view) == "Option1") {
                EXPECT_EQ(list->rows() - 1, static_cast<int>(recordsOnDisk(name))) << name;
            }
            if (list->rows() < 2) continue;
            // A double click on each column sorts by it.
            for (int col = 0; col < 4; ++col) {
                list->setFirstVisibleRow(1);
                QCoreApplication::processEvents();
                const QRect cell = list->visualRect(list->model()->index(0, col));
                ASSERT_TRUE(cell.isValid()) << view << " column " << col;
                QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
                EXPECT_EQ(list->currentCol(), col);
            }
        }
    }
    click(graph, "cmdModori");
    flushDeletes();
    EXPECT_EQ(screens::historyScreen(), nullptr);
}

struct Totals {
    int folders = 0;
    std::size_t files = 0;
    std::size_t changed = 0;
    ~Totals() {
        if (folders > 0)
            std::cout << "hostile folders run: " << folders << ", files checked: " << files
                      << ", bytes changed: " << changed << std::endl;
    }
} g_totals;

TEST_P(HostileFolder, OpensInEveryScreenAndChangesNoFile) {
    const FolderCase* c = caseNamed(GetParam());
    ASSERT_NE(c, nullptr) << "tests/data/hostile/" << GetParam()
                          << " has no expectation in folderCases()";

    TempFolder root;
    // The working folder lies inside the snapshot, so a file written beside it is seen too.
    const fs::path work = fs::path(root.path()) / "work";
    fs::create_directory(work);
    c->make(work);
    fs::current_path(work);
    const Snapshot before = snapshot(root.path());

    ASSERT_NO_FATAL_FAILURE(startUp(c->startRefused));
    ASSERT_NO_FATAL_FAILURE(promptRound());
    ASSERT_NO_FATAL_FAILURE(homeScreen());

    for (const RecordedBox& b : svc->boxes) {
        EXPECT_TRUE(isJapanese(b.text)) << "box text: " << b.text.toStdString();
        EXPECT_TRUE(isJapanese(b.title)) << "box title: " << b.title.toStdString();
    }

    screens::closeScreen(screens::homeScreen());
    flushDeletes();
    fs::current_path(root.path());
    const Snapshot after = snapshot(root.path());

    std::size_t changed = 0;
    for (const auto& [path, entry] : before) {
        const auto now = after.find(path);
        if (now == after.end()) {
            ADD_FAILURE() << path << " was removed";
            changed += entry.bytes.size();
            continue;
        }
        EXPECT_EQ(now->second.type, entry.type) << path;
        const std::size_t n = changedBytes(entry.bytes, now->second.bytes);
        EXPECT_EQ(n, 0u) << path << " changed";
        changed += n;
    }
    std::set<std::string> created;
    for (const auto& [path, entry] : after) {
        if (before.count(path)) continue;
        // Named as in the working folder; anything beside it keeps its "../".
        created.insert(path.starts_with("work/") ? path.substr(5) : "../" + path);
        EXPECT_EQ(entry.type, fs::file_type::regular) << path << " is not a plain file";
        EXPECT_TRUE(entry.bytes.empty()) << path << " was created with content";
    }
    EXPECT_EQ(created, c->created) << "files created in " << c->name << ": " << joined(created);

    const auto files = std::count_if(before.begin(), before.end(),
                                     [](const auto& e) { return !e.second.directory(); });
    ++g_totals.folders;
    g_totals.files += static_cast<std::size_t>(files);
    g_totals.changed += changed;
    std::cout << c->name << ": " << files << " files checked, " << changed << " bytes changed, "
              << created.size() << " files created, " << svc->messageBoxes().size()
              << " message boxes" << std::endl;
}

// The item names of a hand-edited list become file names. None may reach a file beside the
// working folder, nor, cut short at a NUL byte, a file other than the one it names.
TEST(NamesFromTheItemList, NoFileOperationLeavesTheFolderOrCutsANameShort) {
    TempFolder root;
    fs::create_directory("work");
    TempFolder::write("外.txt", "outside");
    TempFolder::write("work/a", "cut short");
    TempFolder::write("work/mine.txt", "mine");
    fs::current_path("work");
    const Snapshot before = snapshot(root.path());

    const std::string names[] = {"../外.txt", "./../外.txt", root.path() + "/外.txt",
                                 std::string("a\0.txt", 6)};
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const ReadBytes read = readWholeFile(name);
        EXPECT_EQ(read.status, ReadStatus::Error);
        EXPECT_TRUE(read.bytes.empty());
        EXPECT_FALSE(fileExists(name));
        for (const IoResult& r : {rewriteFile(name, "x"), appendToFile(name, "x"),
                                  createIfMissing(name), emptyFile(name), removeFile(name),
                                  renameFile(name, "new.txt"), renameFile("mine.txt", name)}) {
            EXPECT_FALSE(r.ok);
            EXPECT_TRUE(isJapanese(qs(r.reason))) << r.reason;
        }
    }
    // The same through the item's own files.
    EXPECT_EQ(readHistory("../外").status, ReadStatus::Error);
    EXPECT_FALSE(appendHistory("../外", at(2026, 12, 2, 7, 0, 0), 10).ok);
    EXPECT_FALSE(appendQuick("../外", at(2026, 12, 2, 7, 0, 0), 60, 10).ok);

    fs::current_path(root.path());
    const Snapshot after = snapshot(root.path());
    ASSERT_EQ(after.size(), before.size());
    for (const auto& [path, entry] : before) {
        ASSERT_TRUE(after.count(path)) << path;
        EXPECT_EQ(after.at(path).bytes, entry.bytes) << path;
    }
}

INSTANTIATE_TEST_SUITE_P(Folders, HostileFolder, ::testing::ValuesIn(allFolderNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             return info.param;
                         });

}  // namespace
}  // namespace mitoran::testing
