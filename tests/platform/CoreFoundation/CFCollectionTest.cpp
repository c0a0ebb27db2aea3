#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CoreFoundation/CFArray.h"
#include "CoreFoundation/CFDictionary.h"
#include "CoreFoundation/CFNumber.h"
#include "CoreFoundation/CFString.h"

namespace {

CFStringRef NewString(const std::string& text) {
    return CFStringCreateWithCString(nullptr, text.c_str(), kCFStringEncodingUTF8);
}

TEST(CFArray, TypeCallBacksRetainWhatTheArrayHolds) {
    CFStringRef a = NewString("a");
    CFStringRef b = NewString("b");
    CFMutableArrayRef array = CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks);
    CFArrayAppendValue(array, a);
    CFArrayAppendValue(array, b);
    CFArrayInsertValueAtIndex(array, 0, b);
    EXPECT_EQ(CFGetRetainCount(b), 3);
    CFArraySetValueAtIndex(array, 0, a);
    EXPECT_EQ(CFGetRetainCount(b), 2);
    EXPECT_EQ(CFArrayGetCount(array), 3);
    EXPECT_EQ(CFArrayGetValueAtIndex(array, 1), a);
    EXPECT_EQ(CFArrayGetValueAtIndex(array, 3), nullptr);
    EXPECT_EQ(CFArrayGetFirstIndexOfValue(array, CFRangeMake(0, 3), CFSTR("b")), 2);

    CFArrayRef copy = CFArrayCreateCopy(nullptr, array);
    EXPECT_TRUE(CFEqual(copy, array));
    CFArrayRemoveValueAtIndex(array, 0);
    CFArrayRemoveValueAtIndex(array, 7);  // out of range: ignored
    EXPECT_FALSE(CFEqual(copy, array));
    CFArrayAppendValue(const_cast<CFMutableArrayRef>(copy), b);  // immutable: ignored
    EXPECT_EQ(CFArrayGetCount(copy), 3);

    CFRelease(copy);
    CFRelease(array);
    EXPECT_EQ(CFGetRetainCount(a), 1);
    EXPECT_EQ(CFGetRetainCount(b), 1);
    CFRelease(a);
    CFRelease(b);
}

TEST(CFArray, NullCallBacksKeepRawPointersAndSortStably) {
    int values[] = {3, 1, 2, 1};
    CFMutableArrayRef array = CFArrayCreateMutable(nullptr, 0, nullptr);
    for (int& v : values) CFArrayAppendValue(array, &v);
    CFArraySortValues(
        array, CFRangeMake(0, 4),
        [](const void* x, const void* y, void*) -> CFComparisonResult {
            int a = *static_cast<const int*>(x), b = *static_cast<const int*>(y);
            return a < b ? kCFCompareLessThan : (a > b ? kCFCompareGreaterThan : kCFCompareEqualTo);
        },
        nullptr);
    std::vector<const void*> sorted(4);
    CFArrayGetValues(array, CFRangeMake(0, 4), sorted.data());
    EXPECT_EQ(sorted, (std::vector<const void*>{&values[1], &values[3], &values[2], &values[0]}));
    CFArrayAppendArray(array, array, CFRangeMake(0, 2));
    EXPECT_EQ(CFArrayGetCount(array), 6);
    CFRelease(array);
}

TEST(CFDictionary, KeysAreFoundByValueAndKeepInsertionOrder) {
    CFMutableDictionaryRef dict = CFDictionaryCreateMutable(
        nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    std::vector<CFStringRef> keys;
    for (int i = 0; i < 500; ++i) {
        CFStringRef key = NewString("key" + std::to_string(499 - i));
        CFNumberRef value = CFNumberCreate(nullptr, kCFNumberIntType, &i);
        CFDictionarySetValue(dict, key, value);
        keys.push_back(key);
        CFRelease(value);
    }
    EXPECT_EQ(CFDictionaryGetCount(dict), 500);
    // Lookup with an equal key that is a different object.
    CFStringRef probe = NewString("key10");
    int found = -1;
    ASSERT_TRUE(CFNumberGetValue(static_cast<CFNumberRef>(CFDictionaryGetValue(dict, probe)),
                                 kCFNumberIntType, &found));
    EXPECT_EQ(found, 489);

    CFDictionaryAddValue(dict, probe, CFSTR("ignored"));  // present: not replaced
    CFDictionaryReplaceValue(dict, CFSTR("absent"), CFSTR("ignored"));
    EXPECT_FALSE(CFDictionaryContainsKey(dict, CFSTR("absent")));
    CFDictionaryRemoveValue(dict, probe);
    EXPECT_FALSE(CFDictionaryContainsKey(dict, probe));
    EXPECT_TRUE(CFDictionaryContainsKey(dict, CFSTR("key11")));  // index survives removal

    std::vector<const void*> gotKeys(499);
    CFDictionaryGetKeysAndValues(dict, gotKeys.data(), nullptr);
    EXPECT_EQ(gotKeys[0], keys[0]);
    EXPECT_EQ(gotKeys[489], keys[490]);

    CFDictionaryRef copy = CFDictionaryCreateCopy(nullptr, dict);
    EXPECT_TRUE(CFEqual(copy, dict));
    CFDictionarySetValue(dict, probe, kCFBooleanTrue);
    EXPECT_FALSE(CFEqual(copy, dict));
    CFRelease(copy);
    CFRelease(probe);
    CFRelease(dict);
    for (CFStringRef key : keys) {
        EXPECT_EQ(CFGetRetainCount(key), 1);
        CFRelease(key);
    }
}

TEST(CFDictionary, CopyStringKeysAreSnapshotsAndNullCallBacksUseIdentity) {
    CFMutableStringRef key = CFStringCreateMutable(nullptr, 0);
    CFStringAppend(key, CFSTR("name"));
    CFMutableDictionaryRef dict = CFDictionaryCreateMutable(
        nullptr, 0, &kCFCopyStringDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    CFDictionarySetValue(dict, key, CFSTR("v"));
    CFStringAppend(key, CFSTR("2"));
    EXPECT_TRUE(CFDictionaryContainsKey(dict, CFSTR("name")));
    EXPECT_FALSE(CFDictionaryContainsKey(dict, key));
    CFRelease(dict);
    CFRelease(key);

    char a[] = "x", b[] = "x";
    CFMutableDictionaryRef raw = CFDictionaryCreateMutable(nullptr, 0, nullptr, nullptr);
    CFDictionarySetValue(raw, a, b);
    const void* value = nullptr;
    EXPECT_TRUE(CFDictionaryGetValueIfPresent(raw, a, &value));
    EXPECT_EQ(value, b);
    EXPECT_FALSE(CFDictionaryContainsKey(raw, b));
    CFRelease(raw);
}

TEST(CFNumber, ValuesConvertAndReportLoss) {
    SInt64 big = 5000000000LL;
    CFNumberRef n64 = CFNumberCreate(nullptr, kCFNumberSInt64Type, &big);
    SInt32 small = 0;
    EXPECT_FALSE(CFNumberGetValue(n64, kCFNumberSInt32Type, &small));
    SInt64 back = 0;
    EXPECT_TRUE(CFNumberGetValue(n64, kCFNumberLongLongType, &back));
    EXPECT_EQ(back, big);
    EXPECT_FALSE(CFNumberIsFloatType(n64));

    double half = 2.5;
    CFNumberRef real = CFNumberCreate(nullptr, kCFNumberDoubleType, &half);
    EXPECT_EQ(CFNumberGetType(real), kCFNumberFloat64Type);
    EXPECT_TRUE(CFNumberIsFloatType(real));
    int truncated = 0;
    EXPECT_FALSE(CFNumberGetValue(real, kCFNumberIntType, &truncated));
    EXPECT_EQ(truncated, 2);
    float f = 0;
    EXPECT_TRUE(CFNumberGetValue(real, kCFNumberFloat32Type, &f));
    EXPECT_EQ(f, 2.5f);

    int two = 2;
    double twoPointZero = 2.0;
    CFNumberRef i2 = CFNumberCreate(nullptr, kCFNumberIntType, &two);
    CFNumberRef d2 = CFNumberCreate(nullptr, kCFNumberFloat64Type, &twoPointZero);
    EXPECT_EQ(CFNumberGetType(i2), kCFNumberSInt32Type);
    EXPECT_TRUE(CFEqual(i2, d2));
    EXPECT_EQ(CFHash(i2), CFHash(d2));
    EXPECT_EQ(CFNumberCompare(i2, real, nullptr), kCFCompareLessThan);
    EXPECT_EQ(CFNumberCreate(nullptr, 99, &two), nullptr);

    EXPECT_TRUE(CFBooleanGetValue(kCFBooleanTrue));
    EXPECT_FALSE(CFBooleanGetValue(kCFBooleanFalse));
    EXPECT_FALSE(CFEqual(kCFBooleanTrue, kCFBooleanFalse));
    EXPECT_FALSE(CFEqual(kCFBooleanTrue, i2));
    CFRelease(kCFBooleanTrue);  // constants survive
    EXPECT_TRUE(CFBooleanGetValue(kCFBooleanTrue));

    CFRelease(i2);
    CFRelease(d2);
    CFRelease(real);
    CFRelease(n64);
}

}  // namespace
