#include "Memory/MacMemory.h"

#include <gtest/gtest.h>

#include <cstring>

#include "testing/FailureInjection.h"

TEST(MacMemory, HandleKeepsBytesAcrossGrowthAndShrink) {
    Handle h = NewHandle(4);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(MemError(), noErr);
    EXPECT_EQ(GetHandleSize(h), 4);
    EXPECT_FALSE(HIsTemporary(h));
    std::memcpy(*h, "abcd", 4);
    // Growing in many small steps keeps the prefix (and stays linear through doubling).
    for (Size s = 5; s <= 5000; ++s) {
        SetHandleSize(h, s);
        ASSERT_EQ(MemError(), noErr);
        (*h)[s - 1] = static_cast<char>(s & 0x7f);
    }
    EXPECT_EQ(std::memcmp(*h, "abcd", 4), 0);
    SetHandleSize(h, 2);
    EXPECT_EQ(GetHandleSize(h), 2);
    EXPECT_EQ(std::memcmp(*h, "ab", 2), 0);
    DisposeHandle(h);
    EXPECT_EQ(MemError(), noErr);
}

TEST(MacMemory, ClearTempAndZeroSizedHandles) {
    Handle z = NewHandleClear(64);
    ASSERT_NE(z, nullptr);
    for (int i = 0; i < 64; ++i) ASSERT_EQ((*z)[i], 0);
    DisposeHandle(z);

    OSErr err = 1;
    Handle t = TempNewHandle(10, &err);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(err, noErr);
    EXPECT_TRUE(HIsTemporary(t));
    DisposeHandle(t);

    Handle e = NewHandle(0);
    ASSERT_NE(e, nullptr);
    EXPECT_NE(*e, nullptr);
    EXPECT_EQ(GetHandleSize(e), 0);
    DisposeHandle(e);
}

TEST(MacMemory, NullAndNegativeArgumentsReportStatus) {
    EXPECT_EQ(NewHandle(-1), nullptr);
    EXPECT_EQ(MemError(), memFullErr);
    EXPECT_EQ(GetHandleSize(nullptr), 0);
    EXPECT_EQ(MemError(), nilHandleErr);
    DisposeHandle(nullptr);
    EXPECT_EQ(MemError(), nilHandleErr);
    SetHandleSize(nullptr, 10);
    EXPECT_EQ(MemError(), nilHandleErr);
    Handle h = NewHandle(1);
    SetHandleSize(h, -5);
    EXPECT_EQ(MemError(), memFullErr);
    EXPECT_EQ(GetHandleSize(h), 1);
    DisposeHandle(h);
}

TEST(MacMemory, LockedBlockDoesNotMoveOrGrow) {
    Handle h = NewHandle(8);
    HLock(h);
    EXPECT_TRUE(HIsLocked(h));
    Ptr before = *h;
    SetHandleSize(h, 4);  // shrinking in place is fine
    EXPECT_EQ(MemError(), noErr);
    SetHandleSize(h, 8);  // back within capacity
    EXPECT_EQ(MemError(), noErr);
    SetHandleSize(h, 1 << 20);
    EXPECT_EQ(MemError(), memLockedErr);
    EXPECT_EQ(GetHandleSize(h), 8);
    EXPECT_EQ(*h, before);
    HUnlock(h);
    SetHandleSize(h, 1 << 20);
    EXPECT_EQ(MemError(), noErr);
    DisposeHandle(h);
}

TEST(MacMemory, InjectedAllocationFailuresKeepExistingBlocks) {
    HalyxFailureScope scope;
    HalyxInjectFailures(kHalyxFailAllocation, 0, 1);
    OSErr err = noErr;
    EXPECT_EQ(TempNewHandle(100, &err), nullptr);
    EXPECT_EQ(err, memFullErr);
    Handle h = NewHandle(3);
    ASSERT_NE(h, nullptr);
    std::memcpy(*h, "xyz", 3);
    HalyxInjectFailures(kHalyxFailAllocation, 0, 1);
    SetHandleSize(h, 1000);
    EXPECT_EQ(MemError(), memFullErr);
    EXPECT_EQ(GetHandleSize(h), 3);
    EXPECT_EQ(std::memcmp(*h, "xyz", 3), 0);
    HalyxInjectFailures(kHalyxFailAllocation, 0, 1);
    EXPECT_EQ(NewPtr(5), nullptr);
    EXPECT_EQ(MemError(), memFullErr);
    DisposeHandle(h);
}

TEST(MacMemory, CopiesBetweenPointersAndHandles) {
    Handle h = nullptr;
    ASSERT_EQ(PtrToHand("hello", &h, 5), noErr);
    Handle original = h;
    ASSERT_EQ(HandToHand(&h), noErr);
    EXPECT_NE(h, original);
    EXPECT_EQ(GetHandleSize(h), 5);
    EXPECT_EQ(std::memcmp(*h, "hello", 5), 0);
    (*original)[0] = 'j';
    EXPECT_EQ((*h)[0], 'h');
    DisposeHandle(original);
    DisposeHandle(h);
    EXPECT_EQ(PtrToHand(nullptr, &h, 3), paramErr);
    Handle null = nullptr;
    EXPECT_EQ(HandToHand(&null), nilHandleErr);
}
