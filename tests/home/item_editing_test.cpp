#include <gtest/gtest.h>

#include "data/data_files.h"
#include "home/item_list_edit.h"
#include "home/item_validation.h"

namespace mitoran {
namespace {

std::vector<std::string> names(std::initializer_list<const char*> list) {
    return {list.begin(), list.end()};
}

TEST(ItemNameCheck, RefusesWhatWouldBreakAFileNameOrARecord) {
    const std::vector<std::string> none;
    for (const char* bad : {"腕\"立て", "a/b", "a\\b", "a:b", "a*b", "a?b", "a<b", "a>b", "a|b"})
        EXPECT_TRUE(itemNameProblem(bad, none)) << bad;
    EXPECT_TRUE(itemNameProblem("腕立て\t伏せ", none));
    EXPECT_TRUE(itemNameProblem("改\n行", none));
    EXPECT_TRUE(itemNameProblem("del\x7f", none));
    EXPECT_TRUE(itemNameProblem("c1\xC2\x85", none));  // U+0085, a control character
    EXPECT_TRUE(itemNameProblem(".", none));
    EXPECT_TRUE(itemNameProblem("..", none));
    EXPECT_TRUE(itemNameProblem("　 ", none));
}

TEST(ItemNameCheck, RefusesCharactersTheFilesCannotHoldAndNamesTooLongForAFile) {
    const std::vector<std::string> none;
    const auto emoji = itemNameProblem("腹筋😀", none);
    ASSERT_TRUE(emoji);
    EXPECT_NE(emoji->find("😀"), std::string::npos) << "the message names the character";
    // 3 bytes per kana in UTF-8: 68 of them still fit beside the prefix, a stamp and ".txt".
    std::string fits, tooLong;
    for (int i = 0; i < 68; ++i) fits += "あ";
    for (int i = 0; i < 69; ++i) tooLong += "あ";
    EXPECT_FALSE(itemNameProblem(fits, none));
    EXPECT_TRUE(itemNameProblem(tooLong, none));
}

TEST(ItemNameCheck, AcceptsOrdinaryNamesAndExactRepeatsButNotCaseVariants) {
    const auto others = names({"腕立て", "Squat"});
    EXPECT_FALSE(itemNameProblem("腹筋", others));
    EXPECT_FALSE(itemNameProblem("a.b, c", others));
    EXPECT_FALSE(itemNameProblem("腕立て", others)) << "an exact repeat shares the files";
    EXPECT_FALSE(itemNameProblem("Squat", others));
    EXPECT_TRUE(itemNameProblem("squat", others));
    EXPECT_TRUE(itemNameProblem("SQUAT", others));
    EXPECT_FALSE(itemNameProblem("Ｓｑｕａｔ", others)) << "full-width letters are other letters";
}

TEST(ItemNameCheck, NormalisingMakesInputMethodCharactersStorable) {
    const std::string typed = "波\xE3\x80\x9C線";  // WAVE DASH U+301C
    const std::string stored = normaliseItemName(typed);
    EXPECT_EQ(stored, "波\xEF\xBD\x9E線");  // FULLWIDTH TILDE U+FF5E, what CP932 holds
    EXPECT_FALSE(itemNameProblem(stored, {}));
}

TEST(TypedCount, ReadsTheLeadingNumberAndChecksTheRange) {
    EXPECT_EQ(readTypedCount("0", 1000).check, CountCheck::BelowOne);
    EXPECT_EQ(readTypedCount("abc", 1000).check, CountCheck::BelowOne);
    EXPECT_EQ(readTypedCount("-5", 1000).check, CountCheck::BelowOne);
    EXPECT_EQ(readTypedCount("0.9", 1000).check, CountCheck::BelowOne);
    EXPECT_EQ(readTypedCount("1001", 1000).check, CountCheck::AboveLimit);
    EXPECT_EQ(readTypedCount("1000.1", 1000).check, CountCheck::AboveLimit);
    EXPECT_EQ(readTypedCount("1000", 1000).value, 1000);
    EXPECT_EQ(readTypedCount("30abc", 1000).value, 30);
    EXPECT_EQ(readTypedCount("  12", 1000).value, 12);
    EXPECT_EQ(readTypedCount("2.5", 1000).value, 2) << "halves go to the even neighbour";
    EXPECT_EQ(readTypedCount("3.5", 1000).value, 4);
    EXPECT_EQ(readTypedCount("2147483647", kMaxTarget).value, 2147483647);
    EXPECT_EQ(readTypedCount("2147483648", kMaxTarget).check, CountCheck::AboveLimit);
    EXPECT_EQ(readTypedCount("99999999999999999999", kMaxTarget).check, CountCheck::AboveLimit);
}

TEST(Dragging, MovesAnEntryJustBeforeTheOneReleasedOn) {
    auto list = names({"a", "b", "c", "d", "e", "f"});
    EXPECT_FALSE(moveEntry(list, 1, 1)) << "released on itself";
    EXPECT_FALSE(moveEntry(list, 1, 2)) << "released on the entry below: already before it";
    EXPECT_FALSE(moveEntry(list, 1, 6)) << "outside the list";
    EXPECT_FALSE(moveEntry(list, -1, 3)) << "pressed on no entry";
    EXPECT_EQ(list, names({"a", "b", "c", "d", "e", "f"}));

    ASSERT_TRUE(moveEntry(list, 1, 4));  // b onto e
    EXPECT_EQ(list, names({"a", "c", "d", "b", "e", "f"}));
    ASSERT_TRUE(moveEntry(list, 5, 0));  // last onto first
    EXPECT_EQ(list, names({"f", "a", "c", "d", "b", "e"}));
    ASSERT_TRUE(moveEntry(list, 3, 1));  // upwards: before the entry released on
    EXPECT_EQ(list, names({"f", "d", "a", "c", "b", "e"}));
    // The last place is only reached by moving the last entry up.
    EXPECT_EQ(dropPosition(0, 5, 6), 4);
}

TEST(EntryToItem, FollowsTheNameAndTheOccurrenceOfSharedNames) {
    const auto items = names({"", "腕立て", "腹筋", "腕立て", "背筋"});  // entry 0 unused
    // The list after dragging the second 腕立て to the top and 背筋 above 腹筋.
    const auto entries = names({"腕立て", "腕立て", "背筋", "腹筋"});
    EXPECT_EQ(itemForEntry(entries, 0, items), 1);
    EXPECT_EQ(itemForEntry(entries, 1, items), 3);
    EXPECT_EQ(itemForEntry(entries, 2, items), 4);
    EXPECT_EQ(itemForEntry(entries, 3, items), 2);
    EXPECT_EQ(itemForEntry(entries, -1, items), 0);
    EXPECT_EQ(itemForEntry(names({"無い"}), 0, items), 0);
}

TEST(EntryToItem, OrderToSaveKeepsTheValuesOfItemsSharingAName) {
    const std::vector<ItemRecord> items = {
        {"腕立て", 10, 100}, {"腹筋", 20, 200}, {"腕立て", 30, 300}};
    const auto ordered =
        recordsInListOrder(names({"腹筋", "腕立て", "腕立て", "腕立て", "誰か"}), items);
    ASSERT_EQ(ordered.size(), 3u) << "extra and unknown entries write nothing";
    EXPECT_EQ(ordered[0].name, "腹筋");
    EXPECT_EQ(ordered[1].instructed, 10);
    EXPECT_EQ(ordered[2].instructed, 30);
    EXPECT_EQ(ordered[2].target, 300);
}

TEST(EntryToItem, NameUseIgnoresCaseLikeTheFileLookup) {
    const auto items = names({"", "Squat", "腹筋", "squat"});
    EXPECT_TRUE(nameUsedByOtherItem(items, 1, "Squat"));
    EXPECT_FALSE(nameUsedByOtherItem(items, 2, "腹筋"));
    EXPECT_TRUE(nameUsedByOtherItem(items, 0, "腹筋"));
}

}  // namespace
}  // namespace mitoran
