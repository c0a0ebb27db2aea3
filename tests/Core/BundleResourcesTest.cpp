// The plug-in bundle as the build assembles it: its identifiers, the factory the print dialog
// looks up, the printer list that accepts the examples, the editor's messages and the interface
// definition.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CoreFoundation/CFArray.h"
#include "CoreFoundation/CFBundle.h"
#include "CoreFoundation/CFDictionary.h"
#include "CoreFoundation/CFUUID.h"
#include "Core/PDEBundle.h"
#include "Core/PrinterLookup.h"
#include "HIToolbox/NibReference.h"
#include "PrintCore/HalyxPrintHost.h"
#include "parser/ORBPPD.h"

namespace {

// The type under which a print dialog looks for the factories of its extensions.
const CFStringRef kPaneTypeID = CFSTR("BCB07250-E57F-11D3-8CA6-0050E4603277");

class BundleResourcesTest : public ::testing::Test {
protected:
    void SetUp() override {
        CFURLRef url = CFURLCreateFromFileSystemRepresentation(
            nullptr, reinterpret_cast<const UInt8*>(HALYX_BINARY_DIR "/HalyxJobNotes.plugin"),
            strlen(HALYX_BINARY_DIR "/HalyxJobNotes.plugin"), true);
        bundle = CFBundleCreate(nullptr, url);
        CFRelease(url);
        ASSERT_NE(nullptr, bundle);
        identifier = CFBundleGetIdentifier(bundle);
        ASSERT_NE(nullptr, identifier);
    }
    void TearDown() override {
        if (bundle != nullptr) CFRelease(bundle);
        HalyxBundleResetRegistry();
    }
    std::string Identifier() const {
        char text[256];
        EXPECT_TRUE(CFStringGetCString(identifier, text, sizeof text, kCFStringEncodingUTF8));
        return text;
    }

    CFBundleRef bundle = nullptr;
    CFStringRef identifier = nullptr;
};

// The kinds of the printf conversions in `format`: 's' for text, 'd' for a number.
std::string Conversions(const char* format) {
    std::string kinds;
    for (const char* p = format; *p != '\0'; ++p) {
        if (*p != '%') continue;
        ++p;
        if (*p == '%') continue;
        while (*p != '\0' && strchr("-+ #0123456789.l", *p) != nullptr) ++p;
        if (*p == 's')
            kinds += 's';
        else if (*p == 'd' || *p == 'i')
            kinds += 'd';
        else
            kinds += '?';
        if (*p == '\0') break;
    }
    return kinds;
}

TEST_F(BundleResourcesTest, TheFactoryIsFoundThroughThePlugInTypes) {
    std::string id = Identifier();
    const std::string head = "com.halyx.print.pde.";
    const std::string tail = ".HJbn";
    ASSERT_EQ(0u, id.rfind(head, 0));
    ASSERT_GT(id.size(), head.size() + tail.size());
    ASSERT_EQ(tail, id.substr(id.size() - tail.size()));
    std::string uuidText = id.substr(head.size(), id.size() - head.size() - tail.size());
    ASSERT_EQ(36u, uuidText.size());
    for (size_t i = 0; i < uuidText.size(); ++i) {
        if (i == 8 || i == 13 || i == 18 || i == 23)
            EXPECT_EQ('-', uuidText[i]);
        else
            EXPECT_NE(nullptr, strchr("0123456789ABCDEF", uuidText[i])) << uuidText;
    }

    CFTypeRef types = CFBundleGetValueForInfoDictionaryKey(bundle, CFSTR("CFPlugInTypes"));
    ASSERT_NE(nullptr, types);
    ASSERT_EQ(CFDictionaryGetTypeID(), CFGetTypeID(types));
    CFTypeRef factories = CFDictionaryGetValue(static_cast<CFDictionaryRef>(types), kPaneTypeID);
    ASSERT_NE(nullptr, factories);
    ASSERT_EQ(CFArrayGetTypeID(), CFGetTypeID(factories));
    ASSERT_GE(CFArrayGetCount(static_cast<CFArrayRef>(factories)), 1);
    CFStringRef factoryID =
        static_cast<CFStringRef>(CFArrayGetValueAtIndex(static_cast<CFArrayRef>(factories), 0));
    CFUUIDRef uuid = CFUUIDCreateFromString(nullptr, factoryID);
    ASSERT_NE(nullptr, uuid);
    CFRelease(uuid);

    CFTypeRef names = CFBundleGetValueForInfoDictionaryKey(bundle, CFSTR("CFPlugInFactories"));
    ASSERT_NE(nullptr, names);
    ASSERT_EQ(CFDictionaryGetTypeID(), CFGetTypeID(names));
    CFTypeRef function = CFDictionaryGetValue(static_cast<CFDictionaryRef>(names), factoryID);
    ASSERT_NE(nullptr, function);
    EXPECT_EQ(kCFCompareEqualTo, CFStringCompare(static_cast<CFStringRef>(function),
                                                 CFSTR("HalyxJobNotesPluginFactory"), 0));
}

TEST_F(BundleResourcesTest, ThePrinterListAcceptsEveryExample) {
    HalyxBundleAddSearchFolder(HALYX_BINARY_DIR);
    for (const char* name : {"HalyxSample.ppd", "HalyxWorkgroup.ppd"}) {
        std::string path = std::string(HALYX_SOURCE_DIR "/examples/") + name;
        PMPrintSession session = nullptr;
        ASSERT_EQ(noErr, HalyxCreatePrintSession(path.c_str(), &session));
        ORBPPD* model = SetupPPD(session, identifier);
        ASSERT_NE(nullptr, model) << name;
        EXPECT_TRUE(model->IsValidPrinterName()) << name;
        EXPECT_TRUE(model->IsValidPPD()) << name;
        model->Retain();
        model->Release();
        PMRelease(session);
    }
}

TEST_F(BundleResourcesTest, EveryEditorMessageTakesItsArguments) {
    struct Message {
        const char* key;
        const char* kinds;
    };
    const Message messages[] = {{"NumbersOnly", "s"}, {"AlphaOnly", "s"},
                                {"KeyNotValid", "s"}, {"MaxChars", "d"},
                                {"LimitChars", "sd"}, {"MaxCharsLimit", "sd"},
                                {"FixedLength", "d"}, {"NotBlank", "s"},
                                {"BadRange", "s"},    {"Range:Bad Range data", "sddd"},
                                {"NotCarried", "s"},  {"PostScriptDelimiters", "s"}};
    char text[256];
    for (const Message& message : messages) {
        int length = PDEBundle::GetLocalizedString(message.key, text, 255, bundle);
        EXPECT_GT(length, 0) << message.key;
        EXPECT_STRNE(message.key, text) << message.key << " has no text of its own";
        EXPECT_EQ(message.kinds, Conversions(text)) << message.key << ": " << text;
    }
    EXPECT_EQ(15, PDEBundle::GetLocalizedString("Halyx Job Notes", text, 255, bundle));
    EXPECT_STREQ("Halyx Job Notes", text);
}

TEST_F(BundleResourcesTest, TheInterfaceDefinitionOpens) {
    IBNibRef nib = nullptr;
    ASSERT_EQ(noErr, CreateNibReferenceWithCFBundle(bundle, CFSTR("HalyxJobNotes"), &nib));
    EXPECT_NE(nullptr, nib);
    DisposeNibReference(nib);
}

}  // namespace
