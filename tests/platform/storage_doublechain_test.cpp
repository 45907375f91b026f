#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/storage/DoubleChain.h"

namespace {

std::vector<std::string> Keys(const DC_Chain& chain) {
    std::vector<std::string> keys;
    for (const DC_Entry& e : chain) keys.push_back(e.key);
    return keys;
}

using Keys_t = std::vector<std::string>;

TEST(DoubleChain, KeepsInsertionOrderAndReplacesInPlace) {
    DC_Chain chain;
    DC_Put(chain, "zeta", "1");
    DC_Put(chain, "alpha", "2");
    DC_Put(chain, "mid", "3");
    DC_Put(chain, "zeta", "4");
    EXPECT_EQ(Keys(chain), (Keys_t{"zeta", "alpha", "mid"}));
    ASSERT_NE(DC_Find(chain, "zeta"), nullptr);
    EXPECT_EQ(DC_Find(chain, "zeta")->value, "4");
    EXPECT_EQ(DC_Count(chain), 3u);

    EXPECT_TRUE(DC_Remove(chain, "alpha"));
    EXPECT_FALSE(DC_Remove(chain, "alpha"));
    EXPECT_EQ(DC_Find(chain, "alpha"), nullptr);
    DC_Put(chain, "alpha", "5");  // a removed key comes back at the end
    EXPECT_EQ(Keys(chain), (Keys_t{"zeta", "mid", "alpha"}));
}

TEST(DoubleChain, RemovePrefixTakesExactlyTheMatchingKeys) {
    DC_Chain chain;
    for (const char* k : {"ch.b", "ch", "c", "ch.a", "chx", "d", "ch."}) DC_Put(chain, k, "v");
    EXPECT_EQ(DC_RemovePrefix(chain, "ch."), 3u);
    EXPECT_EQ(Keys(chain), (Keys_t{"ch", "c", "chx", "d"}));
    EXPECT_EQ(DC_Find(chain, "ch.a"), nullptr);
    EXPECT_EQ(DC_RemovePrefix(chain, "nothing"), 0u);
    EXPECT_EQ(DC_RemovePrefix(chain, ""), 4u);
    EXPECT_EQ(DC_Count(chain), 0u);
    EXPECT_EQ(chain.begin(), chain.end());
}

TEST(DoubleChain, LookupsSurviveAMove) {
    DC_Chain chain;
    DC_Put(chain, "a", "1");
    DC_Put(chain, "b", "2");
    DC_Chain moved = std::move(chain);
    DC_Put(moved, "a", "3");
    EXPECT_TRUE(DC_Remove(moved, "b"));
    ASSERT_EQ(Keys(moved), (Keys_t{"a"}));
    EXPECT_EQ(moved.begin()->value, "3");
}

}  // namespace
