// The ticket wrappers over a session made as the print dialog makes it: the session's own tickets,
// typed items, the printer-info accessors and the session-data lookups.
#include "Core/JobTicket.h"

#include <gtest/gtest.h>

#include "CoreFoundation/CFNumber.h"
#include "Core/PrintSettingsTicket.h"
#include "Core/PrinterInfoTicket.h"
#include "Core/PrinterLookup.h"
#include "PrintCore/HalyxPrintHost.h"
#include "foundation/CString.h"

namespace {

const CFStringRef kClient = CFSTR("com.halyx.test.client");

class SessionTicketTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(noErr,
                  HalyxCreatePrintSession(HALYX_SOURCE_DIR "/examples/HalyxSample.ppd", &session));
        ASSERT_EQ(noErr, MyGetTicket(session, kPDE_PMPrinterInfoRef, &info));
        ASSERT_EQ(noErr, MyGetTicket(session, kPDE_PMPrintSettingsRef, &settings));
    }
    void TearDown() override {
        if (session != nullptr) PMRelease(session);
    }
    void SetInfo(const char* name, CFTypeRef value) {
        CFStringRef key = CFStringCreateWithFormat(nullptr, nullptr,
                                                   CFSTR("com.apple.print.PrinterInfo.%s"), name);
        ASSERT_EQ(noErr, PMTicketSetItem(info, kClient, key, value, false));
        CFRelease(key);
    }
    void SetInfoNumber(const char* name, SInt32 number) {
        CFNumberRef value = CFNumberCreate(nullptr, kCFNumberSInt32Type, &number);
        SetInfo(name, value);
        CFRelease(value);
    }
    void SetInfoDouble(const char* name, double number) {
        CFNumberRef value = CFNumberCreate(nullptr, kCFNumberDoubleType, &number);
        SetInfo(name, value);
        CFRelease(value);
    }

    PMPrintSession session = nullptr;
    PMTicketRef info = nullptr;
    PMTicketRef settings = nullptr;
};

TEST_F(SessionTicketTest, WrappersFindTheSessionsTicketsWithoutOwningThem) {
    {
        PrintSettingsTicket printSettings(session);
        EXPECT_TRUE(printSettings.Valid());
        EXPECT_EQ(settings, printSettings.Ticket());
        PrinterInfoTicket printerInfo(session);
        EXPECT_TRUE(printerInfo.Valid());
        EXPECT_EQ(info, printerInfo.Ticket());
        JobTicket plain(session);
        EXPECT_TRUE(plain.Valid());
        EXPECT_EQ(settings, plain.Ticket());
    }
    // The wrappers are gone; the session's tickets still answer.
    CFStringRef name = nullptr;
    EXPECT_EQ(noErr,
              PMTicketGetCFString(info, kPMTopLevel, kPMTopLevel, kPMPrinterLongNameKey, &name));
    EXPECT_EQ(noErr, PMTicketSetSInt32(settings, kClient, kPMCopiesKey, 2, false));
}

TEST_F(SessionTicketTest, SessionDataLookupsRefuseMissingZeroAndNonNumbers) {
    JobTicket ticket(session);
    SInt32 value = 7;
    EXPECT_EQ(kPMInvalidPrintSettings, ticket.Get(CFSTR("NoSuchData"), &value));
    EXPECT_EQ(0, value);
    SInt32 zero = 0;
    CFNumberRef zeroNumber = CFNumberCreate(nullptr, kCFNumberSInt32Type, &zero);
    ASSERT_EQ(noErr, PMSessionSetDataInSession(session, CFSTR("Zero"), zeroNumber));
    CFRelease(zeroNumber);
    EXPECT_EQ(kPMInvalidPrintSettings, ticket.Get(CFSTR("Zero"), &value));
    ASSERT_EQ(noErr, PMSessionSetDataInSession(session, CFSTR("Text"), CFSTR("12")));
    EXPECT_EQ(kPMInvalidValue, ticket.Get(CFSTR("Text"), &value));
    EXPECT_EQ(kPMInvalidValue, ticket.Status());

    PMTicketRef found = nullptr;
    EXPECT_EQ(kPMInvalidValue, MyGetTicket(session, CFSTR("Text"), &found));
    EXPECT_EQ(nullptr, found);
    EXPECT_EQ(kPMInvalidPrintSettings, MyGetTicket(session, CFSTR("NoSuchData"), &found));
    EXPECT_EQ(noErr, MyGetTicket(session, kPDE_PMPageFormatRef, &found));
    EXPECT_NE(nullptr, found);
    EXPECT_NE(settings, found);
}

TEST_F(SessionTicketTest, TypedItemsRoundTripAndKeepTheirStatus) {
    PrintSettingsTicket ticket(session);
    EXPECT_EQ(noErr, ticket.Set(kClient, CFSTR("s"), CFSTR("text"), false));
    UInt8 bytes[] = {0, 1, 2};
    CFDataRef data = CFDataCreate(nullptr, bytes, 3);
    EXPECT_EQ(noErr, ticket.Set(kClient, CFSTR("d"), data, false));
    CFRelease(data);
    EXPECT_EQ(noErr, ticket.Set(kClient, CFSTR("i"), static_cast<SInt32>(-4), true));

    CFStringRef text = nullptr;
    EXPECT_EQ(noErr, ticket.Get(CFSTR("s"), &text));
    EXPECT_EQ(kCFCompareEqualTo, CFStringCompare(text, CFSTR("text"), 0));
    CFDataRef readData = nullptr;
    EXPECT_EQ(noErr, ticket.Get(CFSTR("d"), &readData));
    ASSERT_NE(nullptr, readData);
    EXPECT_EQ(3, CFDataGetLength(readData));
    SInt32 number = 0;
    EXPECT_EQ(noErr, ticket.GetInt(CFSTR("i"), &number));
    EXPECT_EQ(-4, number);

    // A wrong type clears the out value; a locked item refuses another client.
    CFDictionaryRef dictionary = reinterpret_cast<CFDictionaryRef>(1);
    EXPECT_EQ(kPMInvalidType, ticket.Get(CFSTR("s"), &dictionary));
    EXPECT_EQ(nullptr, dictionary);
    EXPECT_EQ(kPMItemIsLocked,
              ticket.Set(CFSTR("other"), CFSTR("i"), static_cast<SInt32>(1), false));
    EXPECT_EQ(kPMItemIsLocked, ticket.Status());

    EXPECT_EQ(noErr, ticket.Release(CFSTR("s")));
    EXPECT_EQ(kPMKeyNotFound, ticket.Get(CFSTR("s"), &text));
    EXPECT_EQ(nullptr, text);
}

TEST_F(SessionTicketTest, WrappersWithoutTicketAnswerInvalidTicket) {
    JobTicket nothing(static_cast<PMPrintSession>(nullptr));
    EXPECT_FALSE(nothing.Valid());
    CFStringRef text = nullptr;
    SInt32 number = 3;
    EXPECT_EQ(kPMInvalidTicket, nothing.Get(CFSTR("s"), &text));
    EXPECT_EQ(kPMInvalidTicket, nothing.GetInt(CFSTR("s"), &number));
    EXPECT_EQ(0, number);
    EXPECT_EQ(kPMInvalidTicket, nothing.Set(kClient, CFSTR("s"), CFSTR("x"), false));
    EXPECT_EQ(kPMInvalidTicket, nothing.Release(CFSTR("s")));

    // A session without a printer-info ticket gives an invalid wrapper whose accessors answer
    // null, false and 0.
    PMPrintSession bare = nullptr;
    ASSERT_EQ(noErr, PMCreateSession(&bare));
    PrinterInfoTicket printerInfo(bare);
    EXPECT_FALSE(printerInfo.Valid());
    EXPECT_EQ(nullptr, printerInfo.GetFullPrinterTypeName());
    EXPECT_FALSE(printerInfo.SupportCopies());
    EXPECT_EQ(0, printerInfo.MemoryInstalled());
    EXPECT_EQ(kPMInvalidTicket, printerInfo.LookupStatus());
    CString path("stale");
    EXPECT_FALSE(printerInfo.PPDFile(path));
    EXPECT_STREQ("", path);
    PrintSettingsTicket printSettings(bare);
    EXPECT_FALSE(printSettings.Valid());
    PMRelease(bare);
}

TEST_F(SessionTicketTest, PrinterInfoAccessorsReadTheirItems) {
    SetInfo("PMMakeAndModelName", CFSTR("Halyx Color 9"));
    SetInfo("PMSupportsColor", kCFBooleanTrue);
    SetInfo("PMDoesCopies", kCFBooleanFalse);
    SetInfoNumber("PMDoesCopyCollate", 1);  // a number is not the boolean true
    SetInfoNumber("PMTotalMemInstalled", 65536);
    SetInfoDouble("PMPSTTRasterizer", 2.5);
    SetInfo("PMColorDeviceID", CFSTR("0001-ABCD"));
    SetInfo("PMInputFileTypeList", CFSTR("application/postscript"));

    PrinterInfoTicket printer(session);
    ASSERT_TRUE(printer.Valid());
    CString text;
    EXPECT_TRUE(printer.GetFullPrinterTypeName(text));
    EXPECT_STREQ("HalyxSample", text);
    EXPECT_TRUE(printer.GetPrinterMakeAndModel(text));
    EXPECT_STREQ("Halyx Color 9", text);
    EXPECT_TRUE(printer.SupportColor());
    EXPECT_FALSE(printer.SupportCopies());
    EXPECT_FALSE(printer.SupportCopiesAndCollate());
    EXPECT_FALSE(printer.SupportReversePrintingOrder());
    EXPECT_EQ(65536, printer.MemoryInstalled());
    EXPECT_EQ(0, printer.TrueTypeFontRasterizer());
    EXPECT_TRUE(printer.GetColorDeviceUUID(text));
    EXPECT_STREQ("0001-ABCD", text);
    EXPECT_TRUE(printer.PPDFile(text));
    EXPECT_NE(nullptr, strstr(text, "/examples/HalyxSample.ppd"));
    EXPECT_EQ('/', static_cast<const char*>(text)[0]);
    EXPECT_NE(nullptr, printer.InputFileList());
    EXPECT_EQ(nullptr, printer.OutputTypeList());
    EXPECT_EQ(kPMKeyNotFound, printer.LookupStatus());
    EXPECT_EQ(nullptr, printer.GetPrinterAddress());
}

TEST_F(SessionTicketTest, PostscriptVersionInBothForms) {
    PrinterInfoTicket printer(session);
    CFTypeRef level = CFSTR("stale");
    CFTypeRef version = CFSTR("stale");
    CFTypeRef revision = CFSTR("stale");
    EXPECT_FALSE(printer.PostscriptVersion(&level, &version, &revision));
    EXPECT_EQ(nullptr, level);
    EXPECT_EQ(nullptr, version);
    EXPECT_EQ(nullptr, revision);

    SetInfoNumber("PMPostScriptLevel", 3);
    SetInfo("PMPSVersion", CFSTR("3010.106"));
    SetInfo("PMPSRevision", CFSTR("five"));
    EXPECT_TRUE(printer.PostscriptVersion(&level, nullptr, &revision));
    EXPECT_NE(nullptr, level);
    EXPECT_NE(nullptr, revision);

    SInt32 levelNumber = 0;
    SInt32 revisionNumber = 0;
    CString versionText;
    EXPECT_TRUE(printer.PostscriptVersion(&levelNumber, &versionText, &revisionNumber));
    EXPECT_EQ(3, levelNumber);
    EXPECT_STREQ("3010.106", versionText);
    EXPECT_EQ(-1, revisionNumber);  // not a number

    // Only what is asked for is filled.
    SInt32 onlyRevision = 9;
    SetInfoNumber("PMPSRevision", 5);
    EXPECT_TRUE(printer.PostscriptVersion(nullptr, nullptr, &onlyRevision));
    EXPECT_EQ(5, onlyRevision);
    CString onlyVersion;
    SetInfoNumber("PMPSVersion", 3010);  // a version that is not text is not delivered
    EXPECT_FALSE(printer.PostscriptVersion(nullptr, &onlyVersion, nullptr));
}

}  // namespace
