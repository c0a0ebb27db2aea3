#include <gtest/gtest.h>

#include <string>

#include "CoreFoundation/CFData.h"

namespace {

std::string Contents(CFDataRef data) {
    return std::string(reinterpret_cast<const char*>(CFDataGetBytePtr(data)),
                       static_cast<size_t>(CFDataGetLength(data)));
}

TEST(CFData, MutableDataGrowsShrinksAndEditsInPlace) {
    CFMutableDataRef data = CFDataCreateMutable(nullptr, 0);
    EXPECT_EQ(CFDataGetLength(data), 0);
    EXPECT_NE(CFDataGetBytePtr(data), nullptr);
    CFDataAppendBytes(data, reinterpret_cast<const UInt8*>("hello"), 5);
    // Appending the value's own bytes must survive reallocation.
    CFDataAppendBytes(data, CFDataGetBytePtr(data), CFDataGetLength(data));
    EXPECT_EQ(Contents(data), "hellohello");
    CFDataReplaceBytes(data, CFRangeMake(1, 3), reinterpret_cast<const UInt8*>("EYY"), 3);
    CFDataDeleteBytes(data, CFRangeMake(5, 100));
    EXPECT_EQ(Contents(data), "hEYYo");
    CFDataSetLength(data, 7);
    EXPECT_EQ(Contents(data), std::string("hEYYo\0\0", 7));
    CFDataGetMutableBytePtr(data)[0] = 'H';

    UInt8 middle[3];
    CFDataGetBytes(data, CFRangeMake(1, 3), middle);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(middle), 3), "EYY");

    CFDataRef copy = CFDataCreateCopy(nullptr, data);
    EXPECT_TRUE(CFEqual(copy, data));
    EXPECT_EQ(CFHash(copy), CFHash(data));
    EXPECT_EQ(CFDataGetMutableBytePtr(const_cast<CFMutableDataRef>(copy)), nullptr);
    CFDataAppendBytes(const_cast<CFMutableDataRef>(copy), middle, 3);  // ignored
    EXPECT_EQ(CFDataGetLength(copy), 7);
    CFDataSetLength(data, 1);
    EXPECT_FALSE(CFEqual(copy, data));
    CFRelease(copy);
    CFRelease(data);
}

TEST(CFData, BadArgumentsGiveNullOrNothing) {
    EXPECT_EQ(CFDataCreate(nullptr, nullptr, 3), nullptr);
    EXPECT_EQ(CFDataCreate(nullptr, reinterpret_cast<const UInt8*>("x"), -1), nullptr);
    CFDataRef empty = CFDataCreate(nullptr, nullptr, 0);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(CFDataGetLength(empty), 0);
    EXPECT_EQ(CFDataGetLength(nullptr), 0);
    CFRelease(empty);
}

}  // namespace
