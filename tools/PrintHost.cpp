// The dialog a person would see: a window holding the pane's user pane and a Print button, a print
// session on the chosen printer, and the pane driven through its ten entries in the dialog's
// order: Retain and Prologue, Initialize, Open, typing, Sync towards the ticket on Print,
// GetSummaryText, then Close, Terminate and Release.
#include "tools/PrintHost.h"

#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

#include <memory>

#include "CoreFoundation/CFArray.h"
#include "CoreFoundation/CFData.h"
#include "CoreFoundation/CFNumber.h"
#include "CoreFoundation/CFPropertyList.h"
#include "CoreFoundation/CFString.h"
#include "HIToolbox/ControlDefinitions.h"
#include "HIToolbox/DataBrowser.h"
#include "HIToolbox/Events.h"
#include "HIToolbox/HalyxInput.h"
#include "HIToolbox/MacWindows.h"
#include "HIToolbox/PortRecording.h"
#include "HIToolbox/Sound.h"
#include "Picture/Picture.h"
#include "PrintCore/HalyxPrintHost.h"
#include "PrintCore/PMPrintDialogExtension.h"
#include "PrintCore/PMSession.h"
#include "PrintCore/PMTicket.h"
#include "PrintCore/ToolboxRandom.h"
#include "tools/InterruptCleanup.h"
#include "tools/PluginLoader.h"

namespace halyx::tools {

namespace {

// The dialog's layout: the pane at the top left, the Print button under it at the right.
constexpr SInt16 kButtonHeight = 20;
constexpr SInt16 kButtonWidth = 90;
constexpr SInt16 kButtonMargin = 10;
// How far the list is scrolled per step while a row is searched.
constexpr SInt32 kScrollStep = 20;
constexpr int kMaxScrollSteps = 1000;

std::string ToUTF8(CFStringRef text) {
    if (text == nullptr) return std::string();
    CFIndex size =
        CFStringGetMaximumSizeForEncoding(CFStringGetLength(text), kCFStringEncodingUTF8) + 1;
    std::string buffer(static_cast<size_t>(size), '\0');
    if (!CFStringGetCString(text, &buffer[0], size, kCFStringEncodingUTF8)) return std::string();
    buffer.resize(strlen(buffer.c_str()));
    return buffer;
}

// Bytes in the system encoding (what the port records) as UTF-8.
std::string SystemToUTF8(const char* bytes, long length) {
    CFStringRef text =
        CFStringCreateWithBytes(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(bytes),
                                static_cast<CFIndex>(length), CFStringGetSystemEncoding(), false);
    std::string utf8 = ToUTF8(text);
    if (text != nullptr) CFRelease(text);
    return utf8;
}

bool IsEditText(ControlRef control) {
    ControlEditTextSelectionRec selection;
    Size size = 0;
    return control != nullptr &&
           GetControlData(control, kControlEditTextPart, kControlEditTextSelectionTag,
                          sizeof selection, &selection, &size) == noErr;
}

bool IsDataBrowser(ControlRef control) {
    UInt32 top = 0, left = 0;
    return control != nullptr && GetDataBrowserScrollPosition(control, &top, &left) == noErr;
}

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

// One opening of the dialog.
class Dialog {
public:
    Dialog(const PluginLoader& loader, PMPrintSession session, PrintResult* result)
        : mLoader(loader), mSession(session), mResult(result) {}
    ~Dialog() { TearDown(); }

    void Run(const PrintRequest& request);

private:
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    bool Fail(PrintOutcome outcome, const std::string& error) {
        mResult->outcome = outcome;
        mResult->error = error;
        return false;
    }
    bool LoadPane();
    bool MakeWindow(UInt32 width, UInt32 height);
    bool TypeValue(const PrintValue& value);
    bool PressPrint();
    bool CollectResults();
    // Sends one input; false (refused) when it beeped. The editor's message, if any, is kept.
    bool Deliver(OSStatus (*input)(void*), void* argument, const std::string& what);
    ControlRef FindField(const std::string& title);
    ControlRef FieldInView(const std::string& title, ControlRef* browser);
    void TearDown();

    const PluginLoader& mLoader;
    PMPrintSession mSession;
    PrintResult* mResult;

    void* mInstance = nullptr;
    PMPDEInterface* mInterface = nullptr;
    PMPDEContext mContext = nullptr;
    bool mRetained = false;
    CFStringRef mKind = nullptr;
    WindowRef mWindow = nullptr;
    ControlRef mPane = nullptr;
    ControlRef mPrintButton = nullptr;
    EventHandlerRef mPrintHandler = nullptr;
    EventHandlerUPP mPrintHandlerUPP = nullptr;
    bool mPrintPressed = false;
};

void Dialog::Run(const PrintRequest& request) {
    if (!LoadPane()) return;
    UInt32 width = 0, height = 0;
    OSType creator = 0;
    CFStringRef title = nullptr;
    if (mInterface->vtable->Retain(mInterface) != noErr) {
        Fail(PrintOutcome::kFailed, "the plug-in's interface definition cannot be opened");
        return;
    }
    mRetained = true;
    OSStatus status =
        mInterface->vtable->Prologue(&mContext, &creator, &mKind, &title, &width, &height);
    if (status != noErr || mContext == nullptr) {
        Fail(PrintOutcome::kFailed,
             "the pane cannot be made (Prologue " + std::to_string(status) + ")");
        return;
    }
    if (!MakeWindow(width, height)) return;
    PMPDEFlags flags = 0;
    status = mInterface->vtable->Initialize(mContext, &flags, mPane, mPane, mSession);
    if (status != noErr) {
        Fail(PrintOutcome::kFailed,
             "the pane does not serve this printer (Initialize " + std::to_string(status) + ")");
        return;
    }
    mInterface->vtable->Open(mContext);
    ShowWindow(mWindow);
    bool typed = true;
    for (const PrintValue& value : request.values)
        if (!(typed = TypeValue(value))) break;
    const bool pressed = typed && !request.openOnly && PressPrint();
    if (!request.picturePath.empty())
        mResult->pictureStatus = HalyxWriteWindowPicture(mWindow, request.picturePath.c_str());
    if (request.openOnly) mResult->outcome = PrintOutcome::kPrinted;
    if (!pressed) return;
    // The pieces file the pane writes is added to what an interrupted run removes before the
    // interruption can come.
    InterruptCleanup::Deferred deferred;
    status = mInterface->vtable->Sync(mContext, mSession, false);
    if (status != noErr) {
        const std::string why = "Sync " + std::to_string(status);
        Fail(PrintOutcome::kFailed,
             "the pane cannot write the job, which would go out without its notes (" + why + ")");
        return;
    }
    if (CollectResults()) mResult->outcome = PrintOutcome::kPrinted;
}

bool Dialog::LoadPane() {
    mInstance = mLoader.Factory()(kCFAllocatorDefault, kPMPDEPlugInTypeID);
    if (mInstance == nullptr)
        return Fail(PrintOutcome::kFailed, "the plug-in's factory made nothing");
    PMPlugInBaseVTable* base = *static_cast<PMPlugInBaseVTable**>(mInstance);
    void* answer = nullptr;
    PMPlugInResult result =
        base->QueryInterface(mInstance, CFUUIDGetUUIDBytes(kPMPDEInterfaceID), &answer);
    if (result != 0 || answer == nullptr)
        return Fail(PrintOutcome::kFailed, "the plug-in has no print dialog extension interface");
    mInterface = static_cast<PMPDEInterface*>(answer);
    return true;
}

bool Dialog::MakeWindow(UInt32 width, UInt32 height) {
    Rect bounds = {0, 0, static_cast<SInt16>(height + kButtonHeight + 2 * kButtonMargin),
                   static_cast<SInt16>(width)};
    if (CreateNewWindow(kMovableModalWindowClass, kWindowStandardHandlerAttribute, &bounds,
                        &mWindow) != noErr)
        return Fail(PrintOutcome::kFailed, "cannot make the dialog window");
    Rect paneBounds = {0, 0, static_cast<SInt16>(height), static_cast<SInt16>(width)};
    Rect buttonBounds = {static_cast<SInt16>(height + kButtonMargin),
                         static_cast<SInt16>(width - kButtonMargin - kButtonWidth),
                         static_cast<SInt16>(height + kButtonMargin + kButtonHeight),
                         static_cast<SInt16>(width - kButtonMargin)};
    if (CreateUserPaneControl(mWindow, &paneBounds, kControlSupportsEmbedding, &mPane) != noErr ||
        CreatePushButtonControl(mWindow, &buttonBounds, CFSTR("Print"), &mPrintButton) != noErr ||
        SetControlCommandID(mPrintButton, kHICommandOK) != noErr)
        return Fail(PrintOutcome::kFailed, "cannot make the dialog's controls");
    static const EventTypeSpec kCommand = {kEventClassCommand, kEventCommandProcess};
    mPrintHandlerUPP = NewEventHandlerUPP(PrintCommandHandler);
    if (InstallApplicationEventHandler(mPrintHandlerUPP, 1, &kCommand, &mPrintPressed,
                                       &mPrintHandler) != noErr)
        return Fail(PrintOutcome::kFailed, "cannot watch the Print button");
    return true;
}

bool Dialog::Deliver(OSStatus (*input)(void*), void* argument, const std::string& what) {
    GrafPtr port = GetWindowPort(mWindow);
    HalyxPortClearDrawings(port);
    UInt32 beeps = HalyxBeepCount();
    input(argument);
    if (HalyxBeepCount() == beeps) return true;
    // The editor's message is the last text drawn outside the list, its fields and the button.
    std::string message;
    HalyxDrawing drawing;
    for (UInt32 i = 0; HalyxPortGetDrawing(port, i, &drawing); ++i) {
        if (drawing.kind != kHalyxDrawText || drawing.text == nullptr || drawing.textLength <= 0)
            continue;
        if (drawing.control != nullptr &&
            (drawing.control == mPrintButton || IsEditText(drawing.control) ||
             IsDataBrowser(drawing.control)))
            continue;
        message = SystemToUTF8(drawing.text, drawing.textLength);
    }
    if (!message.empty()) mResult->messages.push_back(message);
    mResult->outcome = PrintOutcome::kRefused;
    mResult->error = message.empty() ? what + " was refused" : message;
    return false;
}

// The visible text field in the row whose title cell reads `title`, in the list as it is drawn
// now; null when that row is not in view.
ControlRef Dialog::FieldInView(const std::string& title, ControlRef* browser) {
    GrafPtr port = GetWindowPort(mWindow);
    HalyxPortClearDrawings(port);
    HalyxDrawWindow(mWindow);
    std::vector<Rect> cells;
    std::vector<ControlRef> fields;
    HalyxDrawing drawing;
    for (UInt32 i = 0; HalyxPortGetDrawing(port, i, &drawing); ++i) {
        if (drawing.kind == kHalyxDrawText && IsDataBrowser(drawing.control)) {
            *browser = drawing.control;
            if (drawing.text != nullptr && SystemToUTF8(drawing.text, drawing.textLength) == title)
                cells.push_back(drawing.rect);
        } else if (drawing.kind == kHalyxDrawControl && IsEditText(drawing.control)) {
            fields.push_back(drawing.control);
        }
    }
    for (const Rect& cell : cells) {
        for (ControlRef field : fields) {
            Rect bounds;
            GetControlBounds(field, &bounds);
            int middle = (bounds.top + bounds.bottom) / 2;
            if (middle >= cell.top && middle < cell.bottom && IsControlVisible(field)) return field;
        }
    }
    return nullptr;
}

ControlRef Dialog::FindField(const std::string& title) {
    ControlRef browser = nullptr;
    ControlRef field = FieldInView(title, &browser);
    if (field != nullptr || browser == nullptr) return field;
    // Not in view: look from the top of the list down, as a person scrolls.
    HalyxScrollBrowser(browser, -kScrollStep * kMaxScrollSteps);
    for (int step = 0; step < kMaxScrollSteps; ++step) {
        field = FieldInView(title, &browser);
        if (field != nullptr) return field;
        UInt32 before = 0, after = 0, left = 0;
        GetDataBrowserScrollPosition(browser, &before, &left);
        HalyxScrollBrowser(browser, kScrollStep);
        GetDataBrowserScrollPosition(browser, &after, &left);
        if (after == before) break;
    }
    return nullptr;
}

OSStatus ClickInput(void* control) {
    return HalyxClickControl(static_cast<ControlRef>(control), 0);
}

struct KeyInput {
    WindowRef window;
    UniChar character;
};

OSStatus KeyPress(void* key) {
    KeyInput* input = static_cast<KeyInput*>(key);
    return HalyxPressKey(input->window, input->character, 0);
}

OSStatus SelectAll(void* window) {
    return HalyxSendCommand(static_cast<WindowRef>(window), kHICommandSelectAll);
}

// Clicks the field, selects its whole text and types the value key by key, so the value replaces
// what the field held.
bool Dialog::TypeValue(const PrintValue& value) {
    ControlRef field = FindField(value.title);
    if (field == nullptr)
        return Fail(PrintOutcome::kFailed, "the pane shows no field \"" + value.title + "\"");
    if (!Deliver(ClickInput, field, "the click on \"" + value.title + "\"")) return false;
    if (!Deliver(SelectAll, mWindow, "selecting the text of \"" + value.title + "\"")) return false;
    CFStringRef text =
        CFStringCreateWithCString(kCFAllocatorDefault, value.text.c_str(), kCFStringEncodingUTF8);
    if (text == nullptr) return Fail(PrintOutcome::kBadInput, "the value is not UTF-8");
    CFIndex length = CFStringGetLength(text);
    std::vector<UniChar> characters(static_cast<size_t>(length));
    CFStringGetCharacters(text, CFRangeMake(0, length), characters.data());
    CFRelease(text);
    for (UniChar character : characters) {
        KeyInput key = {mWindow, character};
        CFStringRef one = CFStringCreateWithCharacters(kCFAllocatorDefault, &character, 1);
        std::string shown = ToUTF8(one);
        if (one != nullptr) CFRelease(one);
        if (!Deliver(KeyPress, &key, "the key '" + shown + "' in \"" + value.title + "\""))
            return false;
    }
    return true;
}

bool Dialog::PressPrint() {
    mPrintPressed = false;
    if (!Deliver(ClickInput, mPrintButton, "Print")) return false;
    if (!mPrintPressed) {
        mResult->outcome = PrintOutcome::kRefused;
        mResult->error = "Print was refused";
        return false;
    }
    return true;
}

// The summary the pane reports, and the pieces file whose path it stored in the print settings.
bool Dialog::CollectResults() {
    CFArrayRef titles = nullptr;
    CFArrayRef summaries = nullptr;
    OSStatus status = mInterface->vtable->GetSummaryText(mContext, &titles, &summaries);
    if (status == noErr && titles != nullptr && summaries != nullptr) {
        CFIndex count = CFArrayGetCount(titles);
        for (CFIndex i = 0; i < count; ++i) {
            CFTypeRef summary =
                i < CFArrayGetCount(summaries) ? CFArrayGetValueAtIndex(summaries, i) : nullptr;
            mResult->summary.emplace_back(
                ToUTF8(static_cast<CFStringRef>(CFArrayGetValueAtIndex(titles, i))),
                ToUTF8(static_cast<CFStringRef>(summary)));
        }
    }
    if (titles != nullptr) CFRelease(titles);
    if (summaries != nullptr) CFRelease(summaries);
    if (status != noErr)
        return Fail(PrintOutcome::kFailed,
                    "the pane has no summary (" + std::to_string(status) + ")");

    mResult->pieces.clear();
    mResult->piecesFile.clear();
    mResult->piecesKey.clear();
    CFStringRef identifier = CFBundleGetIdentifier(mLoader.Bundle());
    CFStringRef key = identifier != nullptr
                          ? CFStringCreateWithFormat(kCFAllocatorDefault, nullptr,
                                                     CFSTR("ORB.PSData.%@"), identifier)
                          : nullptr;
    CFTypeRef number = nullptr;
    SInt32 ticketNumber = 0;
    CFStringRef path = nullptr;
    if (key != nullptr &&
        PMSessionGetDataFromSession(mSession, kPDE_PMPrintSettingsRef, &number) == noErr &&
        number != nullptr && CFGetTypeID(number) == CFNumberGetTypeID() &&
        CFNumberGetValue(static_cast<CFNumberRef>(number), kCFNumberSInt32Type, &ticketNumber))
        PMTicketGetCFString(HalyxTicketRefFromNumber(ticketNumber), kPMTopLevel, kPMTopLevel, key,
                            &path);
    if (path != nullptr) mResult->piecesKey = ToUTF8(key);
    if (key != nullptr) CFRelease(key);
    // The print server's filter finds the job's notes only through that file.
    if (path == nullptr)
        return Fail(PrintOutcome::kFailed,
                    "the pane wrote no pieces file: the job would go out without its notes");
    mResult->piecesFile = ToUTF8(path);
    // Nobody has seen this file's name yet: should the program be stopped, it goes too.
    InterruptCleanup::Add(mResult->piecesFile);

    FILE* file = fopen(mResult->piecesFile.c_str(), "rb");
    if (file == nullptr) return Fail(PrintOutcome::kFailed, "cannot read " + mResult->piecesFile);
    std::string bytes;
    char buffer[8192];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, n);
    fclose(file);
    CFDataRef data = CFDataCreate(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(bytes.data()),
                                  static_cast<CFIndex>(bytes.size()));
    CFPropertyListRef list = data != nullptr ? CFPropertyListCreateWithData(
                                                   kCFAllocatorDefault, data, 0, nullptr, nullptr)
                                             : nullptr;
    if (data != nullptr) CFRelease(data);
    bool ok = list != nullptr && CFGetTypeID(list) == CFArrayGetTypeID();
    CFArrayRef items = static_cast<CFArrayRef>(list);
    for (CFIndex i = 0; ok && i + 1 < CFArrayGetCount(items); i += 2) {
        CFTypeRef site = CFArrayGetValueAtIndex(items, i);
        CFTypeRef piece = CFArrayGetValueAtIndex(items, i + 1);
        PrintPiece out;
        ok = CFGetTypeID(site) == CFNumberGetTypeID() &&
             CFNumberGetValue(static_cast<CFNumberRef>(site), kCFNumberSInt32Type, &out.site) &&
             CFGetTypeID(piece) == CFDataGetTypeID();
        if (!ok) break;
        CFDataRef pieceData = static_cast<CFDataRef>(piece);
        out.data.assign(reinterpret_cast<const char*>(CFDataGetBytePtr(pieceData)),
                        static_cast<size_t>(CFDataGetLength(pieceData)));
        mResult->pieces.push_back(out);
    }
    if (list != nullptr) CFRelease(list);
    if (!ok)
        return Fail(PrintOutcome::kFailed,
                    "the pieces file " + mResult->piecesFile + " is not readable");
    return true;
}

void Dialog::TearDown() {
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

}  // namespace

PrintResult PrintHost::Run(const PrintRequest& request) {
    PrintResult result;
    // The pieces file's name is drawn from the toolbox's random numbers.
    randSeed = static_cast<SInt32>(
        (static_cast<UInt32>(time(nullptr)) ^ (static_cast<UInt32>(getpid()) << 16)) & 0x7FFFFFFF);
    if (randSeed == 0) randSeed = 1;
    HalyxResetBeeps();

    PluginLoader loader;
    std::string message;
    if (!loader.Load(request.bundlePath, request.printerListPath, &message)) {
        result.outcome = PrintOutcome::kBadInput;
        result.error = message;
        return result;
    }
    PMPrintSession session = nullptr;
    OSStatus status = HalyxCreatePrintSession(request.ppdPath.c_str(), &session);
    if (status != noErr) {
        result.outcome = PrintOutcome::kBadInput;
        result.error =
            "cannot read the PPD " + request.ppdPath + " (" + std::to_string(status) + ")";
        return result;
    }
    if (HalyxSessionSetOrientation(session, request.orientation) != noErr ||
        HalyxSessionSetLayout(session, request.layoutRows, request.layoutColumns) != noErr) {
        PMRelease(session);
        result.outcome = PrintOutcome::kBadInput;
        result.error = "the orientation or layout cannot be set";
        return result;
    }
    for (int run = 0; run < request.runs; ++run) {
        if (!result.piecesFile.empty()) result.earlierPiecesFiles.push_back(result.piecesFile);
        result.piecesFile.clear();
        result.outcome = PrintOutcome::kFailed;
        result.error.clear();
        {
            Dialog dialog(loader, session, &result);
            dialog.Run(request);
        }
        // This run replaced the earlier run's file in the print settings, or ended the program
        // without printing: no job will read that file.
        if (run > 0 && !result.earlierPiecesFiles.empty()) {
            unlink(result.earlierPiecesFiles.back().c_str());
            InterruptCleanup::Forget(result.earlierPiecesFiles.back());
        }
        if (result.outcome != PrintOutcome::kPrinted) break;
    }
    // The file the person is shown is theirs.
    if (!result.piecesFile.empty()) InterruptCleanup::Forget(result.piecesFile);
    result.beeps = HalyxBeepCount();
    PMRelease(session);
    return result;
}

}  // namespace halyx::tools
