#include "foundation/PointerList.h"

#include <gtest/gtest.h>

#include <vector>

#include "testing/FailureInjection.h"

namespace {

std::vector<int> Values(const PointerList& list) {
    std::vector<int> out;
    for (ConstPointerListItr it = list.Begin(); it != list.End(); ++it)
        out.push_back(*static_cast<const int*>(*it));
    return out;
}

std::vector<int> ValuesBackwards(PointerList& list) {
    std::vector<int> out;
    PointerListItr it = list.End();
    while (--it != PointerListItr() && *it != nullptr) out.push_back(*static_cast<int*>(*it));
    return out;
}

TEST(PointerList, EmptyListHasNoElements) {
    PointerList list;
    EXPECT_TRUE(list.Empty());
    EXPECT_EQ(list.Size(), 0u);
    EXPECT_EQ(list.Front(), nullptr);
    EXPECT_EQ(list.Back(), nullptr);
    EXPECT_EQ(*list.End(), nullptr);
    EXPECT_TRUE(list.Begin() == list.End());
    list.PopFront();
    list.PopBack();
    EXPECT_EQ(list.Size(), 0u);
}

TEST(PointerList, InsertionsKeepOrderBothWays) {
    int a = 1, b = 2, c = 3, d = 4;
    PointerList list;
    list.PushBack(&b);
    list.PushFront(&a);
    PointerListItr at = list.PushBack(&d);
    PointerListItr inserted = list.InsertBefore(at, &c);
    EXPECT_EQ(*inserted, &c);
    EXPECT_EQ(Values(list), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(ValuesBackwards(list), (std::vector<int>{4, 3, 2, 1}));
    EXPECT_EQ(list.Front(), &a);
    EXPECT_EQ(list.Back(), &d);
    EXPECT_EQ(list.Size(), 4u);

    PointerListItr it = list.Begin();
    PointerListItr old = it++;
    EXPECT_EQ(*old, &a);
    EXPECT_EQ(*it, &b);
    old = it--;
    EXPECT_EQ(*old, &b);
    EXPECT_EQ(*it, &a);
}

TEST(PointerList, EraseUnlinksOnlyNodes) {
    int v[5] = {10, 11, 12, 13, 14};
    PointerList list;
    for (int& x : v) list.PushBack(&x);

    PointerListItr second = ++list.Begin();
    PointerListItr after = list.Erase(second);
    EXPECT_EQ(*after, &v[2]);
    EXPECT_EQ(Values(list), (std::vector<int>{10, 12, 13, 14}));

    // A null position erases nothing and yields Begin(); so do the sentinels.
    EXPECT_TRUE(list.Erase(PointerListItr()) == list.Begin());
    EXPECT_TRUE(list.Erase(list.End()) == list.Begin());
    EXPECT_EQ(list.Size(), 4u);

    PointerListItr last = list.End();
    --last;
    PointerListItr result = list.Erase(list.Begin(), last);
    EXPECT_TRUE(result == last);
    EXPECT_EQ(Values(list), (std::vector<int>{14}));
    list.PopBack();
    EXPECT_TRUE(list.Empty());
    EXPECT_EQ(v[1], 11);  // the elements themselves are untouched
}

TEST(PointerList, CopiesShareElementsAndSelfAssignmentIsHarmless) {
    int a = 1, b = 2;
    PointerList list;
    list.PushBack(&a);
    list.PushBack(&b);
    PointerList copy(list);
    EXPECT_EQ(copy.Front(), &a);
    EXPECT_EQ(copy.Back(), &b);

    PointerList other;
    other.PushBack(&b);
    other = list;
    EXPECT_EQ(Values(other), (std::vector<int>{1, 2}));

    PointerList& alias = other;
    other = alias;
    EXPECT_EQ(Values(other), (std::vector<int>{1, 2}));
    list.MakeEmpty();
    EXPECT_EQ(copy.Size(), 2u);
}

TEST(PointerList, InsertionThatRunsOutOfMemoryAddsNothing) {
    HalyxFailureScope scope;
    int a = 1;
    PointerList list;
    HalyxInjectFailures(kHalyxFailAllocation, 0, 1);
    PointerListItr it = list.PushBack(&a);
    EXPECT_EQ(it.Node(), nullptr);
    EXPECT_TRUE(list.Empty());
    EXPECT_TRUE(list.Begin() == list.End());
    list.PushBack(&a);
    EXPECT_EQ(list.Size(), 1u);
}

TEST(PointerList, LargeListsDroppedAndBuiltAgainReuseNodesIntact) {
    // More nodes than the first kept array holds, dropped and built again twice: every node
    // taken back is a whole node of its own, and a failed allocation still fails with kept
    // nodes at hand.
    std::vector<int> values(5000);
    for (size_t i = 0; i < values.size(); ++i) values[i] = static_cast<int>(i);
    std::vector<int> expected(values.begin(), values.end());
    for (int round = 0; round < 3; ++round) {
        PointerList first;
        PointerList second;
        for (size_t i = 0; i < values.size(); ++i) (i % 2 ? first : second).PushBack(&values[i]);
        PointerList joined;
        for (size_t i = 0; i < values.size(); ++i) joined.PushBack(&values[i]);
        ASSERT_EQ(Values(joined), expected);
        EXPECT_EQ(first.Size() + second.Size(), values.size());
    }
    HalyxFailureScope scope;
    PointerList list;
    HalyxInjectFailures(kHalyxFailAllocation, 0, 1);
    EXPECT_EQ(list.PushBack(&values[0]).Node(), nullptr);
    list.PushBack(&values[1]);
    EXPECT_EQ(Values(list), (std::vector<int>{1}));
}

TEST(PointerList, IteratorsStopAtNullPositions) {
    PointerListItr none;
    ++none;
    --none;
    EXPECT_EQ(*none, nullptr);
    ConstPointerListItr cnone;
    cnone++;
    EXPECT_EQ(*cnone, nullptr);
}

}  // namespace
