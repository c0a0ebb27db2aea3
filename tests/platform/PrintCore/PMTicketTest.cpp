#include "PrintCore/PMTicket.h"

#include <gtest/gtest.h>

#include "CoreFoundation/CFPropertyList.h"
#include "testing/FailureInjection.h"

namespace {

const CFStringRef kClient = CFSTR("com.halyx.test.client");
const CFStringRef kOtherClient = CFSTR("com.halyx.test.other");
const CFStringRef kKey = CFSTR("com.halyx.test.Item");

class PMTicketTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(kPMNoError, PMTicketCreate(kCFAllocatorDefault, kPMPrintSettingsTicket, &ticket));
    }
    void TearDown() override {
        if (ticket != nullptr) {
            EXPECT_EQ(kPMNoError, PMTicketReleaseAndClear(&ticket));
        }
    }
    PMTicketRef ticket = nullptr;
};

CFArrayRef MakeArray() {
    const void* values[] = {CFSTR("one"), kCFBooleanTrue};
    return CFArrayCreate(kCFAllocatorDefault, values, 2, &kCFTypeArrayCallBacks);
}

CFDictionaryRef MakeDictionary() {
    const void* keys[] = {CFSTR("name")};
    const void* values[] = {CFSTR("value")};
    return CFDictionaryCreate(kCFAllocatorDefault, keys, values, 1, &kCFTypeDictionaryKeyCallBacks,
                              &kCFTypeDictionaryValueCallBacks);
}

TEST_F(PMTicketTest, EveryItemTypeRoundTripsAndIsReadOnlyAsItsOwnType) {
    const UInt8 bytes[] = {0, 1, 2, 0xFF};
    CFDataRef data = CFDataCreate(kCFAllocatorDefault, bytes, sizeof bytes);
    CFArrayRef array = MakeArray();
    CFDictionaryRef dictionary = MakeDictionary();
    double real = 2.5;
    CFNumberRef number = CFNumberCreate(kCFAllocatorDefault, kCFNumberDoubleType, &real);

    ASSERT_EQ(kPMNoError,
              PMTicketSetCFString(ticket, kClient, CFSTR("s"), CFSTR("text"), kPMUnlocked));
    ASSERT_EQ(kPMNoError, PMTicketSetCFData(ticket, kClient, CFSTR("d"), data, kPMUnlocked));
    ASSERT_EQ(kPMNoError, PMTicketSetCFArray(ticket, kClient, CFSTR("a"), array, kPMUnlocked));
    ASSERT_EQ(kPMNoError,
              PMTicketSetCFDictionary(ticket, kClient, CFSTR("D"), dictionary, kPMUnlocked));
    ASSERT_EQ(kPMNoError, PMTicketSetCFNumber(ticket, kClient, CFSTR("n"), number, kPMUnlocked));
    ASSERT_EQ(kPMNoError, PMTicketSetSInt32(ticket, kClient, CFSTR("i"), -70000, kPMUnlocked));

    CFStringRef gotString = nullptr;
    CFDataRef gotData = nullptr;
    CFArrayRef gotArray = nullptr;
    CFDictionaryRef gotDictionary = nullptr;
    CFNumberRef gotNumber = nullptr;
    SInt32 gotInt = 0;
    EXPECT_EQ(kPMNoError,
              PMTicketGetCFString(ticket, kPMTopLevel, kPMTopLevel, CFSTR("s"), &gotString));
    EXPECT_TRUE(CFEqual(CFSTR("text"), gotString));
    EXPECT_EQ(kPMNoError,
              PMTicketGetCFData(ticket, kPMTopLevel, kPMTopLevel, CFSTR("d"), &gotData));
    EXPECT_TRUE(CFEqual(data, gotData));
    EXPECT_EQ(kPMNoError,
              PMTicketGetCFArray(ticket, kPMTopLevel, kPMTopLevel, CFSTR("a"), &gotArray));
    EXPECT_TRUE(CFEqual(array, gotArray));
    EXPECT_EQ(kPMNoError, PMTicketGetCFDictionary(ticket, kPMTopLevel, kPMTopLevel, CFSTR("D"),
                                                  &gotDictionary));
    EXPECT_TRUE(CFEqual(dictionary, gotDictionary));
    EXPECT_EQ(kPMNoError,
              PMTicketGetCFNumber(ticket, kPMTopLevel, kPMTopLevel, CFSTR("n"), &gotNumber));
    EXPECT_TRUE(CFEqual(number, gotNumber));
    EXPECT_EQ(kPMNoError, PMTicketGetSInt32(ticket, kPMTopLevel, kPMTopLevel, CFSTR("i"), &gotInt));
    EXPECT_EQ(-70000, gotInt);

    // The generic get sees every item; a typed get refuses another type and clears its output.
    CFTypeRef item = nullptr;
    EXPECT_EQ(kPMNoError, PMTicketGetItem(ticket, kPMTopLevel, kPMTopLevel, CFSTR("a"), &item));
    EXPECT_TRUE(CFEqual(array, item));
    gotString = CFSTR("stale");
    EXPECT_EQ(kPMInvalidType,
              PMTicketGetCFString(ticket, kPMTopLevel, kPMTopLevel, CFSTR("d"), &gotString));
    EXPECT_EQ(nullptr, gotString);
    gotInt = 9;
    EXPECT_EQ(kPMInvalidType,
              PMTicketGetSInt32(ticket, kPMTopLevel, kPMTopLevel, CFSTR("s"), &gotInt));
    EXPECT_EQ(0, gotInt);
    // A number that is not a whole 32-bit value cannot be read as one.
    EXPECT_EQ(kPMInvalidValue,
              PMTicketGetSInt32(ticket, kPMTopLevel, kPMTopLevel, CFSTR("n"), &gotInt));

    // A typed set refuses a value of another type and leaves the item alone.
    EXPECT_EQ(kPMInvalidType,
              PMTicketSetCFString(ticket, kClient, CFSTR("s"), reinterpret_cast<CFStringRef>(data),
                                  kPMUnlocked));
    EXPECT_EQ(kPMInvalidType,
              PMTicketSetCFArray(ticket, kClient, CFSTR("a"),
                                 reinterpret_cast<CFArrayRef>(dictionary), kPMUnlocked));
    EXPECT_EQ(kPMNoError,
              PMTicketGetCFString(ticket, kPMTopLevel, kPMTopLevel, CFSTR("s"), &gotString));
    EXPECT_TRUE(CFEqual(CFSTR("text"), gotString));

    CFRelease(data);
    CFRelease(array);
    CFRelease(dictionary);
    CFRelease(number);
}

TEST_F(PMTicketTest, SInt32KeepsTheWholeRangeAndOverwrites) {
    const SInt32 values[] = {INT32_MIN, -1, 0, 1, INT32_MAX};
    for (SInt32 value : values) {
        ASSERT_EQ(kPMNoError, PMTicketSetSInt32(ticket, kClient, kKey, value, kPMUnlocked));
        SInt32 got = 12345;
        ASSERT_EQ(kPMNoError, PMTicketGetSInt32(ticket, kPMTopLevel, kPMTopLevel, kKey, &got));
        EXPECT_EQ(value, got);
    }
}

TEST_F(PMTicketTest, ASetKeepsACopySoLaterChangesDoNotReachTheTicket) {
    CFMutableArrayRef array = CFArrayCreateMutable(kCFAllocatorDefault, 0, &kCFTypeArrayCallBacks);
    CFArrayAppendValue(array, CFSTR("first"));
    CFMutableStringRef text = CFStringCreateMutable(kCFAllocatorDefault, 0);
    CFStringAppend(text, CFSTR("before"));
    ASSERT_EQ(kPMNoError, PMTicketSetCFArray(ticket, kClient, kKey, array, kPMUnlocked));
    ASSERT_EQ(kPMNoError, PMTicketSetCFString(ticket, kClient, CFSTR("t"), text, kPMUnlocked));
    CFArrayAppendValue(array, CFSTR("second"));
    CFStringAppend(text, CFSTR(" after"));

    CFArrayRef stored = nullptr;
    ASSERT_EQ(kPMNoError, PMTicketGetCFArray(ticket, kPMTopLevel, kPMTopLevel, kKey, &stored));
    EXPECT_EQ(1, CFArrayGetCount(stored));
    CFStringRef storedText = nullptr;
    ASSERT_EQ(kPMNoError,
              PMTicketGetCFString(ticket, kPMTopLevel, kPMTopLevel, CFSTR("t"), &storedText));
    EXPECT_TRUE(CFEqual(CFSTR("before"), storedText));
    CFRelease(array);
    CFRelease(text);
}

TEST_F(PMTicketTest, ALockedItemRefusesOtherClientsButNotItsOwner) {
    ASSERT_EQ(kPMNoError, PMTicketSetSInt32(ticket, kClient, kKey, 1, kPMLocked));
    EXPECT_EQ(kPMItemIsLocked, PMTicketSetSInt32(ticket, kOtherClient, kKey, 2, kPMUnlocked));
    EXPECT_EQ(kPMItemIsLocked,
              PMTicketSetCFString(ticket, kOtherClient, kKey, CFSTR("x"), kPMLocked));
    SInt32 value = 0;
    ASSERT_EQ(kPMNoError, PMTicketGetSInt32(ticket, kPMTopLevel, kPMTopLevel, kKey, &value));
    EXPECT_EQ(1, value);

    // The owner is recognised by value, not by the identity of its string.
    CFStringRef sameClient = CFStringCreateCopy(kCFAllocatorDefault, kClient);
    CFMutableStringRef owner = CFStringCreateMutableCopy(kCFAllocatorDefault, 0, sameClient);
    EXPECT_EQ(kPMNoError, PMTicketSetSInt32(ticket, owner, kKey, 3, kPMUnlocked));
    CFRelease(sameClient);
    CFRelease(owner);
    // Unlocked now: another client may write, and may lock it for itself.
    EXPECT_EQ(kPMNoError, PMTicketSetSInt32(ticket, kOtherClient, kKey, 4, kPMLocked));
    EXPECT_EQ(kPMItemIsLocked, PMTicketSetSInt32(ticket, kClient, kKey, 5, kPMUnlocked));
    ASSERT_EQ(kPMNoError, PMTicketGetSInt32(ticket, kPMTopLevel, kPMTopLevel, kKey, &value));
    EXPECT_EQ(4, value);

    // An unlocked item takes any client; releasing a locked item is allowed.
    EXPECT_EQ(kPMNoError, PMTicketSetSInt32(ticket, kClient, CFSTR("free"), 1, kPMUnlocked));
    EXPECT_EQ(kPMNoError, PMTicketSetSInt32(ticket, kOtherClient, CFSTR("free"), 2, kPMUnlocked));
    EXPECT_EQ(kPMNoError, PMTicketReleaseItem(ticket, kKey));
    EXPECT_EQ(kPMNoError, PMTicketSetSInt32(ticket, kClient, kKey, 6, kPMUnlocked));
}

TEST_F(PMTicketTest, ReleasedItemsAreGoneAndMissingOnesReportKeyNotFound) {
    CFTypeRef item = kCFBooleanTrue;
    EXPECT_EQ(kPMKeyNotFound, PMTicketGetItem(ticket, kPMTopLevel, kPMTopLevel, kKey, &item));
    EXPECT_EQ(nullptr, item);
    EXPECT_EQ(kPMKeyNotFound, PMTicketReleaseItem(ticket, kKey));

    ASSERT_EQ(kPMNoError, PMTicketSetItem(ticket, kClient, kKey, kCFBooleanFalse, kPMUnlocked));
    ASSERT_EQ(kPMNoError,
              PMTicketSetItem(ticket, kClient, CFSTR("kept"), kCFBooleanTrue, kPMUnlocked));
    EXPECT_EQ(kPMNoError, PMTicketReleaseItem(ticket, kKey));
    EXPECT_EQ(kPMKeyNotFound, PMTicketGetItem(ticket, kPMTopLevel, kPMTopLevel, kKey, &item));
    EXPECT_EQ(kPMKeyNotFound, PMTicketReleaseItem(ticket, kKey));
    EXPECT_EQ(kPMNoError, PMTicketGetItem(ticket, kPMTopLevel, kPMTopLevel, CFSTR("kept"), &item));
    EXPECT_EQ(kCFBooleanTrue, item);
}

TEST_F(PMTicketTest, BadArgumentsAreRefusedWithTheirStatus) {
    CFTypeRef item = nullptr;
    EXPECT_EQ(kPMInvalidParameter,
              PMTicketGetItem(ticket, kPMTopLevel, kPMTopLevel, kKey, nullptr));
    EXPECT_EQ(kPMInvalidKey, PMTicketGetItem(ticket, kPMTopLevel, kPMTopLevel, nullptr, &item));
    EXPECT_EQ(kPMInvalidParameter,
              PMTicketGetSInt32(ticket, kPMTopLevel, kPMTopLevel, kKey, nullptr));

    ASSERT_EQ(kPMNoError, PMTicketSetSInt32(ticket, kClient, kKey, 7, kPMUnlocked));
    EXPECT_EQ(kPMInvalidIndex, PMTicketGetItem(ticket, 1, kPMTopLevel, kKey, &item));
    EXPECT_EQ(kPMInvalidIndex, PMTicketGetItem(ticket, kPMTopLevel, 2, kKey, &item));
    EXPECT_EQ(nullptr, item);

    EXPECT_EQ(kPMInvalidParameter, PMTicketSetSInt32(ticket, nullptr, kKey, 1, kPMUnlocked));
    EXPECT_EQ(kPMInvalidKey, PMTicketSetSInt32(ticket, kClient, nullptr, 1, kPMUnlocked));
    EXPECT_EQ(kPMInvalidItem, PMTicketSetItem(ticket, kClient, kKey, nullptr, kPMUnlocked));
    EXPECT_EQ(kPMInvalidKey, PMTicketReleaseItem(ticket, nullptr));

    // Only property-list values go into a ticket: a dictionary keyed by numbers is not one.
    SInt32 one = 1;
    CFNumberRef numberKey = CFNumberCreate(kCFAllocatorDefault, kCFNumberSInt32Type, &one);
    const void* rawKeys[] = {numberKey};
    const void* values[] = {CFSTR("v")};
    CFDictionaryRef nonStringKeys =
        CFDictionaryCreate(kCFAllocatorDefault, rawKeys, values, 1, &kCFTypeDictionaryKeyCallBacks,
                           &kCFTypeDictionaryValueCallBacks);
    CFRelease(numberKey);
    EXPECT_EQ(kPMInvalidItem,
              PMTicketSetCFDictionary(ticket, kClient, kKey, nonStringKeys, kPMUnlocked));
    CFRelease(nonStringKeys);
    SInt32 value = 0;
    EXPECT_EQ(kPMNoError, PMTicketGetSInt32(ticket, kPMTopLevel, kPMTopLevel, kKey, &value));
    EXPECT_EQ(7, value);
}

TEST(PMTicketLifetime, CreateAndRetainCountReferencesAndAReleasedTicketIsRefused) {
    PMTicketRef ticket = nullptr;
    EXPECT_EQ(kPMInvalidParameter,
              PMTicketCreate(kCFAllocatorDefault, kPMPageFormatTicket, nullptr));
    EXPECT_EQ(kPMInvalidParameter, PMTicketCreate(kCFAllocatorDefault, nullptr, &ticket));
    ASSERT_EQ(kPMNoError, PMTicketCreate(kCFAllocatorDefault, kPMPageFormatTicket, &ticket));
    CFStringRef type = nullptr;
    ASSERT_EQ(kPMNoError, PMTicketGetType(ticket, &type));
    EXPECT_TRUE(CFEqual(kPMPageFormatTicket, type));

    EXPECT_EQ(kPMNoError, PMTicketRetain(ticket));
    EXPECT_EQ(kPMNoError, PMTicketRelease(ticket));
    // Still alive after giving back the extra reference.
    EXPECT_EQ(kPMNoError, PMTicketSetSInt32(ticket, kClient, kKey, 1, kPMUnlocked));

    PMTicketRef copy = ticket;
    EXPECT_EQ(kPMNoError, PMTicketReleaseAndClear(&ticket));
    EXPECT_EQ(nullptr, ticket);
    SInt32 value = 0;
    EXPECT_EQ(kPMInvalidTicket, PMTicketGetSInt32(copy, kPMTopLevel, kPMTopLevel, kKey, &value));
    EXPECT_EQ(kPMInvalidTicket, PMTicketSetSInt32(copy, kClient, kKey, 1, kPMUnlocked));
    EXPECT_EQ(kPMInvalidTicket, PMTicketSetCFString(copy, kClient, kKey, CFSTR("x"), kPMUnlocked));
    EXPECT_EQ(kPMInvalidTicket, PMTicketReleaseItem(copy, kKey));
    EXPECT_EQ(kPMInvalidTicket, PMTicketRelease(copy));
    EXPECT_EQ(kPMInvalidTicket, PMTicketReleaseAndClear(&ticket));  // NULL after the clear
    EXPECT_EQ(kPMInvalidParameter, PMTicketReleaseAndClear(nullptr));

    // A new ticket never takes the number of a released one, and made-up numbers find nothing.
    PMTicketRef next = nullptr;
    ASSERT_EQ(kPMNoError, PMTicketCreate(kCFAllocatorDefault, kPMPageFormatTicket, &next));
    EXPECT_NE(copy, next);
    EXPECT_EQ(kPMInvalidTicket, PMTicketRetain(HalyxTicketRefFromNumber(-5)));
    EXPECT_EQ(kPMInvalidTicket,
              PMTicketRetain(HalyxTicketRefFromNumber(HalyxTicketRefToNumber(next) + 1000)));
    EXPECT_EQ(next, HalyxTicketRefFromNumber(HalyxTicketRefToNumber(next)));
    EXPECT_EQ(kPMNoError, PMTicketRelease(next));
}

TEST(PMTicketLifetime, CreateReportsAnAllocationFailure) {
    HalyxFailureScope scope;
    HalyxInjectFailures(kHalyxFailAllocation, 0, 1);
    PMTicketRef ticket = HalyxTicketRefFromNumber(1);
    EXPECT_EQ(kPMAllocationFailure,
              PMTicketCreate(kCFAllocatorDefault, kPMPrintSettingsTicket, &ticket));
    EXPECT_EQ(nullptr, ticket);
    EXPECT_EQ(kPMNoError, PMTicketCreate(kCFAllocatorDefault, kPMPrintSettingsTicket, &ticket));
    EXPECT_EQ(kPMNoError, PMTicketReleaseAndClear(&ticket));
}

}  // namespace
