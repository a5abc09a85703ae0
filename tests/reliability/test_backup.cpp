#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "data/backup.h"

namespace mitoran {
namespace {

namespace fs = std::filesystem;

class BackupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char tmpl[] = "/tmp/mitoran-backup-XXXXXX";
        dir_ = mkdtemp(tmpl);
        previous_ = fs::current_path();
        fs::current_path(dir_);
    }
    void TearDown() override {
        fs::current_path(previous_);
        std::error_code ec;
        fs::permissions(dir_, fs::perms::owner_all, ec);
        fs::remove_all(dir_, ec);
    }
    static void write(const std::string& name, const std::string& bytes) {
        std::ofstream(name, std::ios::binary) << bytes;
    }
    static std::string read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static std::set<std::string> backups() {
        std::set<std::string> names;
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(std::string(kBackupFolder), ec))
            names.insert(e.path().filename().string());
        return names;
    }
    static LocalDateTime at(int day, int h, int m, int s) {
        using namespace std::chrono;
        return {year_month_day{year{2026}, month{12}, std::chrono::day{static_cast<unsigned>(day)}},
                h, m, s};
    }
    fs::path dir_, previous_;
};

TEST_F(BackupTest, CopiesTheBytesUnderTheStemAndTime) {
    const std::string bytes(
        "\"2026\x94\x4e"
        "12\x8c\x8e"
        "07\x93\xfa\",\"x\",12\r\n\xff\x00raw",
        30);
    write("腕立て.txt", bytes);
    ASSERT_TRUE(backupBeforeDestroying("腕立て.txt", at(8, 9, 5, 3)));
    EXPECT_EQ(backups(), (std::set<std::string>{"腕立て_20261208_090503.txt"}));
    EXPECT_EQ(read(fs::path("バックアップ") / "腕立て_20261208_090503.txt"), bytes);
    EXPECT_EQ(read("腕立て.txt"), bytes) << "the original is left alone";
}

TEST_F(BackupTest, NothingToCopyForAMissingOrEmptyFile) {
    EXPECT_TRUE(backupBeforeDestroying("無い.txt", at(8, 1, 2, 3)));
    write("空.txt", "");
    EXPECT_TRUE(backupBeforeDestroying("空.txt", at(8, 1, 2, 3)));
    EXPECT_TRUE(backups().empty());
}

TEST_F(BackupTest, SameSecondCopiesDoNotOverwriteEachOther) {
    write("腹筋.txt", "first\r\n");
    ASSERT_TRUE(backupBeforeDestroying("腹筋.txt", at(8, 10, 0, 0)));
    write("腹筋.txt", "second\r\n");
    ASSERT_TRUE(backupBeforeDestroying("腹筋.txt", at(8, 10, 0, 0)));
    EXPECT_EQ(read(fs::path("バックアップ") / "腹筋_20261208_100000.txt"), "first\r\n");
    EXPECT_EQ(read(fs::path("バックアップ") / "腹筋_20261208_100000_2.txt"), "second\r\n");
}

TEST_F(BackupTest, KeepsTheNewestCopiesOfEachStemOnly) {
    write("懸垂.txt", "x\r\n");
    write("懸垂_2.txt", "other item\r\n");
    ASSERT_TRUE(backupBeforeDestroying("懸垂_2.txt", at(1, 0, 0, 0)));
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(backupBeforeDestroying("懸垂.txt", at(2 + i, 0, 0, 0), 3));
    std::set<std::string> expected = {"懸垂_20261204_000000.txt", "懸垂_20261205_000000.txt",
                                      "懸垂_20261206_000000.txt", "懸垂_2_20261201_000000.txt"};
    EXPECT_EQ(backups(), expected) << "older copies go, another item's copies stay";
}

TEST_F(BackupTest, AnUnwritableBackupFolderIsReported) {
    write("背筋.txt", "x\r\n");
    // A file where the folder should be fails for root too.
    write("バックアップ", "not a folder");
    IoResult r = backupBeforeDestroying("背筋.txt", at(8, 0, 0, 0));
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.reason.empty());
    EXPECT_EQ(read("背筋.txt"), "x\r\n");
}

TEST_F(BackupTest, ListsTheCopiesOfOneFileNewestFirstWhateverTheCase) {
    fs::create_directory("バックアップ");
    for (const char* name :
         {"a_20261201_000000.txt", "a_20261201_000000_2.txt", "A_20261202_000000.txt",
          "a_20261201_000000_10.txt", "ab_20261203_000000.txt", "クイック_a_20261204_000000.txt",
          "a_2026120_000000.txt", "a_20261205_000000.TXT", "a_20261206_000000_x.txt"})
        write(std::string("バックアップ/") + name, "x");
    std::vector<std::string> listed;
    for (const BackupCopy& copy : listBackups("a.txt")) listed.push_back(copy.path);
    EXPECT_EQ(listed,
              (std::vector<std::string>{
                  "バックアップ/A_20261202_000000.txt", "バックアップ/a_20261201_000000_10.txt",
                  "バックアップ/a_20261201_000000_2.txt", "バックアップ/a_20261201_000000.txt"}));
    EXPECT_EQ(backedUpFiles(),
              (std::vector<std::string>{"A.txt", "a.txt", "ab.txt", "クイック_a.txt"}));
}

TEST_F(BackupTest, RestoringTheOldestKeptCopyDoesNotPruneIt) {
    // Fifty copies: the copy of the current content would push the oldest out, the one restored.
    fs::create_directory("バックアップ");
    for (int day = 1; day <= kBackupsKept; ++day)
        write("バックアップ/" + std::string("腕立て_202612") + (day < 10 ? "0" : "") +
                  std::to_string(day) + "_000000.txt",
              "day " + std::to_string(day));
    write("腕立て.txt", "current");
    const std::string oldest = "バックアップ/腕立て_20261201_000000.txt";
    std::string made;
    ASSERT_TRUE(restoreBackup(oldest, "腕立て.txt", at(31, 12, 0, 0), &made));
    EXPECT_EQ(read("腕立て.txt"), "day 1");
    EXPECT_EQ(made, "バックアップ/腕立て_20261231_120000.txt");
    EXPECT_EQ(read(made), "current");
    EXPECT_TRUE(fs::exists(oldest));
    EXPECT_EQ(backups().size(), static_cast<std::size_t>(kBackupsKept) + 1);

    // A copy that is not there restores nothing.
    EXPECT_FALSE(
        restoreBackup("バックアップ/腕立て_20200101_000000.txt", "腕立て.txt", at(31, 12, 0, 1)));
    EXPECT_EQ(read("腕立て.txt"), "day 1");
}

}  // namespace
}  // namespace mitoran
