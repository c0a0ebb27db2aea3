#include "foundation/CString.h"

#include <gtest/gtest.h>

#include <cstring>

#include "testing/FailureInjection.h"

namespace {

TEST(CString, NullAndEmptyTextsAreBothEmpty) {
    CString null(static_cast<const char*>(nullptr));
    EXPECT_TRUE(null.Empty());
    EXPECT_EQ(static_cast<const char*>(null), nullptr);
    EXPECT_EQ(null.Size(), 0u);
    EXPECT_TRUE(null == "");

    CString blank("");
    EXPECT_TRUE(blank.Empty());
    ASSERT_NE(static_cast<const char*>(blank), nullptr);
    EXPECT_TRUE(blank == null);
}

TEST(CString, CopiesOwnTheirBytes) {
    char source[] = "Tray 1";
    CString a(source);
    source[0] = 'X';
    EXPECT_TRUE(a == "Tray 1");
    EXPECT_EQ(a.Size(), 6u);

    CString b(a);
    a = "Tray 2";
    EXPECT_TRUE(b == "Tray 1");
    EXPECT_NE(static_cast<const char*>(a), static_cast<const char*>(b));

    b = a;
    EXPECT_TRUE(b == a);
    b = static_cast<const char*>(nullptr);
    EXPECT_EQ(static_cast<const char*>(b), nullptr);
    EXPECT_EQ(b.Size(), 0u);
}

TEST(CString, SetBufferAcceptsItsOwnTextAndPartsOfIt) {
    CString s("ModelName");
    const char* before = s;
    s.SetBuffer(s);
    EXPECT_EQ(static_cast<const char*>(s), before);
    s.SetBuffer(static_cast<const char*>(s) + 5);  // a tail of its own buffer
    EXPECT_TRUE(s == "Name");
    EXPECT_EQ(s.Size(), 4u);
    s = s;
    EXPECT_TRUE(s == "Name");
}

TEST(CString, ComparisonIsByteExactAndContainsIgnoresCase) {
    CString s("xxABCxx");
    EXPECT_TRUE(s.Contains("abc"));
    EXPECT_TRUE(s.Contains("XxAbCxX"));
    EXPECT_FALSE(s.Contains("abd"));
    EXPECT_FALSE(s.Contains("xxABCxxx"));
    EXPECT_FALSE(s.Contains(nullptr));
    EXPECT_FALSE(s == "xxabcxx");
    EXPECT_FALSE(s == CString("xxABCx"));
    EXPECT_TRUE(CString().Contains(""));
}

TEST(CString, AppendGrowsInPlace) {
    CString s;
    CString& same = s + "";
    EXPECT_EQ(&same, &s);
    EXPECT_EQ(static_cast<const char*>(s), nullptr);  // nothing to add: still the null buffer
    s + "Page" + "Size";
    EXPECT_TRUE(s == "PageSize");
    EXPECT_EQ(s.Size(), 8u);
    s + static_cast<const char*>(s);  // doubling itself
    EXPECT_TRUE(s == "PageSizePageSize");
}

TEST(CString, RemoveInsertAndReplaceEditTheText) {
    CString s("*OpenUI *PageSize");
    char* at = const_cast<char*>(static_cast<const char*>(s)) + 1;
    s.Remove(at, 4);
    EXPECT_TRUE(s == "*UI *PageSize");
    EXPECT_EQ(s.Size(), 13u);

    at = const_cast<char*>(static_cast<const char*>(s)) + 1;
    s.Insert(at, "Close");
    EXPECT_TRUE(s == "*CloseUI *PageSize");
    EXPECT_EQ(s.Size(), 18u);

    s.Replace(CString("PageSize"), CString("InputSlot"));
    EXPECT_TRUE(s == "*CloseUI *InputSlot");
    s.Replace(CString("Duplex"), CString("x"));
    EXPECT_TRUE(s == "*CloseUI *InputSlot");
    s.Replace(CString("*"), CString(""));  // only the first occurrence goes
    EXPECT_TRUE(s == "CloseUI *InputSlot");
    EXPECT_EQ(s.Size(), std::strlen(s));
}

TEST(CString, EditsOutsideTheBufferAreIgnored) {
    CString s("abc");
    char outside[] = "zzz";
    s.Remove(outside, 1);
    s.Insert(outside, "q");
    EXPECT_TRUE(s == "abc");
    char* start = const_cast<char*>(static_cast<const char*>(s));
    s.Remove(start + 1, 100);  // more than is left: the tail goes
    EXPECT_TRUE(s == "a");
    EXPECT_EQ(s.Size(), 1u);
    start = const_cast<char*>(static_cast<const char*>(s));
    s.Insert(start + 1, "bc");  // at the end
    EXPECT_TRUE(s == "abc");

    CString none;
    none.Remove(nullptr, 3);
    none.Insert(nullptr, "x");
    none.Replace(CString("a"), CString("b"));
    EXPECT_TRUE(none.Empty());
}

TEST(CString, OutOfMemoryKeepsAppendsAndInsertsUnchangedAndEmptiesSets) {
    HalyxFailureScope scope;
    CString s("keep");
    HalyxInjectFailures(kHalyxFailAllocation, 0, 1);
    s + " more";
    EXPECT_TRUE(s == "keep");
    HalyxInjectFailures(kHalyxFailAllocation, 0, 1);
    s.Insert(const_cast<char*>(static_cast<const char*>(s)), "x");
    EXPECT_TRUE(s == "keep");
    HalyxInjectFailures(kHalyxFailAllocation, 0, 1);
    s = "other";
    EXPECT_TRUE(s.Empty());
    EXPECT_EQ(s.Size(), 0u);
}

}  // namespace

namespace {

CFStringRef MakeUTF8(const char* text) {
    return CFStringCreateWithCString(nullptr, text, kCFStringEncodingUTF8);
}

TEST(CStringFromPlatformString, ConvertsToTheSystemEncoding) {
    CFStringRef cafe = MakeUTF8("Caf\xc3\xa9");
    CString made(cafe);
    EXPECT_TRUE(made == "Caf\x8e");  // e acute in Mac OS Roman
    EXPECT_EQ(made.Size(), 4u);
    CString assigned;
    assigned = cafe;
    EXPECT_TRUE(assigned == "Caf\x8e");
    CFRelease(cafe);
}

TEST(CStringFromPlatformString, FailuresGiveNullOrEmptyText) {
    CFStringRef han = MakeUTF8("\xe4\xb8\x80");  // no form in the system encoding
    CString made(han);
    EXPECT_EQ(static_cast<const char*>(made), nullptr);
    EXPECT_EQ(made.Size(), 0u);

    CString assigned("old");
    assigned = han;
    ASSERT_NE(static_cast<const char*>(assigned), nullptr);
    EXPECT_STREQ(assigned, "");
    CFRelease(han);

    CString fromNull(static_cast<CFStringRef>(nullptr));
    EXPECT_EQ(static_cast<const char*>(fromNull), nullptr);
    assigned = "x";
    assigned = static_cast<CFStringRef>(nullptr);
    ASSERT_NE(static_cast<const char*>(assigned), nullptr);
    EXPECT_TRUE(assigned.Empty());
}

}  // namespace
