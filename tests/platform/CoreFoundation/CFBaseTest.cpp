#include <gtest/gtest.h>

#include <string>

#include "CoreFoundation/CoreFoundation.h"

namespace {

std::string Take(CFStringRef str) {
    char buffer[512] = "";
    CFStringGetCString(str, buffer, sizeof buffer, kCFStringEncodingUTF8);
    CFRelease(str);
    return buffer;
}

TEST(CFBase, DescriptionsShowNestedValuesInOrder) {
    int seven = 7;
    CFNumberRef number = CFNumberCreate(nullptr, kCFNumberIntType, &seven);
    const void* items[] = {CFSTR("x \xC3\xA4"), number, kCFBooleanTrue};
    CFArrayRef array = CFArrayCreate(nullptr, items, 3, &kCFTypeArrayCallBacks);
    CFMutableDictionaryRef dict = CFDictionaryCreateMutable(
        nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    CFDictionarySetValue(dict, CFSTR("z"), array);
    CFDictionarySetValue(dict, CFSTR("a"), CFSTR("last"));
    EXPECT_EQ(Take(CFCopyDescription(dict)), "{z = (x \xC3\xA4, 7, true); a = last}");

    testing::internal::CaptureStderr();
    CFShow(array);
    CFShow(nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "(x \xC3\xA4, 7, true)\n(null)\n");

    EXPECT_EQ(CFCopyDescription(nullptr), nullptr);
    EXPECT_EQ(CFGetTypeID(nullptr), 0u);
    EXPECT_EQ(CFGetRetainCount(nullptr), 0);
    EXPECT_FALSE(CFEqual(dict, nullptr));
    EXPECT_TRUE(CFEqual(nullptr, nullptr));
    EXPECT_FALSE(CFEqual(array, dict));  // different types never compare equal
    CFRelease(dict);
    CFRelease(array);
    CFRelease(number);
}

TEST(CFBase, TypeIdsAreDistinct) {
    const CFTypeID ids[] = {CFStringGetTypeID(),     CFDataGetTypeID(),   CFArrayGetTypeID(),
                            CFDictionaryGetTypeID(), CFNumberGetTypeID(), CFBooleanGetTypeID(),
                            CFURLGetTypeID(),        CFUUIDGetTypeID(),   CFBundleGetTypeID(),
                            CFErrorGetTypeID()};
    for (size_t i = 0; i < sizeof ids / sizeof ids[0]; ++i) {
        for (size_t j = i + 1; j < sizeof ids / sizeof ids[0]; ++j) EXPECT_NE(ids[i], ids[j]);
    }
}

}  // namespace

extern "C" CFDictionaryRef HalyxCFBuildFromC(void);

namespace {

TEST(CFBase, HeadersServeCHosts) {
    CFDictionaryRef dict = HalyxCFBuildFromC();
    ASSERT_NE(dict, nullptr);
    EXPECT_EQ(CFDictionaryGetCount(dict), 2);
    EXPECT_TRUE(CFEqual(CFDictionaryGetValue(dict, CFSTR("name")), CFSTR("Halyx")));
    int count = 0;
    EXPECT_TRUE(
        CFNumberGetValue(static_cast<CFNumberRef>(CFDictionaryGetValue(dict, CFSTR("count"))),
                         kCFNumberIntType, &count));
    EXPECT_EQ(count, 3);
    CFRelease(dict);
}

}  // namespace
