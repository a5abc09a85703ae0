#include "data/short_text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace mitoran {
namespace {

// Lengths on both sides of the inline limit, with the multi-byte texts a history holds.
const std::vector<std::string> kTexts = {
    "",
    "2024年03月07日",
    std::string(ShortText::kInline, 'x'),
    std::string(ShortText::kInline + 1, 'y'),
    "2024年03月07日 手で書き足した長い日付の欄",
};

TEST(ShortText, KeepsEveryLengthWhetherInlineOrOnTheHeap) {
    for (const std::string& s : kTexts) {
        const ShortText t(s);
        EXPECT_EQ(t.view(), s);
        EXPECT_EQ(t.size(), s.size());
        EXPECT_EQ(t.empty(), s.empty());

        ShortText copy(t);
        EXPECT_EQ(copy, t);
        ShortText moved(std::move(copy));
        EXPECT_EQ(moved.view(), s);
        EXPECT_TRUE(copy.empty());  // NOLINT(bugprone-use-after-move): a moved-from text is empty
    }
}

TEST(ShortText, AssignsAcrossTheInlineLimitInBothDirections) {
    for (const std::string& from : kTexts)
        for (const std::string& to : kTexts) {
            ShortText t(from);
            t = std::string_view(to);
            EXPECT_EQ(t.view(), to) << from << " -> " << to;
            ShortText other(from);
            other = t;
            EXPECT_EQ(other.view(), to) << from << " -> " << to;
            ShortText target(from);
            target = std::move(other);
            EXPECT_EQ(target.view(), to) << from << " -> " << to;
        }
}

TEST(ShortText, AssigningAPartOfItselfKeepsTheRightBytes) {
    for (const std::string& s : kTexts) {
        if (s.size() < 2) continue;
        ShortText t(s);
        t.assign(t.view().substr(1));
        EXPECT_EQ(t.view(), s.substr(1));

        ShortText self(s);
        const ShortText& alias = self;
        self = alias;
        EXPECT_EQ(self.view(), s);
    }
}

TEST(ShortText, GrowsInsideAVectorWithoutLosingTexts) {
    std::vector<ShortText> v;
    for (int i = 0; i < 1000; ++i)
        v.emplace_back(
            std::string(static_cast<std::size_t>(i % 40), static_cast<char>('a' + i % 26)));
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(v[i].view(),
                  std::string(static_cast<std::size_t>(i % 40), static_cast<char>('a' + i % 26)));
}

}  // namespace
}  // namespace mitoran
