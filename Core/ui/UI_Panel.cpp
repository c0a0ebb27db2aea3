#include "Core/ui/UI_Panel.h"

#include <new>

#include "Core/ui/UI_JobNotesBrowser.h"
#include "Core/ui/UI_MessageBox.h"

namespace {

// From the top of the pane: blank, the list, blank, the message area, blank.
constexpr SInt16 kListTop = 20;
constexpr SInt16 kListHeight = 200;
constexpr SInt16 kMessageGap = 20;
constexpr SInt16 kMessageHeight = 60;
constexpr SInt16 kPaneBottomGap = 20;
constexpr UInt16 kMessageBufferSize = 512;
constexpr SInt16 kMessageFontSize = 12;

}  // namespace

UI_Panel::UI_Panel(ControlRef parentPane, ORBJobNoteList* jobNotes, ORBRangeList* ranges)
    : parentPane(parentPane),
      editor(nullptr),
      messageArea(nullptr),
      valid(false),
      built(false),
      status(noErr) {
    BuildUI(jobNotes, ranges);
    valid = editor != nullptr && messageArea != nullptr;
}

UI_Panel::~UI_Panel() {
    delete editor;
    editor = nullptr;
    delete messageArea;
    messageArea = nullptr;
}

OSStatus UI_Panel::BuildUI(ORBJobNoteList* jobNotes, ORBRangeList* ranges) {
    WindowRef window = GetControlOwner(parentPane);
    Rect pane = {0, 0, 0, 0};
    GetControlBounds(parentPane, &pane);
    Rect listBounds = pane;
    listBounds.top = static_cast<SInt16>(pane.top + kListTop);
    listBounds.bottom = static_cast<SInt16>(pane.top + kListTop + kListHeight);
    status = noErr;
    editor = new (std::nothrow)
        UI_JobNotesBrowser(window, parentPane, &listBounds, jobNotes, ranges, true, false, false);
    if (editor == nullptr) status = memFullErr;
    if (status == noErr) {
        Rect messageBounds = listBounds;
        messageBounds.top = static_cast<SInt16>(listBounds.bottom + kMessageGap);
        messageBounds.bottom =
            static_cast<SInt16>(listBounds.bottom + kMessageGap + kMessageHeight);
        messageArea =
            new (std::nothrow) UI_MessageBox(window, kMessageBoxPlain, messageBounds,
                                             kMessageBufferSize, systemFont, kMessageFontSize);
        if (messageArea == nullptr) {
            status = memFullErr;
        } else if (!messageArea->Ready()) {
            // The area's own status ends the building; what exists stays as it is.
            status = messageArea->Status();
            built = false;
            return status;
        } else {
            status = EmbedControl(messageArea->Control(), parentPane);
            if (status == noErr) {
                editor->AttachMessage_UI(messageArea);
                Rect grown = pane;
                grown.bottom = static_cast<SInt16>(listBounds.bottom + kMessageGap +
                                                   kMessageHeight + kPaneBottomGap);
                SetControlBounds(parentPane, &grown);
            }
        }
    }
    built = status == noErr;
    if (!built) {
        delete editor;
        editor = nullptr;
        delete messageArea;
        messageArea = nullptr;
    }
    return status;
}

void UI_Panel::CommitUserChanges() {
    if (editor != nullptr) editor->SaveSettings();
}

OSStatus UI_Panel::SyncUI(ORBJobNoteList* jobNotes, ORBRangeList* ranges) {
    return editor != nullptr ? editor->UpdateDataBrowserItems(jobNotes, ranges) : noErr;
}

OSStatus UI_Panel::ResetUI() {
    return editor != nullptr ? editor->ResetDataBrowser() : noErr;
}
