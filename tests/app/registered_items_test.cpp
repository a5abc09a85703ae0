#include "app/registered_items.h"

#include <gtest/gtest.h>

namespace mitoran {
namespace {

// An index left over from before an edit must read as no item, never past the end.
TEST(RegisteredItems, AnIndexThatIsNoItemReadsEmptyAndChangesNothing) {
    RegisteredItems items;
    items.setItems({{"腕立て", 10, 500}, {"腹筋", 20, 1000}});
    const struct {
        int index;
        bool present;
        std::string name;
        std::int16_t instructed;
        std::int32_t target;
    } rows[] = {{-1, false, "", 0, 0},       {0, false, "", 0, 0}, {1, true, "腕立て", 10, 500},
                {2, true, "腹筋", 20, 1000}, {3, false, "", 0, 0}, {32767, false, "", 0, 0}};
    for (const auto& r : rows) {
        EXPECT_EQ(items.hasItem(r.index), r.present) << r.index;
        EXPECT_EQ(items.ItemNames(r.index), r.name) << r.index;
        EXPECT_EQ(items.ItemInstructed(r.index), r.instructed) << r.index;
        EXPECT_EQ(items.ItemTarget(r.index), r.target) << r.index;
    }

    for (int stale : {0, 3}) items.setItem(stale, {"背筋", 1, 1});
    items.setItem(2, {"背筋", 30, 900});
    EXPECT_EQ(items.items(), (std::vector<ItemRecord>{{"腕立て", 10, 500}, {"背筋", 30, 900}}));
    EXPECT_EQ(items.ItemCount(), 2);
}

}  // namespace
}  // namespace mitoran
