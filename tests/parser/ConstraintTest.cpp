// The constraint forest with its trees and lists, and the keyword index.
#include <gtest/gtest.h>

#include <memory>

#include "parser/ConstraintForest.h"
#include "parser/ItemConstraintList.h"
#include "parser/KeyConstraintTree.h"
#include "parser/KeywordTo_PPDControl.h"

namespace {

typedef ItemConstraintList::Pair Pair;

std::unique_ptr<ItemConstraintList> ListOf(const ConstraintForest& forest, long k1, long o1) {
    return std::unique_ptr<ItemConstraintList>(forest.GetConstraintList(k1, o1));
}

}  // namespace

TEST(ItemConstraintList, KeepsPairsInOrderAndJoins) {
    ItemConstraintList first(3);
    first.insert(1, 2);
    first.insert(Pair(4, 5));
    ItemConstraintList second(9);
    second.insert(6, 7);

    ItemConstraintList sum = first + second;
    EXPECT_EQ(sum.ChoiceId(), 3);
    ASSERT_EQ(sum.size(), 3u);
    EXPECT_EQ(sum[0], Pair(1, 2));
    EXPECT_EQ(sum[1], Pair(4, 5));
    EXPECT_EQ(sum[2], Pair(6, 7));
    EXPECT_EQ(sum[3], Pair(-1, -1));
    EXPECT_EQ(first.size(), 2u);

    first += first;
    ASSERT_EQ(first.size(), 4u);
    EXPECT_EQ(first[2], Pair(1, 2));
    EXPECT_EQ(first[3], Pair(4, 5));
}

TEST(ConstraintForest, IdenticalInsertionsAreStoredTwice) {
    ConstraintForest forest;
    EXPECT_TRUE(forest.insert(0, 1, 2, 3));
    EXPECT_TRUE(forest.insert(0, 1, 2, 3));
    auto list = ListOf(forest, 0, 1);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->size(), 2u);
    EXPECT_EQ((*list)[0], Pair(2, 3));
    EXPECT_EQ((*list)[1], Pair(2, 3));
}

TEST(ConstraintForest, AnyChoiceJoinsEveryChoiceInKeyOrder) {
    ConstraintForest forest;
    // Inserted out of choice order: the joined list follows the choice ids, then insertion order.
    forest.insert(7, 5, 50, 51);
    forest.insert(7, 2, 20, 21);
    forest.insert(7, 5, 52, 53);
    forest.insert(7, 0, 10, 11);
    forest.insert(8, 0, 99, 99);

    auto all = ListOf(forest, 7, -1);
    ASSERT_NE(all, nullptr);
    ASSERT_EQ(all->size(), 4u);
    EXPECT_EQ((*all)[0], Pair(10, 11));
    EXPECT_EQ((*all)[1], Pair(20, 21));
    EXPECT_EQ((*all)[2], Pair(50, 51));
    EXPECT_EQ((*all)[3], Pair(52, 53));

    auto five = ListOf(forest, 7, 5);
    ASSERT_NE(five, nullptr);
    ASSERT_EQ(five->size(), 2u);
    EXPECT_EQ((*five)[1], Pair(52, 53));
}

TEST(ConstraintForest, UnknownKeywordGivesNullAndUnknownChoiceAnEmptyList) {
    ConstraintForest forest;
    forest.insert(1, 1, 2, 2);
    EXPECT_EQ(ListOf(forest, 4, -1), nullptr);
    auto none = ListOf(forest, 1, 3);
    ASSERT_NE(none, nullptr);
    EXPECT_EQ(none->size(), 0u);

    const KeyConstraintTree* tree = forest.GetTree(1);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->KeywordId(), 1);
    EXPECT_NE(tree->GetItemConstraintList(1), nullptr);
    EXPECT_EQ(tree->GetItemConstraintList(3), nullptr);
}

TEST(ConstraintForest, ManyFirstPairsInterleavedKeepEachListInLineOrder) {
    // Enough (keyword, choice) pairs for the forest's index to grow several times, each met
    // again after all the others, with the empty choice (-1 as an id is never stored) beside them.
    ConstraintForest forest;
    const long keys = 40;
    const long choices = 7;
    for (long round = 0; round < 3; ++round)
        for (long k = 0; k < keys; ++k)
            for (long o = 0; o < choices; ++o) ASSERT_TRUE(forest.insert(k, o, round, k * o));
    EXPECT_EQ(forest.GetTrees().size(), static_cast<size_t>(keys));
    for (long k = 0; k < keys; k += 13) {
        for (long o = 0; o < choices; ++o) {
            auto list = ListOf(forest, k, o);
            ASSERT_NE(list, nullptr);
            ASSERT_EQ(list->size(), 3u);
            for (long round = 0; round < 3; ++round)
                EXPECT_EQ((*list)[static_cast<unsigned long>(round)], Pair(round, k * o));
        }
        auto all = ListOf(forest, k, -1);
        ASSERT_NE(all, nullptr);
        EXPECT_EQ(all->size(), static_cast<unsigned long>(3 * choices));
        EXPECT_EQ((*all)[3], Pair(0, k));
    }
}

namespace {

// Distinct addresses standing for controls; the index never looks inside them.
PPDXControl* Fake(int n) {
    static char slots[8];
    return reinterpret_cast<PPDXControl*>(&slots[n]);
}

}  // namespace

TEST(KeywordTo_PPDControl, SortedLookupFindsExactKeywordsOnly) {
    KeywordTo_PPDControl index;
    index.insert("*PageSize", Fake(0));
    index.insert("*Duplex", Fake(1));
    index.insert("*InputSlot", Fake(2));
    index.insert("*pagesize", Fake(3));
    index.EndInsertion();
    ASSERT_TRUE(index.Sorted());

    EXPECT_EQ(index.Lookup("*Duplex"), Fake(1));
    EXPECT_EQ(index.Lookup("*PageSize"), Fake(0));
    EXPECT_EQ(index.Lookup("*pagesize"), Fake(3));
    // Absent, though a greater keyword exists and a lesser one shares its start.
    EXPECT_EQ(index.Lookup("*Dup"), nullptr);
    EXPECT_EQ(index.Lookup("*InputSlotX"), nullptr);
    EXPECT_EQ(index.Lookup("*A"), nullptr);
    EXPECT_EQ(index.Lookup("*zzz"), nullptr);
    EXPECT_EQ(index.Lookup(static_cast<const char*>(nullptr)), nullptr);

    // Byte order: upper case before lower case.
    ASSERT_EQ(index.size(), 4u);
    EXPECT_STREQ(index[0].mKeyword, "*Duplex");
    EXPECT_STREQ(index[3].mKeyword, "*pagesize");

    EXPECT_STREQ(index.Lookup(Fake(2)), "*InputSlot");
    EXPECT_EQ(index.Lookup(Fake(5)), nullptr);
}

TEST(KeywordTo_PPDControl, InsertAfterSortingIsStillFound) {
    KeywordTo_PPDControl index;
    index.insert("*B", Fake(0));
    index.EndInsertion();
    index.insert("*A", Fake(1));
    EXPECT_FALSE(index.Sorted());
    EXPECT_EQ(index.Lookup("*A"), Fake(1));
    index.EndInsertion();
    EXPECT_EQ(index.Lookup("*A"), Fake(1));
    EXPECT_EQ(index.Lookup("*B"), Fake(0));
}

TEST(KeywordTo_PPDControl, NullKeywordsSortLastAndAreNeverFound) {
    KeywordTo_PPDControl index;
    index.insert(nullptr, Fake(0));
    index.insert("*Z", Fake(1));
    index.EndInsertion();
    EXPECT_STREQ(index[0].mKeyword, "*Z");
    EXPECT_EQ(index[1].mKeyword, nullptr);
    EXPECT_EQ(index.Lookup("*Z"), Fake(1));
    EXPECT_EQ(index.Lookup(Fake(0)), nullptr);
}

TEST(KeywordTo_PPDControl, RepeatedKeywordFindsTheFirstInsertedSortedOrNot) {
    KeywordTo_PPDControl index;
    index.insert("*M", Fake(0));
    index.insert("*A", Fake(1));
    index.insert("*M", Fake(2));
    EXPECT_EQ(index.Lookup("*M"), Fake(0));
    index.EndInsertion();
    EXPECT_EQ(index.Lookup("*M"), Fake(0));
    ASSERT_EQ(index.size(), 3u);
    EXPECT_EQ(index[1].mControl, Fake(0));
    EXPECT_EQ(index[2].mControl, Fake(2));
}
