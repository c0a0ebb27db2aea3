// Fixtures of the plug-in tests: the bundle assembled in the build tree, found by its identifier;
// a dialog window with the pane's user pane; a print session on a PPD; and the plug-in reached
// through its factory, as the print dialog reaches it.
#ifndef HALYX_TESTS_CORE_PLUGIN_PLUGINTESTSUPPORT_H
#define HALYX_TESTS_CORE_PLUGIN_PLUGINTESTSUPPORT_H

#include <gtest/gtest.h>

#include <string>

#include "Core/BundleLookup.h"
#include "Core/CurrentPPD.h"
#include "Core/PDEBundle.h"
#include "Core/SharedPPDManager.h"
#include "Core/plugin/HalyxJobNotesPDE.h"
#include "Core/plugin/PDEInterface.h"
#include "Core/plugin/PluginFactory.h"
#include "CoreFoundation/CFBundle.h"
#include "CoreFoundation/CFNumber.h"
#include "HIToolbox/ControlDefinitions.h"
#include "HIToolbox/MacWindows.h"
#include "PrintCore/HalyxPrintHost.h"
#include "PrintCore/PMPrintDialogExtension.h"
#include "PrintCore/PMTicket.h"

namespace plugintest {

constexpr const char* kSample = HALYX_SOURCE_DIR "/examples/HalyxSample.ppd";

// The ticket the session keeps under `name` (kPDE_PMPrintSettingsRef, ...); null when none.
inline PMTicketRef SessionTicket(PMPrintSession session, CFStringRef name) {
    CFTypeRef number = nullptr;
    SInt32 value = 0;
    if (PMSessionGetDataFromSession(session, name, &number) != noErr || number == nullptr ||
        !CFNumberGetValue(static_cast<CFNumberRef>(number), kCFNumberSInt32Type, &value))
        return nullptr;
    return HalyxTicketRefFromNumber(value);
}

class PluginTest : public ::testing::Test {
protected:
    void SetUp() override {
        HalyxBundleAddSearchFolder(HALYX_BINARY_DIR);
        Rect bounds = {0, 0, 500, 525};
        ASSERT_EQ(noErr,
                  CreateNewWindow(kMovableModalWindowClass, kWindowNoAttributes, &bounds, &window));
        Rect paneBounds = {0, 0, 450, 525};
        ASSERT_EQ(noErr,
                  CreateUserPaneControl(window, &paneBounds, kControlSupportsEmbedding, &pane));
        session = NewSession(kSample);
    }
    void TearDown() override {
        if (session != nullptr) PMRelease(session);
        if (window != nullptr) DisposeWindow(window);
        EXPECT_EQ(nullptr, gORBPPD);
        // Every pane gave its model back: nothing is left in the cache.
        EXPECT_EQ(nullptr, GetSharedPPDManager());
        MyFreeBundle(nullptr);
        PDEBundle::InitBundle(nullptr);
        HalyxBundleResetRegistry();
    }

    static PMPrintSession NewSession(const std::string& ppd) {
        PMPrintSession made = nullptr;
        EXPECT_EQ(noErr, HalyxCreatePrintSession(ppd.c_str(), &made));
        return made;
    }

    // The factory instance and its table, as the dialog finds them.
    static void* NewInstance() { return HalyxJobNotesPluginFactory(nullptr, kPMPDEPlugInTypeID); }
    static PMPlugInBaseVTable* Base(void* instance) {
        return *static_cast<PMPlugInBaseVTable**>(instance);
    }
    static PMPDEInterface* QueryPane(void* instance) {
        void* answer = nullptr;
        EXPECT_EQ(0, Base(instance)->QueryInterface(instance, CFUUIDGetUUIDBytes(kPMPDEInterfaceID),
                                                    &answer));
        return static_cast<PMPDEInterface*>(answer);
    }

    WindowRef window = nullptr;
    ControlRef pane = nullptr;
    PMPrintSession session = nullptr;
};

// One pane driven through the interface: Retain and Prologue when made; Terminate and the
// releases when it goes.
class Pane {
public:
    Pane() {
        instance = HalyxJobNotesPluginFactory(nullptr, kPMPDEPlugInTypeID);
        if (instance == nullptr) return;
        void* answer = nullptr;
        (*static_cast<PMPlugInBaseVTable**>(instance))
            ->QueryInterface(instance, CFUUIDGetUUIDBytes(kPMPDEInterfaceID), &answer);
        object = static_cast<PMPDEInterface*>(answer);
        if (object == nullptr) return;
        table = object->vtable;
        retainStatus = table->Retain(object);
        prologueStatus = table->Prologue(&context, &creator, &kind, &title, &width, &height);
    }
    ~Pane() {
        if (context != nullptr) table->Terminate(context, noErr);
        if (kind != nullptr) CFRelease(kind);
        if (object != nullptr) {
            PMPDEInterface* reference = object;
            table->Release(&reference);
            reference = object;
            table->Release(&reference);
        }
        if (instance != nullptr) (*static_cast<PMPlugInBaseVTable**>(instance))->Release(instance);
    }
    OSStatus Initialize(ControlRef parent, PMPrintSession session) {
        PMPDEFlags flags = 99;
        OSStatus status = table->Initialize(context, &flags, parent, parent, session);
        if (status == noErr) {
            EXPECT_EQ(0u, flags);
        }
        return status;
    }
    HalyxJobNotesPDE* Object() const { return static_cast<HalyxJobNotesPDE*>(context); }

    void* instance = nullptr;
    PMPDEInterface* object = nullptr;
    PMPDEVTable* table = nullptr;
    PMPDEContext context = nullptr;
    OSStatus retainStatus = -1;
    OSStatus prologueStatus = -1;
    OSType creator = 0;
    CFStringRef kind = nullptr;
    CFStringRef title = nullptr;
    UInt32 width = 0;
    UInt32 height = 0;

private:
    Pane(const Pane&) = delete;
    Pane& operator=(const Pane&) = delete;
};

}  // namespace plugintest

#endif  // HALYX_TESTS_CORE_PLUGIN_PLUGINTESTSUPPORT_H
