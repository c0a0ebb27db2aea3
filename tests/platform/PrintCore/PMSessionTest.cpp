#include "PrintCore/PMSession.h"

#include <gtest/gtest.h>

#include "CoreFoundation/CFNumber.h"
#include "PrintCore/PMPrinter.h"
#include "testing/FailureInjection.h"

namespace {

const CFStringRef kName = CFSTR("HalyxTestData");

TEST(PMSession, DataIsStoredByNameAndMissingDataHasItsStatus) {
    PMPrintSession session = nullptr;
    ASSERT_EQ(kPMNoError, PMCreateSession(&session));

    CFTypeRef data = kCFBooleanTrue;
    EXPECT_EQ(kPMInvalidPrintSettings, PMSessionGetDataFromSession(session, kName, &data));
    EXPECT_EQ(nullptr, data);

    SInt32 first = 17;
    CFNumberRef number = CFNumberCreate(kCFAllocatorDefault, kCFNumberSInt32Type, &first);
    ASSERT_EQ(kPMNoError, PMSessionSetDataInSession(session, kName, number));
    CFRelease(number);  // the session keeps its own reference
    ASSERT_EQ(kPMNoError, PMSessionGetDataFromSession(session, kName, &data));
    SInt32 read = 0;
    ASSERT_TRUE(CFNumberGetValue(static_cast<CFNumberRef>(data), kCFNumberSInt32Type, &read));
    EXPECT_EQ(17, read);

    // A second value under the same name replaces the first; other names are untouched.
    ASSERT_EQ(kPMNoError, PMSessionSetDataInSession(session, kName, CFSTR("replaced")));
    ASSERT_EQ(kPMNoError, PMSessionSetDataInSession(session, CFSTR("Other"), kCFBooleanFalse));
    ASSERT_EQ(kPMNoError, PMSessionGetDataFromSession(session, kName, &data));
    EXPECT_TRUE(CFEqual(CFSTR("replaced"), data));
    ASSERT_EQ(kPMNoError, PMSessionGetDataFromSession(session, CFSTR("Other"), &data));
    EXPECT_EQ(kCFBooleanFalse, data);

    EXPECT_EQ(kPMInvalidParameter, PMSessionGetDataFromSession(session, nullptr, &data));
    EXPECT_EQ(kPMInvalidParameter, PMSessionGetDataFromSession(session, kName, nullptr));
    EXPECT_EQ(kPMInvalidParameter, PMSessionSetDataInSession(session, nullptr, kCFBooleanTrue));
    EXPECT_EQ(kPMInvalidParameter, PMSessionSetDataInSession(session, kName, nullptr));
    EXPECT_EQ(kPMNoError, PMRelease(session));
}

TEST(PMSession, ANullOrReleasedSessionIsRefused) {
    CFTypeRef data = kCFBooleanTrue;
    PMPrinter printer = reinterpret_cast<PMPrinter>(&data);
    EXPECT_EQ(kPMInvalidPrintSession, PMSessionGetDataFromSession(nullptr, kName, &data));
    EXPECT_EQ(nullptr, data);
    EXPECT_EQ(kPMInvalidPrintSession, PMSessionSetDataInSession(nullptr, kName, kCFBooleanTrue));
    EXPECT_EQ(kPMInvalidPrintSession, PMSessionGetCurrentPrinter(nullptr, &printer));
    EXPECT_EQ(nullptr, printer);

    PMPrintSession session = nullptr;
    ASSERT_EQ(kPMNoError, PMCreateSession(&session));
    EXPECT_EQ(kPMNoError, PMRetain(session));
    EXPECT_EQ(kPMNoError, PMRelease(session));
    EXPECT_EQ(kPMNoError, PMSessionSetDataInSession(session, kName, kCFBooleanTrue));
    EXPECT_EQ(kPMNoError, PMRelease(session));
    EXPECT_EQ(kPMInvalidPrintSession, PMSessionGetDataFromSession(session, kName, &data));
    EXPECT_EQ(kPMInvalidParameter, PMRelease(session));
    EXPECT_EQ(kPMInvalidParameter, PMRetain(session));
    EXPECT_EQ(kPMInvalidParameter, PMRelease(nullptr));
    EXPECT_EQ(kPMInvalidParameter, PMRelease(&data));  // not a session or a printer
}

TEST(PMSession, ANewSessionHasNoPrinter) {
    PMPrintSession session = nullptr;
    ASSERT_EQ(kPMNoError, PMCreateSession(&session));
    PMPrinter printer = nullptr;
    EXPECT_EQ(kPMInvalidPrinter, PMSessionGetCurrentPrinter(session, &printer));
    EXPECT_EQ(nullptr, printer);
    EXPECT_EQ(kPMInvalidParameter, PMSessionGetCurrentPrinter(session, nullptr));

    CFURLRef url = nullptr;
    EXPECT_EQ(kPMInvalidPrinter, PMPrinterCopyDescriptionURL(printer, kPMPPDDescriptionType, &url));
    EXPECT_EQ(nullptr, url);
    EXPECT_EQ(kPMNoError, PMRelease(session));
}

TEST(PMSession, CreateReportsAnAllocationFailure) {
    HalyxFailureScope scope;
    EXPECT_EQ(kPMInvalidParameter, PMCreateSession(nullptr));
    HalyxInjectFailures(kHalyxFailAllocation, 0, 1);
    PMPrintSession session = nullptr;
    EXPECT_EQ(kPMAllocationFailure, PMCreateSession(&session));
    EXPECT_EQ(nullptr, session);
}

}  // namespace
