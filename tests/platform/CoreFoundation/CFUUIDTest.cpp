#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "CoreFoundation/CFString.h"
#include "CoreFoundation/CFUUID.h"

namespace {

std::string Take(CFStringRef str) {
    char buffer[64] = "";
    CFStringGetCString(str, buffer, sizeof buffer, kCFStringEncodingASCII);
    CFRelease(str);
    return buffer;
}

TEST(CFUUID, TextAndBytesRoundTrip) {
    CFUUIDRef parsed =
        CFUUIDCreateFromString(nullptr, CFSTR("{dd2a9b2e-1f0c-4d6b-9a2e-0123456789ab}"));
    ASSERT_NE(parsed, nullptr);
    EXPECT_EQ(Take(CFUUIDCreateString(nullptr, parsed)), "DD2A9B2E-1F0C-4D6B-9A2E-0123456789AB");
    CFUUIDBytes bytes = CFUUIDGetUUIDBytes(parsed);
    EXPECT_EQ(bytes.byte0, 0xDD);
    EXPECT_EQ(bytes.byte15, 0xAB);

    CFUUIDRef fromBytes = CFUUIDCreateFromUUIDBytes(nullptr, bytes);
    CFUUIDRef constant =
        CFUUIDGetConstantUUIDWithBytes(nullptr, 0xDD, 0x2A, 0x9B, 0x2E, 0x1F, 0x0C, 0x4D, 0x6B,
                                       0x9A, 0x2E, 0x01, 0x23, 0x45, 0x67, 0x89, 0xAB);
    EXPECT_TRUE(CFEqual(fromBytes, parsed));
    EXPECT_TRUE(CFEqual(constant, parsed));
    EXPECT_EQ(CFHash(constant), CFHash(parsed));
    EXPECT_EQ(constant,
              CFUUIDGetConstantUUIDWithBytes(nullptr, 0xDD, 0x2A, 0x9B, 0x2E, 0x1F, 0x0C, 0x4D,
                                             0x6B, 0x9A, 0x2E, 0x01, 0x23, 0x45, 0x67, 0x89, 0xAB));
    CFRelease(constant);  // constants ignore releases
    EXPECT_TRUE(CFEqual(constant, parsed));
    CFRelease(fromBytes);
    CFRelease(parsed);
}

TEST(CFUUID, MalformedTextGivesNull) {
    for (const char* bad :
         {"", "DD2A9B2E-1F0C-4D6B-9A2E-0123456789A", "DD2A9B2E-1F0C-4D6B-9A2E-0123456789ABC",
          "DD2A9B2E+1F0C-4D6B-9A2E-0123456789AB", "DD2A9B2E-1F0C-4D6B-9A2E-0123456789AG",
          "{DD2A9B2E-1F0C-4D6B-9A2E-0123456789AB"}) {
        CFStringRef str = CFStringCreateWithCString(nullptr, bad, kCFStringEncodingASCII);
        EXPECT_EQ(CFUUIDCreateFromString(nullptr, str), nullptr) << bad;
        CFRelease(str);
    }
}

TEST(CFUUID, RandomIdentifiersDifferAndCarryTheirVersion) {
    std::set<std::string> seen;
    for (int i = 0; i < 64; ++i) {
        CFUUIDRef uuid = CFUUIDCreate(nullptr);
        CFUUIDBytes bytes = CFUUIDGetUUIDBytes(uuid);
        EXPECT_EQ(bytes.byte6 >> 4, 4);
        EXPECT_EQ(bytes.byte8 >> 6, 2);
        seen.insert(Take(CFUUIDCreateString(nullptr, uuid)));
        CFRelease(uuid);
    }
    EXPECT_EQ(seen.size(), 64u);
}

}  // namespace
