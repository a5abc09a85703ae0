// The first-run data is checked in as bytes; it must stay readable by the program's own readers.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "data/cp932.h"
#include "data/data_files.h"

namespace mitoran {
namespace {

class SampleData : public ::testing::Test {
  protected:
    void SetUp() override {
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(MITORAN_SAMPLE_DIR);
    }
    void TearDown() override { std::filesystem::current_path(previous_); }

  private:
    std::filesystem::path previous_;
};

TEST_F(SampleData, EveryFileReadsWithoutASkippedRecord) {
    const auto items = readItemList();
    ASSERT_TRUE(items.ok()) << items.reason;
    EXPECT_EQ(items.skipped, 0);
    ASSERT_EQ(items.records.size(), 5u);

    const std::size_t sets[] = {82, 87, 82, 83, 85};
    for (std::size_t i = 0; i < items.records.size(); ++i) {
        const ItemRecord& item = items.records[i];
        EXPECT_GE(item.instructed, 5);
        EXPECT_LE(item.instructed, 30);
        const auto h = readHistory(item.name);
        ASSERT_TRUE(h.ok()) << item.name;
        EXPECT_EQ(h.skipped, 0) << item.name;
        ASSERT_EQ(h.records.size(), sets[i]) << item.name;
        EXPECT_EQ(h.records.front().date, "2026年10月27日");
        EXPECT_EQ(h.records.back().date, "2026年12月07日");
        for (std::size_t k = 1; k < h.records.size(); ++k)
            EXPECT_LE(h.records[k - 1].date.str() + h.records[k - 1].time,
                      h.records[k].date.str() + h.records[k].time)
                << item.name << " record " << k;
    }

    const auto settings = readSettings();
    ASSERT_EQ(settings.records.size(), 1u);
    EXPECT_EQ(settings.skipped, 0);
    EXPECT_EQ(settings.records[0].label, "ヘルプツアー");
    EXPECT_EQ(settings.records[0].helpTour, 1);

    const auto play = readPlaySettings();
    ASSERT_EQ(play.records.size(), 1u);
    EXPECT_EQ(play.skipped, 0);
    EXPECT_EQ(play.records[0].launchMode, 2);
    EXPECT_EQ(play.records[0].countMode, 0);
    EXPECT_EQ(play.records[0].interval, 5.0f);

    const std::size_t attempts[] = {6, 5};
    for (std::size_t i = 0; i < 2; ++i) {
        const auto q = readQuickHistory(items.records[i].name);
        ASSERT_TRUE(q.ok());
        EXPECT_EQ(q.skipped, 0);
        ASSERT_EQ(q.records.size(), attempts[i]);
        for (const QuickRecord& r : q.records)
            EXPECT_TRUE(r.seconds == "60" || r.seconds == "180") << r.seconds;
    }
}

TEST_F(SampleData, BytesAreCp932WithCrLf) {
    for (const auto& e : std::filesystem::directory_iterator(".")) {
        const auto raw = readWholeFile(e.path().filename().string());
        ASSERT_EQ(raw.status, ReadStatus::Ok);
        ASSERT_FALSE(raw.bytes.empty());
        EXPECT_EQ(raw.bytes.substr(raw.bytes.size() - 2), "\r\n") << e.path();
        std::size_t lf = 0, crlf = 0;
        for (std::size_t i = 0; i < raw.bytes.size(); ++i)
            if (raw.bytes[i] == '\n') {
                ++lf;
                if (i > 0 && raw.bytes[i - 1] == '\r') ++crlf;
            }
        EXPECT_EQ(lf, crlf) << e.path();
        EXPECT_EQ(decodeCp932(raw.bytes).find("\uFFFD"), std::string::npos) << e.path();
    }
}

}  // namespace
}  // namespace mitoran
