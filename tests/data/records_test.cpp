#include "data/records.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "data/dates.h"

namespace mitoran {
namespace {

using Fields = std::vector<std::string>;

TEST(Records, SplitsAtCommasOutsideQuotes) {
    EXPECT_EQ(splitRecord("\"腕立て,伏せ\",8,500"), (Fields{"腕立て,伏せ", "8", "500"}));
    EXPECT_EQ(splitRecord("  \"a\" ,  12 ,x y "), (Fields{"a", "12", "x y"}));
    EXPECT_EQ(splitRecord("\" keep \",1"), (Fields{" keep ", "1"}));
    EXPECT_EQ(splitRecord("a,,"), (Fields{"a", "", ""}));
    EXPECT_EQ(splitRecord("\"ab\"cd,x\"y,z\""), (Fields{"abcd", "xy,z"}));
    EXPECT_FALSE(splitRecord("\"2024年03月07日\",\"07時0"));
    EXPECT_FALSE(splitRecord("a,b\"c"));

    // The reusable splitter gives the same fields, also after a longer line was split.
    RecordSplitter splitter;
    ASSERT_TRUE(splitter.split("\"ab\"cd,\"long field text\",3"));
    ASSERT_TRUE(splitter.split("x\"y\",2"));
    EXPECT_EQ(splitter.fields(), (std::vector<std::string_view>{"xy", "2"}));
}

TEST(Records, LeadingNumberOfATypedOrStoredText) {
    bool found = false;
    EXPECT_EQ(leadingNumber("  12abc", &found), 12);
    EXPECT_TRUE(found);
    EXPECT_EQ(leadingNumber("-3.5kg"), -3.5);
    EXPECT_EQ(leadingNumber("+7"), 7);
    EXPECT_EQ(leadingNumber(".5"), 0.5);
    EXPECT_EQ(leadingNumber("1e3"), 1);
    EXPECT_EQ(leadingNumber("12."), 12);
    EXPECT_EQ(leadingNumber("１２", &found), 0);  // full-width digits are not digits
    EXPECT_FALSE(found);
    EXPECT_EQ(leadingNumber("-", &found), 0);
    EXPECT_FALSE(found);
    EXPECT_EQ(leadingNumber(std::string(400, '9')), std::numeric_limits<double>::infinity());
    EXPECT_EQ(leadingNumber("0." + std::string(400, '0') + "1"), 0);
}

// A Japanese input method types the ideographic space; it is a leading space like any other,
// here and in the history list's sort, which reads its cells the same way.
TEST(Records, LeadingNumberSkipsIdeographicSpacesToo) {
    const struct {
        const char* text;
        double value;
        bool found;
    } cases[] = {
        {"\u300012", 12, true},     {" \u3000\t\u3000-3.5", -3.5, true}, {"\u3000", 0, false},
        {"\u3000\uFF11", 0, false},  // a full-width digit after it is still no number
        {"1\u30002", 1, true},       // only leading ones are skipped
    };
    for (const auto& c : cases) {
        bool found = !c.found;
        EXPECT_EQ(leadingNumber(c.text, &found), c.value) << c.text;
        EXPECT_EQ(found, c.found) << c.text;
    }
}

TEST(Records, ConversionToAWidthRoundsHalvesToEvenAndChecksTheRange) {
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(-3.5), -4);
    EXPECT_EQ(roundHalfEven(2.5000001), 3);
    EXPECT_EQ(toInt16(32767.4), 32767);
    EXPECT_FALSE(toInt16(32767.5));        // 32768
    EXPECT_EQ(toInt16(-32768.5), -32768);  // the even neighbour lies inside
    EXPECT_FALSE(toInt16(-32769));
    EXPECT_FALSE(toInt16(std::nan("")));
    EXPECT_EQ(toInt32(2147483646.5), 2147483646);
    EXPECT_FALSE(toInt32(2147483647.5));
    EXPECT_FALSE(toInt32(std::numeric_limits<double>::infinity()));
}

TEST(Records, NumbersAndRecordsAreWrittenPlainly) {
    EXPECT_EQ(formatNumber(5), "5");
    EXPECT_EQ(formatNumber(-3), "-3");
    EXPECT_EQ(formatNumber(2.5), "2.5");
    EXPECT_EQ(formatNumber(0.1), "0.1");
    EXPECT_EQ(formatNumber(-0.0), "0");
    EXPECT_EQ(formatNumber(1e20), "100000000000000000000");
    EXPECT_EQ(formatRecord({TextField{"腕立て,伏せ"}, std::int64_t{8}, 2.5}),
              "\"腕立て,伏せ\",8,2.5\r\n");
    // What is written reads back as the same fields.
    const std::string line = formatRecord({TextField{" a,b "}, std::int64_t{-3}});
    EXPECT_EQ(splitRecord(line.substr(0, line.size() - 2)), (Fields{" a,b ", "-3"}));
}

TEST(Records, EveryLineIsVisitedWhateverTheLineBreaks) {
    std::vector<std::string> lines;
    forEachLine(
        "\xEF\xBB\xBF"
        "a\r\n\r\n  \nb\nc\r\nd",
        [&](std::string_view l) { lines.emplace_back(l); });
    EXPECT_EQ(lines, (Fields{"a", "b", "c", "d"}));
}

using namespace std::chrono;

TEST(Dates, ParsesStoredAndSlashFormsOfRealDatesOnly) {
    const Date march7{year{2024}, month{3}, day{7}};
    EXPECT_EQ(parseDate("2024年03月07日"), march7);
    EXPECT_EQ(parseDate("2024年3月7日"), march7);
    EXPECT_EQ(parseDate("2024/03/07"), march7);
    EXPECT_EQ(parseDate("2024/3/7"), march7);
    EXPECT_EQ(parseDate("2024年02月29日"), (Date{year{2024}, month{2}, day{29}}));
    for (std::string_view bad : {"2024年02月30日", "2023年02月29日", "2024/13/01", "2024/00/10",
                                 "2024年03月07", "2024年03月07日 ", "2024-03-07", "", "年月日",
                                 "２０２４年03月07日", "20245年03月07日", "0000/01/01"})
        EXPECT_FALSE(parseDate(bad)) << bad;
}

TEST(Dates, FormatsAndCalendarArithmetic) {
    const Date d{year{2024}, month{3}, day{7}};
    EXPECT_EQ(formatStoredDate(d), "2024年03月07日");
    EXPECT_EQ(formatShortDate(d), "24年03月07日");
    EXPECT_EQ(formatShortDate(Date{year{2005}, month{12}, day{30}}), "05年12月30日");
    EXPECT_EQ(formatSlashDate(d), "2024/03/07");
    EXPECT_EQ(formatStoredTime(7, 5, 9), "07時05分09秒");
    EXPECT_EQ(formatHourMinute("14時05分33秒"), "14時05分");
    EXPECT_EQ(formatHourMinute("7時5分"), "07時05分");
    EXPECT_FALSE(formatHourMinute("07時"));
    EXPECT_FALSE(formatHourMinute("25時00分00秒"));

    EXPECT_EQ(daysBetween(Date{year{2024}, month{2}, day{28}}, Date{year{2024}, month{3}, day{1}}),
              2);
    EXPECT_EQ(daysBetween(Date{year{2023}, month{2}, day{28}}, Date{year{2023}, month{3}, day{1}}),
              1);
    EXPECT_EQ(daysBetween(d, Date{year{2023}, month{3}, day{7}}), -366);
    EXPECT_EQ(addDays(Date{year{2024}, month{12}, day{31}}, 1),
              (Date{year{2025}, month{1}, day{1}}));
    EXPECT_EQ(addDays(d, -366), (Date{year{2023}, month{3}, day{7}}));
    EXPECT_EQ(addDays(Date{year{1937}, month{1}, day{1}}, 32766),
              (Date{year{2026}, month{9}, day{17}}));
}

}  // namespace
}  // namespace mitoran
