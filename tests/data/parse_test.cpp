#include <gtest/gtest.h>

#include "data/data_files.h"

namespace mitoran {
namespace {

TEST(ParseHistory, KeepsTheStoredTextsAndSkipsWhatDoesNotParse) {
    const auto h = parseHistory(
        "\"2024年03月07日\",\"07時05分09秒\",12\r\n"
        "\"2024年03月07日\",\"07時06分00秒\",0\r\n"      // a set of 0 is a set
        "\"2024年3月8日\",\"7時1分2秒\", 12回\r\n"       // read by its leading number
        "\"2024年02月30日\",\"07時05分09秒\",12\r\n"     // no such day
        "\"2024年03月09日\",\"07時05分09秒\",32768\r\n"  // beyond 16 bits
        "\"2024年03月09日\",\"07時05分09秒\",abc\r\n"    // no number at all
        "\"2024年03月09日\",\"07時05分09秒\"\r\n"        // a field missing
        "\"2024年03月09日\",\"07時05分09秒\",1,2\r\n"    // a field too many
        "\"2024年03月09日\",\"07時05分09秒,3\r\n");      // quote left open
    EXPECT_EQ(h.skipped, 6);
    ASSERT_EQ(h.records.size(), 3u);
    EXPECT_EQ(h.records[0].date, "2024年03月07日");
    EXPECT_EQ(h.records[0].time, "07時05分09秒");
    EXPECT_EQ(h.records[0].count, 12);
    EXPECT_EQ(h.records[1].count, 0);
    EXPECT_EQ(h.records[2].date, "2024年3月8日");
    EXPECT_EQ(h.records[2].day,
              (Date{std::chrono::year{2024}, std::chrono::month{3}, std::chrono::day{8}}));
    EXPECT_EQ(h.records[2].count, 12);
    EXPECT_EQ(h.records[2].countText, "12回");
}

TEST(ParseHistory, LinesShapedLikeWrittenOnesFollowTheGeneralRulesToo) {
    const auto h = parseHistory(
        "\"2024年03月07日\",\"07時05\"9秒\",12\r\n"      // a quote inside the time: open quote
        "\"2024年03月07日\",\"07時05分09秒\",\r\n"       // no count
        "\"2024年03月07日\",\"07時05分09秒\",99999\r\n"  // beyond 16 bits
        "\"2024年03月07日\",\"07時05分09秒\",12 \r\n"    // a trailing blank is fine
        "\"2024年03月07日\",\"07時05分09秒\",-0\r\n"
        "\"2024年03月07日\" , \"07時05分09秒\",3.5\r\n");
    EXPECT_EQ(h.skipped, 3);
    ASSERT_EQ(h.records.size(), 3u);
    EXPECT_EQ(h.records[0].count, 12);
    EXPECT_EQ(h.records[0].countText, "12");
    EXPECT_EQ(h.records[1].count, 0);
    EXPECT_EQ(h.records[2].count, 4);
    EXPECT_EQ(h.records[2].time, "07時05分09秒");
}

TEST(ParseHistory, LineBreaksBlankLinesAndATornLastLine) {
    // CR LF, a lone LF, blank lines, no final break, then a line cut off mid-record.
    const auto h = parseHistory(
        "\"2024年03月07日\",\"07時05分09秒\",1\r\n\r\n"
        "\"2024年03月07日\",\"07時05分10秒\",2\n"
        "   \r\n"
        "\"2024年03月07日\",\"07時05分11秒\",3\r\n"
        "\"2024年03月07日\",\"07時0");
    EXPECT_EQ(h.records.size(), 3u);
    EXPECT_EQ(h.skipped, 1);
    EXPECT_EQ(parseHistory("\"2024年03月07日\",\"07時05分09秒\",1").records.size(), 1u);
    EXPECT_TRUE(parseHistory("").records.empty());
    EXPECT_EQ(parseHistory("\r\n\r\n").skipped, 0);
}

TEST(ParseItemList, NamesWithCommasAndNumbersOfTheirWidths) {
    const auto items = parseItemList(
        "\"腕立て,伏せ\",8,500\r\n"
        "腹筋,20,5000\r\n"           // unquoted name
        "\"背筋\",8.5,9.5\r\n"       // halves go to the even neighbour
        "背筋,伸ばし,10,100\r\n"     // unquoted comma: not silently item 背筋 with count 0
        "\"懸垂\",32768,100\r\n"     // instructed count is 16-bit
        "\"懸垂\",5,2147483648\r\n"  // target is 32-bit
        "\"懸垂\",5,2147483647\r\n");
    EXPECT_EQ(items.skipped, 3);
    ASSERT_EQ(items.records.size(), 4u);
    EXPECT_EQ(items.records[0].name, "腕立て,伏せ");
    EXPECT_EQ(items.records[0].instructed, 8);
    EXPECT_EQ(items.records[0].target, 500);
    EXPECT_EQ(items.records[1].name, "腹筋");
    EXPECT_EQ(items.records[2].instructed, 8);
    EXPECT_EQ(items.records[2].target, 10);
    EXPECT_EQ(items.records[3].target, 2147483647);
}

TEST(ParseSettings, AnyNonZeroSwitchMeansOnAndTheLabelIsFree) {
    EXPECT_EQ(parseSettings("\"ヘルプツアー\",1\r\n").records.at(0).helpTour, 1);
    EXPECT_EQ(parseSettings("\"ヘルプツアー\",-1\r\n").records.at(0).helpTour, -1);
    EXPECT_EQ(parseSettings("\"ヘルプツアー\",0\r\n").records.at(0).helpTour, 0);
    const auto any = parseSettings("\"何でも ABC 123\",1");
    ASSERT_EQ(any.records.size(), 1u);
    EXPECT_EQ(any.records[0].label, "何でも ABC 123");
    EXPECT_EQ(parseSettings("\"ヘルプツアー\",99999\r\n").skipped, 1);
}

TEST(ParsePlaySettings, TwoModesAndAnInterval) {
    const auto p = parsePlaySettings("2,0,5\r\n");
    ASSERT_EQ(p.records.size(), 1u);
    EXPECT_EQ(p.records[0].launchMode, 2);
    EXPECT_EQ(p.records[0].countMode, 0);
    EXPECT_EQ(p.records[0].interval, 5.0f);
    EXPECT_EQ(parsePlaySettings("0,1,2.5").records.at(0).interval, 2.5f);
    EXPECT_EQ(parsePlaySettings("0,1,1" + std::string(60, '0')).skipped, 1);  // not a float
}

TEST(ParseQuickHistory, FourFieldsKeptAsTexts) {
    const auto q = parseQuickHistory(
        "\"2005年12月30日\",\"14時05分33秒\",60,35\r\n"
        "\"2005年12月31日\",\"14時05分33秒\",180,12.5\r\n"
        "\"2005年12月31日\",\"14時05分33秒\",180\r\n");
    EXPECT_EQ(q.skipped, 1);
    ASSERT_EQ(q.records.size(), 2u);
    EXPECT_EQ(q.records[0].date, "2005年12月30日");
    EXPECT_EQ(q.records[0].time, "14時05分33秒");
    EXPECT_EQ(q.records[0].seconds, "60");
    EXPECT_EQ(q.records[0].count, "35");
    EXPECT_EQ(q.records[1].count, "12.5");
}

}  // namespace
}  // namespace mitoran
