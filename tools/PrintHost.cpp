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
#include "panehost/PaneSession.h"
#include "panehost/PluginLoader.h"
#include "panehost/InterruptCleanup.h"
#include "panehost/HostText.h"
#include "tools/PropertyListFile.h"

namespace halyx::tools {

namespace {

using panehost::SystemToUTF8;
using panehost::ToUTF8;

// How far the list is scrolled per step while a row is searched.
constexpr SInt32 kScrollStep = 20;
constexpr int kMaxScrollSteps = 1000;

bool IsEditText(ControlRef control) {
    return HalyxGetControlKind(control) == kHalyxControlEditText;
}

bool IsDataBrowser(ControlRef control) {
    return HalyxGetControlKind(control) == kHalyxControlDataBrowser;
}

// One opening of the dialog, typing the request's values into the pane.
class Dialog {
public:
    Dialog(const panehost::PluginLoader& loader, PMPrintSession session, PrintResult* result)
        : mPane(loader, session), mResult(result) {}

    void Run(const PrintRequest& request);

private:
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    bool Fail(PrintOutcome outcome, const std::string& error) {
        mResult->outcome = outcome;
        mResult->error = error;
        return false;
    }
    bool TypeValue(const PrintValue& value);
    bool PressPrint();
    bool CollectResults();
    // Sends one input; false (refused) when it beeped. The editor's message, if any, is kept.
    bool Deliver(OSStatus (*input)(void*), void* argument, const std::string& what);
    ControlRef FindField(const std::string& title);
    ControlRef FieldInView(const std::string& title, ControlRef* browser);

    panehost::PaneSession mPane;
    PrintResult* mResult;
};

void Dialog::Run(const PrintRequest& request) {
    if (mPane.Open() != panehost::PaneOpenStatus::kOpened) {
        Fail(PrintOutcome::kFailed, mPane.error);
        return;
    }
    bool typed = true;
    for (const PrintValue& value : request.values)
        if (!(typed = TypeValue(value))) break;
    const bool pressed = typed && !request.openOnly && PressPrint();
    if (!request.picturePath.empty())
        mResult->pictureStatus =
            HalyxWriteWindowPicture(mPane.Window(), request.picturePath.c_str());
    if (request.openOnly) mResult->outcome = PrintOutcome::kPrinted;
    if (!pressed) return;
    // The pieces file the pane writes is added to what an interrupted run removes before the
    // interruption can come.
    panehost::InterruptCleanup::Deferred deferred;
    OSStatus status = mPane.Sync();
    if (status != noErr) {
        const std::string why = "Sync " + std::to_string(status);
        Fail(PrintOutcome::kFailed,
             "the pane cannot write the job, which would go out without its notes (" + why + ")");
        return;
    }
    if (CollectResults()) mResult->outcome = PrintOutcome::kPrinted;
}

bool Dialog::Deliver(OSStatus (*input)(void*), void* argument, const std::string& what) {
    std::string message;
    if (mPane.Deliver(input, argument, &message)) return true;
    if (!message.empty()) mResult->messages.push_back(message);
    mResult->outcome = PrintOutcome::kRefused;
    mResult->error = message.empty() ? what + " was refused" : message;
    return false;
}

// The visible text field in the row whose title cell reads `title`, in the list as it is drawn
// now; null when that row is not in view.
ControlRef Dialog::FieldInView(const std::string& title, ControlRef* browser) {
    GrafPtr port = GetWindowPort(mPane.Window());
    HalyxPortClearDrawings(port);
    HalyxDrawWindow(mPane.Window());
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
    if (!Deliver(SelectAll, mPane.Window(), "selecting the text of \"" + value.title + "\""))
        return false;
    CFStringRef text =
        CFStringCreateWithCString(kCFAllocatorDefault, value.text.c_str(), kCFStringEncodingUTF8);
    if (text == nullptr) return Fail(PrintOutcome::kBadInput, "the value is not UTF-8");
    CFIndex length = CFStringGetLength(text);
    std::vector<UniChar> characters(static_cast<size_t>(length));
    CFStringGetCharacters(text, CFRangeMake(0, length), characters.data());
    CFRelease(text);
    for (UniChar character : characters) {
        KeyInput key = {mPane.Window(), character};
        CFStringRef one = CFStringCreateWithCharacters(kCFAllocatorDefault, &character, 1);
        std::string shown = ToUTF8(one);
        if (one != nullptr) CFRelease(one);
        if (!Deliver(KeyPress, &key, "the key '" + shown + "' in \"" + value.title + "\""))
            return false;
    }
    return true;
}

bool Dialog::PressPrint() {
    std::string message;
    if (mPane.PressPrint(&message)) return true;
    if (!message.empty()) mResult->messages.push_back(message);
    mResult->outcome = PrintOutcome::kRefused;
    mResult->error = message.empty() ? "Print was refused" : message;
    return false;
}

// The summary the pane reports, and the pieces file whose path it stored in the print settings.
bool Dialog::CollectResults() {
    CFArrayRef titles = nullptr;
    CFArrayRef summaries = nullptr;
    OSStatus status =
        mPane.Interface()->vtable->GetSummaryText(mPane.Context(), &titles, &summaries);
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
    // The print server's filter finds the job's notes only through that file.
    if (!mPane.PiecesSetting(&mResult->piecesKey, &mResult->piecesFile))
        return Fail(PrintOutcome::kFailed,
                    "the pane wrote no pieces file: the job would go out without its notes");
    // Nobody has seen this file's name yet: should the program be stopped, it goes too.
    panehost::InterruptCleanup::Add(mResult->piecesFile);

    FILE* file = fopen(mResult->piecesFile.c_str(), "rb");
    if (file == nullptr) return Fail(PrintOutcome::kFailed, "cannot read " + mResult->piecesFile);
    bool readFailed = false;
    CFPropertyListRef list = ReadPropertyListFile(file, &readFailed);
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

}  // namespace

PrintResult PrintHost::Run(const PrintRequest& request) {
    PrintResult result;
    // The pieces file's name is drawn from the toolbox's random numbers.
    panehost::PaneSession::SeedRandom();
    HalyxResetBeeps();

    panehost::PluginLoader loader;
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
            panehost::InterruptCleanup::Forget(result.earlierPiecesFiles.back());
        }
        if (result.outcome != PrintOutcome::kPrinted) break;
    }
    // The file the person is shown is theirs.
    if (!result.piecesFile.empty()) panehost::InterruptCleanup::Forget(result.piecesFile);
    result.beeps = HalyxBeepCount();
    PMRelease(session);
    return result;
}

}  // namespace halyx::tools
