#include "settings/SettingsStrings.h"

#include <gtest/gtest.h>

#include <vector>

#include "CoreFoundation/CFData.h"
#include "foundation/CString.h"
#include "settings/Settings.h"
#include "testing/FailureInjection.h"

namespace {

const FourCharCode kTag = 3000;

TEST(SettingsStrings, ByteStringRecordsComeBackTerminated) {
    Settings s;
    ASSERT_EQ(s.Add(kTag, 1, "*ModelName", 10), noErr);
    ASSERT_EQ(s.Add(kTag, 2, "", 0), noErr);
    ASSERT_EQ(s.Add(kTag, 3, "ab\0cd", 5), noErr);

    CString* text = GetSettingsString(s, kTag, 1);
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(*text == "*ModelName");
    EXPECT_EQ(text->Size(), 10u);
    delete text;

    EXPECT_EQ(GetSettingsString(s, kTag, 2), nullptr);
    EXPECT_EQ(GetSettingsString(s, kTag, 99), nullptr);
    CString* cut = GetSettingsString(s, kTag, 3);
    ASSERT_NE(cut, nullptr);
    EXPECT_TRUE(*cut == "ab");
    delete cut;
}

// A missing record is the reader's ordinary "nothing there"; a record that is there but cannot
// be taken in for want of memory gives the same null and is counted, so a rebuild can refuse.
TEST(SettingsStrings, OnlyARecordThatCannotBeTakenInCountsAsAReadFailure) {
    Settings s;
    ASSERT_EQ(s.Add(kTag, 1, "*ModelName", 10), noErr);
    ASSERT_EQ(s.Add(kTag, 2, "", 0), noErr);
    EXPECT_EQ(GetSettingsString(s, kTag, 99), nullptr);
    EXPECT_EQ(GetSettingsCFString(s, kTag, 99), nullptr);
    EXPECT_EQ(GetSettingsString(s, kTag, 2), nullptr);
    EXPECT_EQ(s.ReadFailures(), 0);

    HalyxFailureScope scope;
    HalyxInjectFailures(kHalyxFailAllocation, 0, 1);
    EXPECT_EQ(GetSettingsString(s, kTag, 1), nullptr);
    EXPECT_EQ(s.ReadFailures(), 1);
    // Long records are read into a block of their own.
    std::vector<UInt8> name = {0xFF, 0xFE};
    name.resize(600, 'n');
    ASSERT_EQ(s.Add(kTag, 3, name.data(), static_cast<SInt32>(name.size())), noErr);
    HalyxInjectFailures(kHalyxFailAllocation, 0, 1);
    EXPECT_EQ(GetSettingsCFString(s, kTag, 3), nullptr);
    EXPECT_EQ(s.ReadFailures(), 2);

    // The count belongs to the reader, not to the records: a copy starts afresh.
    Settings copy(s);
    EXPECT_EQ(copy.ReadFailures(), 0);
    s.ClearReadFailures();
    EXPECT_EQ(s.ReadFailures(), 0);
}

TEST(SettingsStrings, PlatformStringsRoundTripThroughTheirExternalForm) {
    const UniChar chars[] = {'J', 'o', 'b', ' ', 0x00e9, 0x20ac, 0xd83d, 0xde00};
    CFStringRef original = CFStringCreateWithCharacters(kCFAllocatorDefault, chars, 8);
    ASSERT_NE(original, nullptr);

    SInt32 length = -1;
    UInt8* external = CFStringToExternal(original, &length);
    ASSERT_NE(external, nullptr);
    // UTF-16 with a byte-order mark.
    EXPECT_EQ(length, 2 * (8 + 1));

    Settings s;
    ASSERT_EQ(s.Add(kTag, 7, external, length), noErr);
    delete[] external;
    CFStringRef back = GetSettingsCFString(s, kTag, 7);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(CFStringCompare(original, back, 0), kCFCompareEqualTo);
    CFRelease(back);

    CFStringRef empty = CFStringCreateWithCharacters(kCFAllocatorDefault, chars, 0);
    UInt8* emptyExternal = CFStringToExternal(empty, &length);
    EXPECT_NE(emptyExternal, nullptr);
    delete[] emptyExternal;
    CFRelease(empty);
    CFRelease(original);

    EXPECT_EQ(CFStringToExternal(nullptr, &length), nullptr);
    EXPECT_EQ(length, 0);
    EXPECT_EQ(ExtenalToCFString(nullptr, 4), nullptr);
    ASSERT_EQ(s.Add(kTag, 8, "", 0), noErr);
    EXPECT_EQ(GetSettingsCFString(s, kTag, 8), nullptr);
    EXPECT_EQ(GetSettingsCFString(s, kTag, 9), nullptr);
}

// Records read back exactly as the platform's own reading of an external representation would,
// whatever their byte order, length or surrogates, and from the stack or from a block alike.
TEST(SettingsStrings, ExternalFormsReadLikeThePlatformReadsThem) {
    const std::vector<std::vector<UInt8>> forms = {
        {0xFF, 0xFE, 'a', 0, 0x3D, 0xD8, 0x00, 0xDE},  // little-endian, with a pair
        {0xFE, 0xFF, 0, 'a', 0xD8, 0x3D, 0xDE, 0x00},  // big-endian, with a pair
        {0xFF, 0xFE},                                  // the mark alone
        {0xFF, 0xFE, 'a', 0, 0x3D, 0xD8},              // a high surrogate at the end
        {0xFF, 0xFE, 0x00, 0xDE, 'a', 0},              // a low surrogate alone
        {0xFF, 0xFE, 0x3D, 0xD8, 'a', 0},              // a high surrogate before a letter
        {0xFF, 0xFE, 'a', 0, 'b'},                     // an odd length
        {'a', 0, 'b', 0},                              // no mark
    };
    std::vector<UInt8> longForm = {0xFF, 0xFE};
    for (int i = 0; i < 300; ++i) longForm.insert(longForm.end(), {UInt8('a' + i % 26), 0});
    std::vector<std::vector<UInt8>> all = forms;
    all.push_back(longForm);
    Settings s;
    for (size_t k = 0; k < all.size(); ++k) {
        const std::vector<UInt8>& form = all[k];
        CFDataRef data = CFDataCreate(kCFAllocatorDefault, form.data(), form.size());
        CFStringRef expected = CFStringCreateFromExternalRepresentation(kCFAllocatorDefault, data,
                                                                        kCFStringEncodingUnicode);
        CFRelease(data);
        ASSERT_EQ(s.Add(kTag, 100, form.data(), static_cast<SInt32>(form.size())), noErr);
        CFStringRef direct = ExtenalToCFString(form.data(), static_cast<SInt32>(form.size()));
        CFStringRef stored = GetSettingsCFString(s, kTag, 100);
        for (CFStringRef got : {direct, stored}) {
            EXPECT_EQ(got == nullptr, expected == nullptr) << "form " << k;
            if (got != nullptr && expected != nullptr) {
                EXPECT_EQ(CFStringCompare(got, expected, 0), kCFCompareEqualTo) << "form " << k;
            }
        }
        for (CFStringRef string : {expected, direct, stored})
            if (string != nullptr) CFRelease(string);
    }
    EXPECT_EQ(s.ReadFailures(), 0);
}

}  // namespace
