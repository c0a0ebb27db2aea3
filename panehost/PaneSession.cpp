#include "panehost/PaneSession.h"

#include <string.h>
#include <time.h>
#include <unistd.h>

#include "CoreFoundation/CFString.h"
#include "HIToolbox/ControlDefinitions.h"
#include "HIToolbox/HalyxInput.h"
#include "HIToolbox/MacWindows.h"
#include "HIToolbox/PortRecording.h"
#include "HIToolbox/Sound.h"
#include "CoreFoundation/CFNumber.h"
#include "PrintCore/HalyxPrintHost.h"
#include "PrintCore/PMTicket.h"
#include "PrintCore/ToolboxRandom.h"
#include "panehost/HostText.h"

namespace halyx::panehost {

namespace {

// The dialog's layout: the pane at the top left, the Print button under it at the right.
constexpr SInt16 kButtonHeight = 20;
constexpr SInt16 kButtonWidth = 90;
constexpr SInt16 kButtonMargin = 10;

// Answers the Print button's command, which reaches the application only when no handler on the
// way (the pane's editor among them) stopped it.
OSStatus PrintCommandHandler(EventHandlerCallRef, EventRef event, void* userData) {
    HICommandExtended command;
    if (GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr, sizeof command,
                          nullptr, &command) != noErr ||
        command.commandID != kHICommandOK)
        return eventNotHandledErr;
    *static_cast<bool*>(userData) = true;
    return noErr;
}

OSStatus ClickInput(void* control) {
    return HalyxClickControl(static_cast<ControlRef>(control), 0);
}

}  // namespace

PaneOpenStatus PaneSession::Open() {
    if (!LoadPane()) return PaneOpenStatus::kFailed;
    UInt32 width = 0, height = 0;
    OSType creator = 0;
    CFStringRef title = nullptr;
    if (mInterface->vtable->Retain(mInterface) != noErr)
        return Fail(PaneOpenStatus::kFailed, "the plug-in's interface definition cannot be opened");
    mRetained = true;
    OSStatus status =
        mInterface->vtable->Prologue(&mContext, &creator, &mKind, &title, &width, &height);
    if (status != noErr || mContext == nullptr)
        return Fail(PaneOpenStatus::kFailed,
                    "the pane cannot be made (Prologue " + std::to_string(status) + ")");
    if (!MakeWindow(width, height)) return PaneOpenStatus::kFailed;
    PMPDEFlags flags = 0;
    status = mInterface->vtable->Initialize(mContext, &flags, mPane, mPane, mSession);
    if (status != noErr)
        return Fail(
            PaneOpenStatus::kNotServed,
            "the pane does not serve this printer (Initialize " + std::to_string(status) + ")");
    mInterface->vtable->Open(mContext);
    ShowWindow(mWindow);
    return PaneOpenStatus::kOpened;
}

bool PaneSession::LoadPane() {
    mInstance = mLoader.Factory()(kCFAllocatorDefault, kPMPDEPlugInTypeID);
    if (mInstance == nullptr) {
        error = "the plug-in's factory made nothing";
        return false;
    }
    PMPlugInBaseVTable* base = *static_cast<PMPlugInBaseVTable**>(mInstance);
    void* answer = nullptr;
    PMPlugInResult result =
        base->QueryInterface(mInstance, CFUUIDGetUUIDBytes(kPMPDEInterfaceID), &answer);
    if (result != 0 || answer == nullptr) {
        error = "the plug-in has no print dialog extension interface";
        return false;
    }
    mInterface = static_cast<PMPDEInterface*>(answer);
    return true;
}

bool PaneSession::MakeWindow(UInt32 width, UInt32 height) {
    Rect bounds = {0, 0, static_cast<SInt16>(height + kButtonHeight + 2 * kButtonMargin),
                   static_cast<SInt16>(width)};
    if (CreateNewWindow(kMovableModalWindowClass, kWindowStandardHandlerAttribute, &bounds,
                        &mWindow) != noErr) {
        error = "cannot make the dialog window";
        return false;
    }
    Rect paneBounds = {0, 0, static_cast<SInt16>(height), static_cast<SInt16>(width)};
    Rect buttonBounds = {static_cast<SInt16>(height + kButtonMargin),
                         static_cast<SInt16>(width - kButtonMargin - kButtonWidth),
                         static_cast<SInt16>(height + kButtonMargin + kButtonHeight),
                         static_cast<SInt16>(width - kButtonMargin)};
    if (CreateUserPaneControl(mWindow, &paneBounds, kControlSupportsEmbedding, &mPane) != noErr ||
        CreatePushButtonControl(mWindow, &buttonBounds, CFSTR("Print"), &mPrintButton) != noErr ||
        SetControlCommandID(mPrintButton, kHICommandOK) != noErr) {
        error = "cannot make the dialog's controls";
        return false;
    }
    static const EventTypeSpec kCommand = {kEventClassCommand, kEventCommandProcess};
    mPrintHandlerUPP = NewEventHandlerUPP(PrintCommandHandler);
    if (InstallApplicationEventHandler(mPrintHandlerUPP, 1, &kCommand, &mPrintPressed,
                                       &mPrintHandler) != noErr) {
        error = "cannot watch the Print button";
        return false;
    }
    return true;
}

bool PaneSession::Deliver(OSStatus (*input)(void*), void* argument, std::string* message,
                          Rect* where) {
    GrafPtr port = GetWindowPort(mWindow);
    HalyxPortClearDrawings(port);
    UInt32 beeps = HalyxBeepCount();
    input(argument);
    message->clear();
    if (HalyxBeepCount() == beeps) return true;
    HalyxDrawing drawing;
    for (UInt32 i = 0; HalyxPortGetDrawing(port, i, &drawing); ++i) {
        if (drawing.kind != kHalyxDrawText || drawing.text == nullptr || drawing.textLength <= 0)
            continue;
        if (drawing.control != nullptr) {
            HalyxControlKind kind = HalyxGetControlKind(drawing.control);
            if (drawing.control == mPrintButton || kind == kHalyxControlEditText ||
                kind == kHalyxControlDataBrowser)
                continue;
        }
        *message = SystemToUTF8(drawing.text, drawing.textLength);
        if (where != nullptr) *where = drawing.rect;
    }
    return false;
}

bool PaneSession::PressPrint(std::string* message, Rect* where) {
    mPrintPressed = false;
    if (!Deliver(ClickInput, mPrintButton, message, where)) return false;
    return mPrintPressed;
}

OSStatus PaneSession::Sync() {
    return mInterface->vtable->Sync(mContext, mSession, false);
}

bool PaneSession::PiecesSetting(std::string* key, std::string* path) const {
    key->clear();
    path->clear();
    CFStringRef identifier = CFBundleGetIdentifier(mLoader.Bundle());
    CFStringRef name = identifier != nullptr
                           ? CFStringCreateWithFormat(kCFAllocatorDefault, nullptr,
                                                      CFSTR("ORB.PSData.%@"), identifier)
                           : nullptr;
    CFTypeRef number = nullptr;
    SInt32 ticketNumber = 0;
    CFStringRef value = nullptr;
    if (name != nullptr &&
        PMSessionGetDataFromSession(mSession, kPDE_PMPrintSettingsRef, &number) == noErr &&
        number != nullptr && CFGetTypeID(number) == CFNumberGetTypeID() &&
        CFNumberGetValue(static_cast<CFNumberRef>(number), kCFNumberSInt32Type, &ticketNumber))
        PMTicketGetCFString(HalyxTicketRefFromNumber(ticketNumber), kPMTopLevel, kPMTopLevel, name,
                            &value);
    if (value != nullptr) {
        *key = ToUTF8(name);
        *path = ToUTF8(value);
    }
    if (name != nullptr) CFRelease(name);
    return value != nullptr;
}

void PaneSession::SeedRandom() {
    randSeed = static_cast<SInt32>(
        (static_cast<UInt32>(time(nullptr)) ^ (static_cast<UInt32>(getpid()) << 16)) & 0x7FFFFFFF);
    if (randSeed == 0) randSeed = 1;
}

void PaneSession::TearDown() {
    if (mContext != nullptr) {
        mInterface->vtable->Close(mContext);
        mInterface->vtable->Terminate(mContext, noErr);
        mContext = nullptr;
    }
    if (mKind != nullptr) CFRelease(mKind);
    mKind = nullptr;
    if (mPrintHandler != nullptr) RemoveEventHandler(mPrintHandler);
    if (mPrintHandlerUPP != nullptr) DisposeEventHandlerUPP(mPrintHandlerUPP);
    mPrintHandler = nullptr;
    mPrintHandlerUPP = nullptr;
    if (mWindow != nullptr) DisposeWindow(mWindow);
    mWindow = nullptr;
    if (mInterface != nullptr) {
        // The last Release frees the table, so the entry is taken first.
        OSStatus (*release)(PMPDEInterface**) = mInterface->vtable->Release;
        PMPDEInterface* reference = mInterface;
        if (mRetained) release(&reference);
        // The reference QueryInterface handed out.
        reference = mInterface;
        release(&reference);
        mInterface = nullptr;
    }
    if (mInstance != nullptr) {
        PMPlugInBaseVTable* base = *static_cast<PMPlugInBaseVTable**>(mInstance);
        base->Release(mInstance);
        mInstance = nullptr;
    }
}

}  // namespace halyx::panehost
