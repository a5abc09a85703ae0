#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "data/cp932.h"
#include "data/data_files.h"
#include "scratch_folder.h"

namespace mitoran {
namespace {

using testing::ScratchFolder;
using namespace std::chrono;

std::string cp932(std::string_view utf8) { return encodeCp932(utf8).value(); }

LocalDateTime at(int d, int h, int m, int s) {
    return {Date{year{2024}, month{3}, day{static_cast<unsigned>(d)}}, h, m, s};
}

// Files larger than `limit` bytes cannot be written while this lives; it fails writes even for
// root, which permission tricks do not.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t limit) {
        oldHandler_ = ::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &old_);
        rlimit lower = old_;
        lower.rlim_cur = limit;
        ::setrlimit(RLIMIT_FSIZE, &lower);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        ::signal(SIGXFSZ, oldHandler_);
    }

  private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

TEST(DataFiles, WrittenFilesEndWithCrLfAndReadBackRecordForRecord) {
    ScratchFolder folder;
    const std::vector<ItemRecord> items = {
        {"腕立て,伏せ", 8, 500}, {"腹筋", 20, 5000}, {"ｾｯﾄ①№", 1000, 2147483647}};
    ASSERT_TRUE(rewriteItemList(items));
    const std::string bytes = ScratchFolder::bytes("項目一覧.txt");
    EXPECT_EQ(bytes, cp932("\"腕立て,伏せ\",8,500\r\n\"腹筋\",20,5000\r\n"
                           "\"ｾｯﾄ①№\",1000,2147483647\r\n"));
    ASSERT_TRUE(appendItem({"懸垂", 5, 800}));
    const auto read = readItemList();
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.skipped, 0);
    ASSERT_EQ(read.records.size(), 4u);
    EXPECT_EQ(read.records[0].name, "腕立て,伏せ");
    EXPECT_EQ(read.records[2].name, "ｾｯﾄ①№");
    EXPECT_EQ(read.records[3].target, 800);

    ASSERT_TRUE(appendHistory("腹筋", at(7, 7, 5, 9), 12));
    ASSERT_TRUE(appendHistory("腹筋", at(7, 23, 59, 59), 0));
    EXPECT_EQ(ScratchFolder::bytes("腹筋.txt"), cp932("\"2024年03月07日\",\"07時05分09秒\",12\r\n"
                                                      "\"2024年03月07日\",\"23時59分59秒\",0\r\n"));
    const std::string first = encodeHistoryRecord(at(7, 7, 5, 9), 12);
    EXPECT_EQ(ScratchFolder::bytes("腹筋.txt").substr(0, first.size()), first);
    EXPECT_EQ(readHistory("腹筋").records.size(), 2u);

    ASSERT_TRUE(writeSettings(-1));
    EXPECT_EQ(ScratchFolder::bytes("設定.txt"), cp932("\"ヘルプツアー\",1\r\n"));
    ASSERT_TRUE(writePlaySettings({0, 1, 2.5f}));
    EXPECT_EQ(ScratchFolder::bytes("プレイ設定.txt"), "0,1,2.5\r\n");
    ASSERT_TRUE(appendQuick("腹筋", at(30, 14, 5, 33), 60, 35));
    ASSERT_TRUE(appendQuick("腹筋", at(30, 14, 9, 0), 60, 12.5));
    EXPECT_EQ(ScratchFolder::bytes("クイック_腹筋.txt"),
              cp932("\"2024年03月30日\",\"14時05分33秒\",60,35\r\n"
                    "\"2024年03月30日\",\"14時09分00秒\",60,12.5\r\n"));
    EXPECT_EQ(readQuickHistory("腹筋").records.size(), 2u);
}

TEST(DataFiles, TextsThatCannotBeStoredAreRefusedAndNothingIsWritten) {
    ScratchFolder folder;
    const auto emoji = appendItem({"筋トレ😀", 8, 500});
    EXPECT_FALSE(emoji);
    EXPECT_NE(emoji.reason.find("😀"), std::string::npos);
    EXPECT_FALSE(fileExists(kItemListFile));

    ASSERT_TRUE(rewriteItemList({{"腹筋", 20, 5000}}));
    const std::string before = ScratchFolder::bytes("項目一覧.txt");
    EXPECT_FALSE(rewriteItemList({{"腹筋", 20, 5000}, {"a\"b", 1, 1}}));
    EXPECT_FALSE(rewriteItemList({{"腹筋", 20, 5000}, {"¥100", 1, 1}}));
    EXPECT_FALSE(appendItem({"改行\r\nあり", 1, 1}));
    EXPECT_EQ(ScratchFolder::bytes("項目一覧.txt"), before);
    EXPECT_FALSE(appendHistory("../外", at(7, 7, 5, 9), 1));
    EXPECT_EQ(folder.entries(), (std::set<std::string>{"項目一覧.txt"}));
}

TEST(DataFiles, ReadersTolerateDamagedFilesAndNeverChangeThem) {
    ScratchFolder folder;
    const std::string good = cp932("\"2024年03月07日\",\"07時05分09秒\",12");
    const struct {
        std::string bytes;
        std::size_t records;
        int skipped;
    } cases[] = {
        {good, 1, 0},                                                     // no final line break
        {good + "\n" + good + "\n", 2, 0},                                // lone LF
        {good + "\r\n\r\n\r\n" + good + "\r\n", 2, 0},                    // blank lines
        {good + "\r\n" + good.substr(0, 20), 1, 1},                       // torn last line
        {good + "\r\n\"x\",\"y\r\n" + good + "\r\n", 2, 1},               // malformed record
        {"\xEF\xBB\xBF\"2024年03月07日\",\"07時05分09秒\",1\r\n", 1, 0},  // UTF-8 with a mark
        {std::string("\0\0\0\0", 4), 0, 1},                               // zeros after a crash
    };
    for (const auto& c : cases) {
        ScratchFolder::put("腹筋.txt", c.bytes);
        const auto h = readHistory("腹筋");
        EXPECT_TRUE(h.ok());
        EXPECT_EQ(h.records.size(), c.records) << c.bytes;
        EXPECT_EQ(h.skipped, c.skipped) << c.bytes;
        EXPECT_EQ(ScratchFolder::bytes("腹筋.txt"), c.bytes);
        EXPECT_EQ(folder.entries(), (std::set<std::string>{"腹筋.txt"}));
    }
    EXPECT_EQ(readHistory("ない").status, ReadStatus::Missing);
    EXPECT_FALSE(fileExists("ない.txt"));
}

TEST(DataFiles, LongFilesReadTheSameAsTheirWholeText) {
    ScratchFolder folder;
    // Long enough to be read in several pieces, with a bad record and bad bytes among them.
    std::string bytes;
    Date date{year{1990}, month{1}, day{1}};
    for (int i = 0; i < 3000; ++i) {
        bytes += encodeHistoryRecord({date, i % 24, i % 60, i % 60}, static_cast<std::int16_t>(i));
        if (i == 1500) bytes += "\"\x81\",\"\x85\x90\",1\r\n";
        date = addDays(date, 1);
    }
    ASSERT_TRUE(rewriteFile("腹筋.txt", bytes));
    const auto read = readHistory("腹筋");
    const auto whole = parseHistory(decodeCp932(bytes));
    EXPECT_EQ(read.skipped, 1);
    EXPECT_EQ(whole.skipped, 1);
    ASSERT_EQ(read.records.size(), 3000u);
    ASSERT_EQ(whole.records.size(), 3000u);
    for (std::size_t i = 0; i < 3000; ++i) {
        EXPECT_EQ(read.records[i].date, whole.records[i].date);
        EXPECT_EQ(read.records[i].day, whole.records[i].day);
        EXPECT_EQ(read.records[i].time, whole.records[i].time);
        EXPECT_EQ(read.records[i].count, static_cast<std::int16_t>(i));
    }

    // Saved as UTF-8 by an editor, then appended to by the program: both kinds of line count.
    std::string mixed = "\xEF\xBB\xBF";
    for (int i = 0; i < 1500; ++i) mixed += "\"2024年03月07日\",\"07時05分09秒\",1\r\n";
    ScratchFolder::put("背筋.txt", mixed);
    for (int i = 0; i < 1500; ++i) ASSERT_TRUE(appendHistory("背筋", at(8, 7, 0, 0), 2));
    const auto both = readHistory("背筋");
    EXPECT_EQ(both.skipped, 0);
    ASSERT_EQ(both.records.size(), 3000u);
    EXPECT_EQ(both.records.front().date, "2024年03月07日");
    EXPECT_EQ(both.records.back().date, "2024年03月08日");
}

TEST(DataFiles, AppendCompletesAnUnfinishedLastLineFirst) {
    ScratchFolder folder;
    const std::string good = cp932("\"2024年03月07日\",\"07時05分09秒\",12");
    ScratchFolder::put("腹筋.txt", good);
    ASSERT_TRUE(appendHistory("腹筋", at(8, 8, 0, 0), 3));
    EXPECT_EQ(ScratchFolder::bytes("腹筋.txt"),
              good + "\r\n" + encodeHistoryRecord(at(8, 8, 0, 0), 3));
    ScratchFolder::put("背筋.txt", good + "\r");  // torn between CR and LF
    ASSERT_TRUE(appendHistory("背筋", at(8, 8, 0, 0), 3));
    EXPECT_EQ(ScratchFolder::bytes("背筋.txt"),
              good + "\r\n" + encodeHistoryRecord(at(8, 8, 0, 0), 3));
    for (std::string_view item : {"腹筋", "背筋"}) {
        const auto h = readHistory(item);
        EXPECT_EQ(h.records.size(), 2u);
        EXPECT_EQ(h.skipped, 0);
    }
}

TEST(DataFiles, FailedWritesLeaveTheOldBytesAndSayWhy) {
    ScratchFolder folder;
    ASSERT_TRUE(rewriteItemList({{"腹筋", 20, 5000}}));
    ASSERT_TRUE(appendHistory("腹筋", at(7, 7, 5, 9), 12));
    const std::string list = ScratchFolder::bytes("項目一覧.txt");
    const std::string history = ScratchFolder::bytes("腹筋.txt");
    const auto before = folder.entries();
    {
        // The new content does not fit: the rewrite fails part-way through its temporary file,
        // and the append is cut short after a few bytes.
        FileSizeLimit limit(history.size() + 5);
        std::vector<ItemRecord> many(50, ItemRecord{"スクワット", 10, 1000});
        const auto rewrite = rewriteItemList(many);
        EXPECT_FALSE(rewrite);
        EXPECT_NE(rewrite.reason.find("項目一覧.txt"), std::string::npos);
        EXPECT_FALSE(appendHistory("腹筋", at(8, 7, 5, 9), 13));
    }
    EXPECT_EQ(ScratchFolder::bytes("項目一覧.txt"), list);
    EXPECT_EQ(ScratchFolder::bytes("腹筋.txt"), history);
    EXPECT_EQ(folder.entries(), before);

    // A folder where the file should be: refused, never a crash, the folder untouched.
    ASSERT_EQ(::mkdir("背筋.txt", 0755), 0);
    EXPECT_FALSE(appendHistory("背筋", at(7, 7, 5, 9), 1));
    EXPECT_FALSE(emptyFile("背筋.txt"));
    EXPECT_FALSE(rewriteFile("背筋.txt", "x"));
    EXPECT_FALSE(createIfMissing("背筋.txt"));
    EXPECT_FALSE(removeFile("背筋.txt"));
    EXPECT_EQ(readHistory("背筋").status, ReadStatus::Error);
    EXPECT_FALSE(readHistory("背筋").reason.empty());
    EXPECT_TRUE(std::filesystem::is_directory("背筋.txt"));

    // A folder that does not exist.
    const auto nowhere = rewriteFile("ない/項目一覧.txt", "x");
    EXPECT_FALSE(nowhere);
    EXPECT_NE(nowhere.reason.find(describeErrno(ENOENT)), std::string::npos);

    // A pipe under a data file's name must not hang a reader.
    ASSERT_EQ(::mkfifo("懸垂.txt", 0644), 0);
    EXPECT_EQ(readHistory("懸垂").status, ReadStatus::Error);
    EXPECT_FALSE(appendHistory("懸垂", at(7, 7, 5, 9), 1));
}

TEST(DataFiles, ReadOnlyFolderRefusesRewritesKeepingTheOldFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
    ScratchFolder folder;
    ASSERT_TRUE(writeSettings(1));
    const std::string old = ScratchFolder::bytes("設定.txt");
    ASSERT_EQ(::chmod(folder.path().c_str(), 0555), 0);
    const auto r = writeSettings(0);
    EXPECT_FALSE(r);
    EXPECT_NE(r.reason.find("書き込みの権限がありません"), std::string::npos);
    EXPECT_EQ(ScratchFolder::bytes("設定.txt"), old);
    EXPECT_EQ(folder.entries(), (std::set<std::string>{"設定.txt"}));
}

TEST(DataFiles, RewritesRespectAReadOnlyFileAndWriteThroughALink) {
    ScratchFolder folder;
    ASSERT_TRUE(writeSettings(1));
    const std::string old = ScratchFolder::bytes("設定.txt");
    if (::geteuid() != 0) {
        ASSERT_EQ(::chmod("設定.txt", 0444), 0);
        const auto r = writeSettings(0);
        EXPECT_FALSE(r);
        EXPECT_NE(r.reason.find("書き込みの権限がありません"), std::string::npos) << r.reason;
        EXPECT_EQ(ScratchFolder::bytes("設定.txt"), old);
        ASSERT_EQ(::chmod("設定.txt", 0644), 0);
    }

    // The item list kept in another folder through a link: the real file gets the new bytes
    // and the link stays a link.
    std::filesystem::create_directory("elsewhere");
    ScratchFolder::put("elsewhere/list.txt", cp932("\"腹筋\",20,5000\r\n"));
    std::filesystem::create_symlink("elsewhere/list.txt", "項目一覧.txt");
    ASSERT_TRUE(rewriteItemList({{"背筋", 30, 300}}));
    EXPECT_TRUE(std::filesystem::is_symlink("項目一覧.txt"));
    EXPECT_EQ(ScratchFolder::bytes("elsewhere/list.txt"), cp932("\"背筋\",30,300\r\n"));
    EXPECT_EQ(readItemList().records.size(), 1u);

    // A link that leads nowhere is not turned into a file.
    std::filesystem::create_symlink("elsewhere/missing.txt", "設定.txt.link");
    std::filesystem::remove("設定.txt");
    std::filesystem::rename("設定.txt.link", "設定.txt");
    EXPECT_FALSE(writeSettings(0));
    EXPECT_TRUE(std::filesystem::is_symlink("設定.txt"));
}

TEST(DataFiles, NamesAreFoundIgnoringTheCaseOfLatinLettersOnly) {
    ScratchFolder folder;
    ScratchFolder::put("項目一覧.TXT", cp932("\"Push-up\",10,100\r\n"));
    EXPECT_EQ(resolveName("項目一覧.txt"), "項目一覧.TXT");
    ASSERT_EQ(readItemList().records.size(), 1u);
    // Writers keep the spelling already on disk rather than making a second file.
    ASSERT_TRUE(appendItem({"腹筋", 20, 5000}));
    ASSERT_TRUE(rewriteItemList({{"腹筋", 20, 5000}}));
    ScratchFolder::put("Push-Up.Txt", "");
    ASSERT_TRUE(appendHistory("PUSH-UP", at(7, 7, 5, 9), 1));
    EXPECT_EQ(folder.entries(), (std::set<std::string>{"項目一覧.TXT", "Push-Up.Txt"}));
    EXPECT_EQ(readHistory("push-up").records.size(), 1u);
    EXPECT_EQ(ScratchFolder::bytes("項目一覧.TXT"), cp932("\"腹筋\",20,5000\r\n"));

    ScratchFolder::put("腕立て.txt", "");
    EXPECT_EQ(resolveName("腕立て.TXT"), "腕立て.txt");
    ScratchFolder::put("ＡＢＣ.txt", "");  // full-width letters are other characters
    EXPECT_EQ(resolveName("ａｂｃ.txt"), "ａｂｃ.txt");
    EXPECT_FALSE(fileExists("ａｂｃ.txt"));
    // New files get the name as given.
    ASSERT_TRUE(writeSettings(0));
    EXPECT_TRUE(folder.entries().count("設定.txt"));
}

TEST(DataFiles, CreatingEmptyingRemovingAndRenaming) {
    ScratchFolder folder;
    ScratchFolder::put("腹筋.txt", "keep");
    ASSERT_TRUE(createIfMissing("腹筋.txt"));
    EXPECT_EQ(ScratchFolder::bytes("腹筋.txt"), "keep");
    ASSERT_TRUE(createIfMissing("背筋.txt"));
    EXPECT_TRUE(fileExists("背筋.txt"));
    EXPECT_EQ(ScratchFolder::bytes("背筋.txt"), "");
    ASSERT_TRUE(emptyFile("腹筋.TXT"));
    EXPECT_EQ(ScratchFolder::bytes("腹筋.txt"), "");
    ASSERT_TRUE(emptyFile("新規.txt"));
    EXPECT_TRUE(fileExists("新規.txt"));

    ScratchFolder::put("A.txt", "a");
    EXPECT_FALSE(renameFile("A.txt", "背筋.txt"));
    EXPECT_FALSE(renameFile("A.txt", "新規.TXT"));  // the same file for every reader
    EXPECT_FALSE(renameFile("ない.txt", "どこか.txt"));
    ASSERT_TRUE(renameFile("a.TXT", "B.txt"));
    EXPECT_EQ(ScratchFolder::bytes("B.txt"), "a");
    ASSERT_TRUE(renameFile("B.txt", "b.txt"));  // only the case changes
    EXPECT_EQ(ScratchFolder::bytes("b.txt"), "a");

    ASSERT_TRUE(removeFile("B.TXT"));
    EXPECT_TRUE(removeFile("ない.txt"));
    EXPECT_EQ(folder.entries(), (std::set<std::string>{"腹筋.txt", "背筋.txt", "新規.txt"}));
}

TEST(DataFiles, ReasonsAreJapanese) {
    EXPECT_EQ(describeErrno(EACCES), "書き込みの権限がありません");
    EXPECT_EQ(describeErrno(EPERM), "書き込みの権限がありません");
    EXPECT_EQ(describeErrno(ENOSPC), "ディスクの空き容量が足りません");
    EXPECT_EQ(describeErrno(9999), "エラー番号 9999");
    for (int err : {EROFS, EDQUOT, EISDIR, ENOENT, EIO})
        EXPECT_EQ(describeErrno(err).find("エラー番号"), std::string::npos) << err;
}

}  // namespace
}  // namespace mitoran
