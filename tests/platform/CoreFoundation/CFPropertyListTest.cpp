#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "CoreFoundation/CoreFoundation.h"

namespace {

const std::string kDataDir = std::string(HALYX_TEST_DATA_DIR) + "/platform/CoreFoundation/plist/";

CFDataRef ReadFile(const std::string& path) {
    CFURLRef url = CFURLCreateFromFileSystemRepresentation(
        nullptr, reinterpret_cast<const UInt8*>(path.c_str()), static_cast<CFIndex>(path.size()),
        false);
    CFDataRef data = nullptr;
    SInt32 status = 0;
    CFURLCreateDataAndPropertiesFromResource(nullptr, url, &data, nullptr, nullptr, &status);
    CFRelease(url);
    return data;
}

CFDataRef DataOf(const std::string& text) {
    return CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(text.data()),
                        static_cast<CFIndex>(text.size()));
}

std::string Text(CFTypeRef str) {
    char buffer[512];
    if (CFGetTypeID(str) != CFStringGetTypeID()) return "(not a string)";
    CFStringGetCString(static_cast<CFStringRef>(str), buffer, sizeof buffer, kCFStringEncodingUTF8);
    return buffer;
}

CFTypeRef Get(CFTypeRef dict, const char* key) {
    return CFDictionaryGetValue(static_cast<CFDictionaryRef>(dict), HalyxCFStringMakeConstant(key));
}

SInt64 IntegerAt(CFTypeRef array, CFIndex i) {
    SInt64 value = 0;
    CFNumberGetValue(
        static_cast<CFNumberRef>(CFArrayGetValueAtIndex(static_cast<CFArrayRef>(array), i)),
        kCFNumberSInt64Type, &value);
    return value;
}

TEST(CFPropertyList, HandWrittenListReadsBack) {
    CFDataRef xml = ReadFile(kDataDir + "handwritten.plist");
    ASSERT_NE(xml, nullptr);
    CFStringRef error = nullptr;
    CFTypeRef plist =
        CFPropertyListCreateFromXMLData(nullptr, xml, kCFPropertyListImmutable, &error);
    ASSERT_NE(plist, nullptr) << Text(error);
    EXPECT_EQ(error, nullptr);
    ASSERT_EQ(CFGetTypeID(plist), CFDictionaryGetTypeID());

    EXPECT_EQ(Text(Get(plist, "Entities")), "Fish & Chips <hot> \"now\" 'ok' AB");
    EXPECT_EQ(Text(Get(plist, "CDATA")), "<not> & an element");
    EXPECT_EQ(Text(Get(plist, "Mixed")), "ab&c");
    EXPECT_EQ(Text(Get(plist, "EmptyString")), "");
    EXPECT_EQ(Text(Get(plist, "EmptyPair")), "");
    EXPECT_EQ(Text(Get(plist, "Spaces")), "  kept  ");
    EXPECT_EQ(Text(Get(plist, "Unicode")),
              "Gr\xC3\xBC\xC3\x9F"
              "e \xE2\x80\xA2 \xE2\x80\xA6");
    EXPECT_EQ(CFDictionaryGetCount(static_cast<CFDictionaryRef>(Get(plist, "EmptyDict"))), 0);
    EXPECT_EQ(CFArrayGetCount(static_cast<CFArrayRef>(Get(plist, "EmptyArray"))), 0);

    CFTypeRef numbers = Get(plist, "Numbers");
    ASSERT_EQ(CFArrayGetCount(static_cast<CFArrayRef>(numbers)), 7);
    EXPECT_EQ(IntegerAt(numbers, 0), -42);
    EXPECT_EQ(IntegerAt(numbers, 1), 7);
    EXPECT_EQ(IntegerAt(numbers, 2), 31);
    double real = 0;
    CFNumberGetValue(
        static_cast<CFNumberRef>(CFArrayGetValueAtIndex(static_cast<CFArrayRef>(numbers), 4)),
        kCFNumberDoubleType, &real);
    EXPECT_EQ(real, -1000.0);
    EXPECT_EQ(CFArrayGetValueAtIndex(static_cast<CFArrayRef>(numbers), 5), kCFBooleanTrue);
    EXPECT_EQ(CFArrayGetValueAtIndex(static_cast<CFArrayRef>(numbers), 6), kCFBooleanFalse);

    CFDataRef bytes = static_cast<CFDataRef>(Get(plist, "Bytes"));
    ASSERT_EQ(CFGetTypeID(bytes), CFDataGetTypeID());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(CFDataGetBytePtr(bytes)),
                          static_cast<size_t>(CFDataGetLength(bytes))),
              "Halyx");

    // Keys keep their document order.
    const void* keys[11];
    CFDictionaryGetKeysAndValues(static_cast<CFDictionaryRef>(plist), keys, nullptr);
    EXPECT_EQ(Text(keys[0]), "Entities");
    EXPECT_EQ(Text(keys[10]), "Unicode");
    CFRelease(plist);
    CFRelease(xml);
}

TEST(CFPropertyList, OtherDocumentEncodingsRead) {
    CFDataRef xml = ReadFile(kDataDir + "utf16.plist");
    ASSERT_NE(xml, nullptr);
    CFTypeRef plist = CFPropertyListCreateWithData(nullptr, xml, 0, nullptr, nullptr);
    EXPECT_EQ(Text(plist), "wide \xC3\xA9");
    CFRelease(plist);
    CFRelease(xml);
}

// A tree with every type and the awkward corners of each.
CFMutableDictionaryRef NewSampleTree() {
    CFMutableDictionaryRef root = CFDictionaryCreateMutable(
        nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    CFMutableArrayRef strings = CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks);
    for (const char* text : {"", "plain", "a & b < c > d", "]]> <![CDATA[", "  padded\t\n",
                             "line\r\nbreak", "caf\xC3\xA9 \xF0\x9F\x98\x80", "&amp;"}) {
        CFStringRef str = CFStringCreateWithCString(nullptr, text, kCFStringEncodingUTF8);
        CFArrayAppendValue(strings, str);
        CFRelease(str);
    }
    CFDictionarySetValue(root, CFSTR("Strings & <keys>"), strings);
    CFRelease(strings);

    CFMutableArrayRef numbers = CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks);
    for (SInt64 v : {SInt64(0), SInt64(-1), std::numeric_limits<SInt64>::max(),
                     std::numeric_limits<SInt64>::min()}) {
        CFNumberRef n = CFNumberCreate(nullptr, kCFNumberSInt64Type, &v);
        CFArrayAppendValue(numbers, n);
        CFRelease(n);
    }
    for (double v : {0.1, -2.5, 1e300, 5e-324, 1.0 / 3, std::numeric_limits<double>::infinity()}) {
        CFNumberRef n = CFNumberCreate(nullptr, kCFNumberFloat64Type, &v);
        CFArrayAppendValue(numbers, n);
        CFRelease(n);
    }
    CFArrayAppendValue(numbers, kCFBooleanTrue);
    CFArrayAppendValue(numbers, kCFBooleanFalse);
    CFDictionarySetValue(root, CFSTR("Numbers"), numbers);
    CFRelease(numbers);

    CFMutableArrayRef datas = CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks);
    std::string bytes;
    for (int i = 0; i < 300; ++i) bytes += static_cast<char>(i * 31);
    for (size_t length : {0, 1, 2, 3, 4, 57, 300}) {
        CFDataRef d = DataOf(bytes.substr(0, length));
        CFArrayAppendValue(datas, d);
        CFRelease(d);
    }
    CFDictionarySetValue(root, CFSTR("Data"), datas);
    CFRelease(datas);

    CFMutableDictionaryRef empty = CFDictionaryCreateMutable(
        nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    CFArrayRef emptyArray = CFArrayCreate(nullptr, nullptr, 0, &kCFTypeArrayCallBacks);
    CFDictionarySetValue(empty, CFSTR("nothing"), emptyArray);
    CFDictionarySetValue(root, CFSTR("Empty"), empty);
    CFRelease(emptyArray);
    CFRelease(empty);
    return root;
}

TEST(CFPropertyList, WrittenTreeReadsBackEqualAndIsWellFormed) {
    CFMutableDictionaryRef tree = NewSampleTree();
    CFErrorRef error = nullptr;
    CFDataRef xml =
        CFPropertyListCreateData(nullptr, tree, kCFPropertyListXMLFormat_v1_0, 0, &error);
    ASSERT_NE(xml, nullptr);
    EXPECT_EQ(error, nullptr);

    CFPropertyListFormat format = 0;
    CFTypeRef back = CFPropertyListCreateWithData(nullptr, xml, 0, &format, &error);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(format, kCFPropertyListXMLFormat_v1_0);
    EXPECT_TRUE(CFEqual(back, tree));

    // Writing what was read gives the same bytes: the order of keys is kept.
    CFDataRef again = CFPropertyListCreateXMLData(nullptr, back);
    EXPECT_TRUE(CFEqual(again, xml));

    if (std::system("command -v xmllint >/dev/null 2>&1") == 0) {
        char path[] = "/tmp/halyx-plist-XXXXXX";
        int fd = mkstemp(path);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(write(fd, CFDataGetBytePtr(xml), static_cast<size_t>(CFDataGetLength(xml))),
                  CFDataGetLength(xml));
        close(fd);
        EXPECT_EQ(std::system((std::string("xmllint --noout --nonet ") + path).c_str()), 0);
        unlink(path);
    }
    CFRelease(again);
    CFRelease(back);
    CFRelease(xml);
    CFRelease(tree);
}

TEST(CFPropertyList, MutabilityOptionsReachContainersAndLeaves) {
    CFDataRef xml = ReadFile(kDataDir + "nested.plist");
    ASSERT_NE(xml, nullptr);
    for (CFOptionFlags option : {kCFPropertyListImmutable, kCFPropertyListMutableContainers,
                                 kCFPropertyListMutableContainersAndLeaves}) {
        SCOPED_TRACE(option);
        CFTypeRef plist = CFPropertyListCreateWithData(nullptr, xml, option, nullptr, nullptr);
        ASSERT_NE(plist, nullptr);
        CFMutableArrayRef names =
            static_cast<CFMutableArrayRef>(const_cast<void*>(Get(plist, "PCFILENAME")));
        CFArrayAppendValue(names, CFSTR("HALYX3.PPD"));
        EXPECT_EQ(CFArrayGetCount(names), option == kCFPropertyListImmutable ? 2 : 3);
        CFMutableStringRef first =
            static_cast<CFMutableStringRef>(const_cast<void*>(CFArrayGetValueAtIndex(names, 0)));
        CFStringAppend(first, CFSTR("!"));
        EXPECT_EQ(Text(first), option == kCFPropertyListMutableContainersAndLeaves ? "HALYX1.PPD!"
                                                                                   : "HALYX1.PPD");

        CFTypeRef copy = CFPropertyListCreateDeepCopy(nullptr, plist, kCFPropertyListImmutable);
        EXPECT_TRUE(CFEqual(copy, plist));
        // An immutable leaf is shared with the copy; a mutable one is copied, so that changing
        // it later leaves the copy as it was.
        CFTypeRef copied =
            CFArrayGetValueAtIndex(static_cast<CFArrayRef>(Get(copy, "PCFILENAME")), 0);
        EXPECT_EQ(option != kCFPropertyListMutableContainersAndLeaves, copied == first);
        CFStringAppend(first, CFSTR("?"));
        EXPECT_EQ(Text(copied), option == kCFPropertyListMutableContainersAndLeaves ? "HALYX1.PPD!"
                                                                                    : "HALYX1.PPD");
        CFRelease(copy);
        CFRelease(plist);
    }
    CFRelease(xml);
}

TEST(CFPropertyList, BadDocumentsGiveNullAndAnError) {
    const char* const kBad[] = {
        "",
        "not xml at all",
        "<plist version=\"1.0\"><string>unclosed</plist>",
        "<plist><dict><key>k</key></dict></plist>",                     // key without value
        "<plist><dict><key>a</key><key>b</key><true/></dict></plist>",  // two keys
        "<plist><dict><string>v</string></dict></plist>",               // value without key
        "<plist><array><key>k</key></array></plist>",
        "<plist><data>SGVsbG8*</data></plist>",  // bad Base64
        "<plist><data>S</data></plist>",
        "<plist><data>SG==VsbG8=</data></plist>",
        "<plist><integer>12x</integer></plist>",
        "<plist><integer></integer></plist>",
        "<plist><integer>99999999999999999999</integer></plist>",
        "<plist><real>1.5.2</real></plist>",
        "<plist><date>2024-01-01T00:00:00Z</date></plist>",  // refused
        "<plist><unknown/></plist>",
        "<plist><string>a<b/></string></plist>",  // element in a leaf
        "<plist><true>yes</true></plist>",
        "<plist></plist>",
        "<plist><string>a</string><string>b</string></plist>",
        "<plist><array>loose text</array></plist>",
        "<plist><string>&undefined;</string></plist>",
        "<!DOCTYPE plist [<!ENTITY e \"x\">]><plist><string>&e;</string></plist>",
        "<plist><plist><true/></plist></plist>",
        "bplist00\x01\x02",
    };
    for (const char* text : kBad) {
        SCOPED_TRACE(text);
        CFDataRef xml = DataOf(text);
        CFStringRef message = nullptr;
        EXPECT_EQ(CFPropertyListCreateFromXMLData(nullptr, xml, 0, &message), nullptr);
        ASSERT_NE(message, nullptr);
        EXPECT_GT(CFStringGetLength(message), 0);
        CFRelease(message);

        CFErrorRef error = nullptr;
        EXPECT_EQ(CFPropertyListCreateWithData(nullptr, xml, 0, nullptr, &error), nullptr);
        ASSERT_NE(error, nullptr);
        EXPECT_EQ(CFErrorGetCode(error), kCFPropertyListReadCorruptError);
        CFRelease(error);
        CFRelease(xml);
    }
    // Too deep to be a property list.
    std::string deep;
    for (int i = 0; i < 600; ++i) deep += "<array>";
    for (int i = 0; i < 600; ++i) deep += "</array>";
    CFDataRef xml = DataOf(deep);
    EXPECT_EQ(CFPropertyListCreateWithData(nullptr, xml, 0, nullptr, nullptr), nullptr);
    CFRelease(xml);
}

TEST(CFPropertyList, ValuesOutsideThePropertyListTypesAreNotWritten) {
    CFURLRef url = CFURLCreateWithString(nullptr, CFSTR("file:///tmp/"), nullptr);
    int one = 1;
    CFNumberRef number = CFNumberCreate(nullptr, kCFNumberIntType, &one);
    const UniChar bell[] = {'a', 7};
    CFStringRef control = CFStringCreateWithCharacters(nullptr, bell, 2);
    const UniChar lone[] = {0xD800};
    CFStringRef surrogate = CFStringCreateWithCharacters(nullptr, lone, 1);

    CFMutableDictionaryRef numberKey = CFDictionaryCreateMutable(
        nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    CFDictionarySetValue(numberKey, number, CFSTR("v"));
    CFMutableArrayRef self = CFArrayCreateMutable(nullptr, 0, nullptr);
    CFArrayAppendValue(self, self);  // raw pointers: no retain cycle to leak

    for (CFTypeRef bad : {CFTypeRef(url), CFTypeRef(control), CFTypeRef(surrogate),
                          CFTypeRef(numberKey), CFTypeRef(self), CFTypeRef(nullptr)}) {
        CFErrorRef error = nullptr;
        EXPECT_EQ(CFPropertyListCreateData(nullptr, bad, kCFPropertyListXMLFormat_v1_0, 0, &error),
                  nullptr);
        ASSERT_NE(error, nullptr);
        CFStringRef description = CFErrorCopyDescription(error);
        EXPECT_GT(CFStringGetLength(description), 0);
        CFRelease(description);
        CFRelease(error);
        EXPECT_FALSE(CFPropertyListIsValid(bad, kCFPropertyListXMLFormat_v1_0));
    }
    EXPECT_EQ(
        CFPropertyListCreateData(nullptr, number, kCFPropertyListBinaryFormat_v1_0, 0, nullptr),
        nullptr);
    EXPECT_EQ(CFPropertyListCreateDeepCopy(nullptr, url, 0), nullptr);
    // Valid means writable, in the XML format only.
    const UInt8 bytes[] = {0, '<', '&', 0xFF};
    CFDataRef data = CFDataCreate(nullptr, bytes, sizeof bytes);
    CFTypeRef pair[] = {data, CFSTR("a<&b")};
    CFArrayRef good = CFArrayCreate(nullptr, pair, 2, &kCFTypeArrayCallBacks);
    EXPECT_TRUE(CFPropertyListIsValid(good, kCFPropertyListXMLFormat_v1_0));
    EXPECT_FALSE(CFPropertyListIsValid(good, kCFPropertyListBinaryFormat_v1_0));
    CFRelease(good);
    CFRelease(data);
    for (CFTypeRef v : {CFTypeRef(url), CFTypeRef(number), CFTypeRef(control), CFTypeRef(surrogate),
                        CFTypeRef(numberKey), CFTypeRef(self)})
        CFRelease(v);
}

}  // namespace
