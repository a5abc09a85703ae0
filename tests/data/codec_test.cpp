#include <gtest/gtest.h>

#include "data/cp932.h"

namespace mitoran {
namespace {

TEST(Cp932, EncodesToTheWindowsBytesAndBack) {
    const struct {
        std::string_view text, bytes;
    } cases[] = {
        {"腕立て", "\x98\x72\x97\xA7\x82\xC4"},
        {"ｾｯﾄ", "\xBE\xAF\xC4"},
        {"①", "\x87\x40"},
        {"№", "\x87\x82"},
        {"～", "\x81\x60"},
        {"－", "\x81\x7C"},
        {"\"a\",1\r\n", "\"a\",1\r\n"},
    };
    for (const auto& c : cases) {
        std::string bad = "unchanged";
        const auto encoded = encodeCp932(c.text, &bad);
        ASSERT_TRUE(encoded) << c.text << " refused for " << bad;
        EXPECT_EQ(*encoded, c.bytes) << c.text;
        EXPECT_EQ(decodeCp932(c.bytes), c.text);
    }
}

TEST(Cp932, InputMethodVariantsAreStoredAsTheCp932Characters) {
    // WAVE DASH, MINUS SIGN, DOUBLE VERTICAL LINE, CENT, POUND, NOT.
    EXPECT_EQ(encodeCp932("〜"), "\x81\x60");
    EXPECT_EQ(encodeCp932("−"), "\x81\x7C");
    EXPECT_EQ(encodeCp932("‖¢£¬"), "\x81\x61\x81\x91\x81\x92\x81\xCA");
    EXPECT_EQ(normaliseForCp932("10〜20−3"), "10～20－3");
    EXPECT_EQ(decodeCp932(*encodeCp932("〜")), "～");
}

TEST(Cp932, RefusesInsteadOfSubstituting) {
    std::string bad;
    EXPECT_FALSE(encodeCp932("腹筋😀", &bad));
    EXPECT_EQ(bad, "😀");
    EXPECT_FALSE(canEncodeCp932("ok 😀"));
    // glibc would store YEN SIGN as 0x5C, which every reader sees as a backslash.
    EXPECT_FALSE(encodeCp932("100¥", &bad));
    EXPECT_EQ(bad, "¥");
    EXPECT_FALSE(encodeCp932("\xFF", &bad));  // not UTF-8 at all
    EXPECT_TRUE(canEncodeCp932("普通の名前"));
}

TEST(Cp932, BadBytesBecomeReplacementCharactersWithoutSwallowingStructure) {
    // A lead byte before a comma or quote must not eat them: the record stays splittable.
    EXPECT_EQ(decodeCp932("\x81,\"x\""), "\uFFFD,\"x\"");
    // An unassigned two-byte code is one replacement; decoding goes on after it.
    EXPECT_EQ(decodeCp932("\x85\x90"
                          "a\x82\xA0"),
              "\uFFFDaあ");
    // A character torn at the end of a file.
    EXPECT_EQ(decodeCp932("1\x98"), "1\uFFFD");
    EXPECT_EQ(decodeCp932(""), "");
}

TEST(Cp932, FileWithByteOrderMarkMixesUtf8AndAppendedCp932Lines) {
    const std::string bytes = "\xEF\xBB\xBF\"腹筋\",1\r\n\"" + *encodeCp932("背筋") + "\",2\r\n";
    EXPECT_EQ(decodeDataFile(bytes), "\"腹筋\",1\r\n\"背筋\",2\r\n");
    EXPECT_EQ(decodeDataFile(*encodeCp932("背筋")), "背筋");
}

TEST(Cp932, EncodingOfAFileWithoutTheMark) {
    const struct {
        std::string bytes;
        DataEncoding expected;
    } cases[] = {
        {"\"腹筋\",10,100\r\n", DataEncoding::Utf8},                 // Notepad, any Linux editor
        {*encodeCp932("\"腹筋\",10,100\r\n"), DataEncoding::Cp932},  // what the program writes
        {"2,0,5\r\n", DataEncoding::Cp932},                          // ASCII is both
        {"\xC3\xBD\r\n", DataEncoding::Cp932},  // ﾃｽ in CP932, ý in UTF-8: no Japanese reading
        {"caf\xC3\xA9\x81", DataEncoding::Cp932},  // not valid UTF-8
        {"\xEF\xBB\xBF\"a\"", DataEncoding::Utf8Marked},
    };
    for (const auto& c : cases) EXPECT_EQ(detectDataEncoding(c.bytes), c.expected) << c.bytes;
}

}  // namespace
}  // namespace mitoran
