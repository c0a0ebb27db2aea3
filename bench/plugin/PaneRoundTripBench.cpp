// The pane's round trip as the print dialog makes it for each job: Initialize on the session's
// printer, then Sync towards the ticket (job pieces, model snapshot, pieces file), through the
// plug-in interface on a pane that already exists. One benchmark per example PPD.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <string>

#include "Core/BundleLookup.h"
#include "Core/PDEBundle.h"
#include "Core/plugin/PluginFactory.h"
#include "CoreFoundation/CFBundle.h"
#include "CoreFoundation/CFNumber.h"
#include "HIToolbox/ControlDefinitions.h"
#include "HIToolbox/MacWindows.h"
#include "PrintCore/HalyxPrintHost.h"
#include "PrintCore/PMPrintDialogExtension.h"

namespace {

const char* const kExamples[] = {
    HALYX_SOURCE_DIR "/examples/HalyxSample.ppd",
    HALYX_SOURCE_DIR "/examples/HalyxWorkgroup.ppd",
};

// Removes the pieces file the pane named in the session's print settings.
void RemovePiecesFile(PMPrintSession session, CFStringRef key) {
    CFTypeRef number = nullptr;
    SInt32 value = 0;
    CFStringRef path = nullptr;
    char buffer[1024];
    if (PMSessionGetDataFromSession(session, kPDE_PMPrintSettingsRef, &number) == noErr &&
        CFNumberGetValue(static_cast<CFNumberRef>(number), kCFNumberSInt32Type, &value) &&
        PMTicketGetCFString(HalyxTicketRefFromNumber(value), kPMTopLevel, kPMTopLevel, key,
                            &path) == noErr &&
        CFStringGetCString(path, buffer, sizeof buffer, kCFStringEncodingUTF8))
        unlink(buffer);
}

void BM_PaneRoundTrip(benchmark::State& state) {
    HalyxBundleAddSearchFolder(HALYX_BINARY_DIR);
    PMPrintSession session = nullptr;
    WindowRef window = nullptr;
    ControlRef pane = nullptr;
    Rect bounds = {0, 0, 500, 525};
    Rect paneBounds = {0, 0, 450, 525};
    void* instance = HalyxJobNotesPluginFactory(nullptr, kPMPDEPlugInTypeID);
    void* answer = nullptr;
    if (instance != nullptr)
        (*static_cast<PMPlugInBaseVTable**>(instance))
            ->QueryInterface(instance, CFUUIDGetUUIDBytes(kPMPDEInterfaceID), &answer);
    PMPDEInterface* object = static_cast<PMPDEInterface*>(answer);
    PMPDEContext context = nullptr;
    OSType creator = 0;
    CFStringRef kind = nullptr;
    CFStringRef title = nullptr;
    UInt32 width = 0;
    UInt32 height = 0;
    if (object == nullptr ||
        HalyxCreatePrintSession(kExamples[state.range(0)], &session) != noErr ||
        CreateNewWindow(kMovableModalWindowClass, kWindowNoAttributes, &bounds, &window) != noErr ||
        CreateUserPaneControl(window, &paneBounds, kControlSupportsEmbedding, &pane) != noErr ||
        object->vtable->Retain(object) != noErr ||
        object->vtable->Prologue(&context, &creator, &kind, &title, &width, &height) != noErr) {
        state.SkipWithError("the plug-in cannot be set up (is the bundle built?)");
    } else {
        CFStringRef key = CFStringCreateWithFormat(nullptr, nullptr, CFSTR("ORB.PSData.%@"), kind);
        for (auto _ : state) {
            PMPDEFlags flags = 0;
            OSStatus status = object->vtable->Initialize(context, &flags, pane, pane, session);
            if (status == noErr) status = object->vtable->Sync(context, session, false);
            state.PauseTiming();
            RemovePiecesFile(session, key);
            state.ResumeTiming();
            if (status != noErr) {
                state.SkipWithError("Initialize or Sync failed");
                break;
            }
        }
        CFRelease(key);
    }
    if (context != nullptr) object->vtable->Terminate(context, noErr);
    if (kind != nullptr) CFRelease(kind);
    if (object != nullptr) {
        PMPDEInterface* reference = object;
        OSStatus (*release)(PMPDEInterface**) = object->vtable->Release;
        release(&reference);
        reference = object;
        release(&reference);
    }
    if (instance != nullptr) (*static_cast<PMPlugInBaseVTable**>(instance))->Release(instance);
    if (window != nullptr) DisposeWindow(window);
    if (session != nullptr) PMRelease(session);
    PDEBundle::InitBundle(nullptr);
    HalyxBundleResetRegistry();
}
BENCHMARK(BM_PaneRoundTrip)->DenseRange(0, 1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
