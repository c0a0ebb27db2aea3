#include "PrintCore/HalyxPrintHost.h"

#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "CoreFoundation/CFNumber.h"
#include "CoreFoundation/CFURL.h"
#include "PrintCore/PMPrinter.h"
#include "testing/FailureInjection.h"

extern "C" SInt32 HalyxLandscapeOrientationFromC(const char* ppdPath);

namespace {

const char kPPDText[] = "*PPD-Adobe: \"4.3\"\n*PCFileName: \"HALYXC1.PPD\"\n";

class HalyxPrintHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/halyx-printcore-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(pattern));
        folder = pattern;
        ppdPath = folder + "/Halyx Color.ppd";
        FILE* file = fopen(ppdPath.c_str(), "wb");
        ASSERT_NE(nullptr, file);
        fputs(kPPDText, file);
        fclose(file);
    }
    void TearDown() override {
        if (session != nullptr) {
            EXPECT_EQ(kPMNoError, PMRelease(session));
        }
        unlink(ppdPath.c_str());
        rmdir(folder.c_str());
    }

    // The ticket whose number the session keeps under `name`, read as a pane reads it.
    PMTicketRef Ticket(CFStringRef name) {
        CFTypeRef data = nullptr;
        if (PMSessionGetDataFromSession(session, name, &data) != kPMNoError) return nullptr;
        SInt32 number = 0;
        if (CFGetTypeID(data) != CFNumberGetTypeID() ||
            !CFNumberGetValue(static_cast<CFNumberRef>(data), kCFNumberSInt32Type, &number)) {
            return nullptr;
        }
        return HalyxTicketRefFromNumber(number);
    }

    SInt32 Int(CFStringRef ticketName, CFStringRef key) {
        SInt32 value = -999;
        EXPECT_EQ(kPMNoError,
                  PMTicketGetSInt32(Ticket(ticketName), kPMTopLevel, kPMTopLevel, key, &value));
        return value;
    }

    std::string DescriptionPath() {
        PMPrinter printer = nullptr;
        if (PMSessionGetCurrentPrinter(session, &printer) != kPMNoError) return "<no printer>";
        CFURLRef url = nullptr;
        if (PMPrinterCopyDescriptionURL(printer, kPMPPDDescriptionType, &url) != kPMNoError) {
            return "<no url>";
        }
        UInt8 path[1024];
        Boolean ok = CFURLGetFileSystemRepresentation(url, true, path, sizeof path);
        CFRelease(url);
        return ok ? reinterpret_cast<char*>(path) : "<no path>";
    }

    std::string folder;
    std::string ppdPath;
    PMPrintSession session = nullptr;
};

TEST_F(HalyxPrintHostTest, SessionCarriesThePrinterAndTheThreeTicketsAsNumbers) {
    ASSERT_EQ(kPMNoError, HalyxCreatePrintSession(ppdPath.c_str(), &session));
    EXPECT_EQ(ppdPath, DescriptionPath());

    // Each ticket is found through its number and is of its own type.
    struct {
        CFStringRef name;
        CFStringRef type;
    } expected[] = {{kPDE_PMPrintSettingsRef, kPMPrintSettingsTicket},
                    {kPDE_PMPageFormatRef, kPMPageFormatTicket},
                    {kPDE_PMPrinterInfoRef, kPMPrinterInfoTicket}};
    for (const auto& one : expected) {
        CFStringRef type = nullptr;
        ASSERT_EQ(kPMNoError, PMTicketGetType(Ticket(one.name), &type));
        EXPECT_TRUE(CFEqual(one.type, type));
    }

    EXPECT_EQ(kPMPortrait, Int(kPDE_PMPageFormatRef, kPMOrientationKey));
    EXPECT_EQ(1, Int(kPDE_PMPrintSettingsRef, kPMLayoutRowsKey));
    EXPECT_EQ(1, Int(kPDE_PMPrintSettingsRef, kPMLayoutColumnsKey));

    PMTicketRef info = Ticket(kPDE_PMPrinterInfoRef);
    CFStringRef text = nullptr;
    ASSERT_EQ(kPMNoError,
              PMTicketGetCFString(info, kPMTopLevel, kPMTopLevel, kPMPrinterLongNameKey, &text));
    EXPECT_TRUE(CFEqual(CFSTR("Halyx Color"), text));
    ASSERT_EQ(kPMNoError,
              PMTicketGetCFString(info, kPMTopLevel, kPMTopLevel, kPMDescriptionFileKey, &text));
    CFStringRef expectedPath =
        CFStringCreateWithCString(kCFAllocatorDefault, ppdPath.c_str(), kCFStringEncodingUTF8);
    EXPECT_TRUE(CFEqual(expectedPath, text));
    CFRelease(expectedPath);
    CFDataRef compiled = nullptr;
    ASSERT_EQ(kPMNoError,
              PMTicketGetCFData(info, kPMTopLevel, kPMTopLevel, kPMCompiledPPDKey, &compiled));
    ASSERT_EQ(static_cast<CFIndex>(sizeof kPPDText - 1), CFDataGetLength(compiled));
    EXPECT_EQ(0, memcmp(kPPDText, CFDataGetBytePtr(compiled), sizeof kPPDText - 1));

    // A pane may overwrite what the host wrote.
    EXPECT_EQ(kPMNoError, PMTicketSetSInt32(Ticket(kPDE_PMPrintSettingsRef),
                                            CFSTR("com.halyx.pane"), kPMCopiesKey, 3, kPMUnlocked));
    EXPECT_EQ(kPMNoError, PMTicketSetSInt32(Ticket(kPDE_PMPageFormatRef), CFSTR("com.halyx.pane"),
                                            kPMOrientationKey, kPMLandscape, kPMUnlocked));
}

TEST_F(HalyxPrintHostTest, ACHostReachesTheTicketsThroughTheSessionNumbers) {
    EXPECT_EQ(kPMLandscape, HalyxLandscapeOrientationFromC(ppdPath.c_str()));
}

TEST_F(HalyxPrintHostTest, ReleasingTheSessionReleasesItsTickets) {
    ASSERT_EQ(kPMNoError, HalyxCreatePrintSession(ppdPath.c_str(), &session));
    PMTicketRef settings = Ticket(kPDE_PMPrintSettingsRef);
    ASSERT_NE(nullptr, settings);
    ASSERT_EQ(kPMNoError,
              PMTicketRetain(settings));  // a pane keeping the ticket beyond the session
    PMTicketRef pageFormat = Ticket(kPDE_PMPageFormatRef);
    ASSERT_EQ(kPMNoError, PMRelease(session));
    session = nullptr;

    CFStringRef type = nullptr;
    EXPECT_EQ(kPMInvalidTicket, PMTicketGetType(pageFormat, &type));
    EXPECT_EQ(kPMNoError, PMTicketGetType(settings, &type));
    EXPECT_EQ(kPMNoError, PMTicketRelease(settings));
    EXPECT_EQ(kPMInvalidTicket, PMTicketGetType(settings, &type));
}

TEST_F(HalyxPrintHostTest, OrientationAndLayoutSettersWriteTheirTickets) {
    ASSERT_EQ(kPMNoError, HalyxCreatePrintSession(ppdPath.c_str(), &session));
    EXPECT_EQ(kPMNoError, HalyxSessionSetOrientation(session, kPMReverseLandscape));
    EXPECT_EQ(kPMReverseLandscape, Int(kPDE_PMPageFormatRef, kPMOrientationKey));
    EXPECT_EQ(kPMNoError, HalyxSessionSetLayout(session, 3, 2));
    EXPECT_EQ(3, Int(kPDE_PMPrintSettingsRef, kPMLayoutRowsKey));
    EXPECT_EQ(2, Int(kPDE_PMPrintSettingsRef, kPMLayoutColumnsKey));

    EXPECT_EQ(kPMInvalidParameter, HalyxSessionSetOrientation(session, 0));
    EXPECT_EQ(kPMInvalidParameter, HalyxSessionSetOrientation(session, 5));
    EXPECT_EQ(kPMInvalidParameter, HalyxSessionSetLayout(session, 0, 1));
    EXPECT_EQ(kPMInvalidParameter, HalyxSessionSetLayout(session, 1, -2));
    EXPECT_EQ(kPMReverseLandscape, Int(kPDE_PMPageFormatRef, kPMOrientationKey));
    EXPECT_EQ(3, Int(kPDE_PMPrintSettingsRef, kPMLayoutRowsKey));

    // A session without the tickets reports the missing session data.
    PMPrintSession bare = nullptr;
    ASSERT_EQ(kPMNoError, PMCreateSession(&bare));
    EXPECT_EQ(kPMInvalidPrintSettings, HalyxSessionSetOrientation(bare, kPMPortrait));
    EXPECT_EQ(kPMInvalidPrintSettings, HalyxSessionSetLayout(bare, 1, 1));
    EXPECT_EQ(kPMNoError, PMRelease(bare));
    EXPECT_EQ(kPMInvalidPrintSession, HalyxSessionSetOrientation(nullptr, kPMPortrait));
    EXPECT_EQ(kPMInvalidPrintSession, HalyxSessionSetLayout(bare, 1, 1));
}

TEST_F(HalyxPrintHostTest, APrinterCanBePointedAtAnotherOrNoPPD) {
    ASSERT_EQ(kPMNoError, HalyxCreatePrintSession(ppdPath.c_str(), &session));
    PMTicketRef info = Ticket(kPDE_PMPrinterInfoRef);
    std::string moved = folder + "/moved/Other.ppd";  // need not exist
    ASSERT_EQ(kPMNoError, HalyxSessionSetPrinterPPD(session, moved.c_str()));
    EXPECT_EQ(moved, DescriptionPath());
    CFStringRef text = nullptr;
    ASSERT_EQ(kPMNoError,
              PMTicketGetCFString(info, kPMTopLevel, kPMTopLevel, kPMDescriptionFileKey, &text));
    char path[1024];
    ASSERT_TRUE(CFStringGetCString(text, path, sizeof path, kCFStringEncodingUTF8));
    EXPECT_EQ(moved, path);
    CFDataRef compiled = nullptr;
    EXPECT_EQ(kPMNoError,
              PMTicketGetCFData(info, kPMTopLevel, kPMTopLevel, kPMCompiledPPDKey, &compiled));

    ASSERT_EQ(kPMNoError, HalyxSessionSetPrinterPPD(session, nullptr));
    PMPrinter printer = nullptr;
    ASSERT_EQ(kPMNoError, PMSessionGetCurrentPrinter(session, &printer));
    CFURLRef url = nullptr;
    EXPECT_EQ(kPMKeyNotFound, PMPrinterCopyDescriptionURL(printer, kPMPPDDescriptionType, &url));
    EXPECT_EQ(nullptr, url);
    EXPECT_EQ(kPMKeyNotFound,
              PMTicketGetCFString(info, kPMTopLevel, kPMTopLevel, kPMDescriptionFileKey, &text));
    EXPECT_EQ(kPMInvalidParameter, HalyxSessionSetPrinterPPD(session, ""));
}

TEST_F(HalyxPrintHostTest, DescriptionURLIsOnlyForThePPDType) {
    ASSERT_EQ(kPMNoError, HalyxCreatePrintSession(ppdPath.c_str(), &session));
    PMPrinter printer = nullptr;
    ASSERT_EQ(kPMNoError, PMSessionGetCurrentPrinter(session, &printer));
    CFURLRef url = nullptr;
    EXPECT_EQ(kPMInvalidParameter, PMPrinterCopyDescriptionURL(printer, CFSTR("Icon"), &url));
    // The type is compared by value.
    CFStringRef type = CFStringCreateWithCString(kCFAllocatorDefault, "PMPPDDescriptionType",
                                                 kCFStringEncodingUTF8);
    EXPECT_EQ(kPMNoError, PMPrinterCopyDescriptionURL(printer, type, &url));
    CFRelease(type);
    ASSERT_NE(nullptr, url);
    EXPECT_FALSE(CFURLHasDirectoryPath(url));
    CFRelease(url);
}

TEST_F(HalyxPrintHostTest, AMissingPPDOrABadArgumentMakesNoSession) {
    std::string missing = folder + "/absent.ppd";
    session = reinterpret_cast<PMPrintSession>(&missing);
    EXPECT_EQ(fnfErr, HalyxCreatePrintSession(missing.c_str(), &session));
    EXPECT_EQ(nullptr, session);
    EXPECT_EQ(kPMInvalidParameter, HalyxCreatePrintSession("", &session));
    EXPECT_EQ(kPMInvalidParameter, HalyxCreatePrintSession(nullptr, &session));
    EXPECT_EQ(kPMInvalidParameter, HalyxCreatePrintSession(ppdPath.c_str(), nullptr));
    EXPECT_EQ(nullptr, session);
}

TEST_F(HalyxPrintHostTest, AnAllocationFailureAtAnyStepLeavesNothingBehind) {
    // Each armed failure hits one of the session, the printer or a ticket; the sanitizer build
    // checks that the parts made before it are released.
    for (int skip = 0; skip < 5; ++skip) {
        HalyxFailureScope scope;
        HalyxInjectFailures(kHalyxFailAllocation, skip, 1);
        PMPrintSession made = nullptr;
        EXPECT_EQ(kPMAllocationFailure, HalyxCreatePrintSession(ppdPath.c_str(), &made)) << skip;
        EXPECT_EQ(nullptr, made);
        EXPECT_EQ(1, HalyxInjectedFailureCount(kHalyxFailAllocation));
    }
    HalyxFailureScope scope;
    HalyxInjectFailures(kHalyxFailAllocation, 5, 1);
    ASSERT_EQ(kPMNoError, HalyxCreatePrintSession(ppdPath.c_str(), &session));
}

TEST_F(HalyxPrintHostTest, AdoptedTicketsAreKeptAsNumbers) {
    ASSERT_EQ(kPMNoError, PMCreateSession(&session));
    PMTicketRef ticket = nullptr;
    ASSERT_EQ(kPMNoError, PMTicketCreate(kCFAllocatorDefault, kPMPrinterInfoTicket, &ticket));
    EXPECT_EQ(kPMInvalidParameter, HalyxSessionAdoptTicket(session, nullptr, ticket));
    EXPECT_EQ(kPMInvalidTicket, HalyxSessionAdoptTicket(session, kPDE_PMPrinterInfoRef,
                                                        HalyxTicketRefFromNumber(-1)));
    EXPECT_EQ(kPMInvalidPrintSession,
              HalyxSessionAdoptTicket(nullptr, kPDE_PMPrinterInfoRef, ticket));
    ASSERT_EQ(kPMNoError, HalyxSessionAdoptTicket(session, kPDE_PMPrinterInfoRef, ticket));
    EXPECT_EQ(ticket, Ticket(kPDE_PMPrinterInfoRef));
    // The session frees it at TearDown; LeakSanitizer sees it otherwise.
}

}  // namespace
