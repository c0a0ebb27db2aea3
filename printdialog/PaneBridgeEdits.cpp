// How what a person does to the pane's GTK widgets reaches the pane: each edit, Tab, click,
// scroll and Print as the toolkit's own input (see PaneBridge.h).
#include <string.h>

#include "CoreFoundation/CFString.h"
#include "HIToolbox/ControlDefinitions.h"
#include "HIToolbox/DataBrowser.h"
#include "HIToolbox/HalyxInput.h"
#include "HIToolbox/MacWindows.h"
#include "HIToolbox/PortRecording.h"
#include "printdialog/PaneBridge.h"

namespace halyx::printdialog {

namespace {

// The toolkit's Backspace and the distance one wheel step scrolls the list.
constexpr UniChar kBackspace = 8;
constexpr SInt32 kWheelStep = 40;

struct KeyInput {
    WindowRef window;
    UniChar character;
};

OSStatus PressKey(void* key) {
    KeyInput* input = static_cast<KeyInput*>(key);
    return HalyxPressKey(input->window, input->character, 0);
}

OSStatus Paste(void* window) {
    return HalyxSendCommand(static_cast<WindowRef>(window), kHICommandPaste);
}

std::vector<UniChar> Characters(const std::string& utf8) {
    std::vector<UniChar> characters;
    CFStringRef text =
        CFStringCreateWithCString(kCFAllocatorDefault, utf8.c_str(), kCFStringEncodingUTF8);
    if (text == nullptr) return characters;
    characters.resize(static_cast<size_t>(CFStringGetLength(text)));
    CFStringGetCharacters(text, CFRangeMake(0, CFStringGetLength(text)), characters.data());
    CFRelease(text);
    return characters;
}

OSStatus Click(void* control) {
    return HalyxClickControl(static_cast<ControlRef>(control), 0);
}

struct TabInput {
    WindowRef window;
    Boolean shift;
};

OSStatus PressTab(void* tab) {
    TabInput* input = static_cast<TabInput*>(tab);
    return HalyxPressTab(input->window, input->shift);
}

struct ScrollInput {
    ControlRef browser;
    SInt32 delta;
};

OSStatus Scroll(void* scroll) {
    ScrollInput* input = static_cast<ScrollInput*>(scroll);
    return HalyxScrollBrowser(input->browser, input->delta);
}

}  // namespace

void PaneBridge::OnScrollbarMoved(GtkRange* range, gpointer self) {
    PaneBridge* bridge = static_cast<PaneBridge*>(self);
    if (bridge->mMirroring || bridge->mBrowser == nullptr) return;
    UInt32 top = 0, left = 0;
    GetDataBrowserScrollPosition(bridge->mBrowser, &top, &left);
    ScrollInput scroll = {bridge->mBrowser, static_cast<SInt32>(gtk_range_get_value(range)) -
                                                static_cast<SInt32>(top)};
    if (scroll.delta != 0) bridge->Deliver(Scroll, &scroll);
}

bool PaneBridge::Deliver(OSStatus (*input)(void*), void* argument) {
    std::string message;
    Rect where = {0, 0, 0, 0};
    const bool taken = mPane->Deliver(input, argument, &message, &where);
    Mirror(true);
    if (taken)
        ShowMessage("", where);
    else
        Refused(message, where);
    return taken;
}

bool PaneBridge::PrepareField(ControlRef field, int start, int end) {
    ControlRef focus = nullptr;
    GetKeyboardFocus(mPane->Window(), &focus);
    if (focus != field) {
        std::string message;
        Rect where = {0, 0, 0, 0};
        if (!mPane->Deliver(Click, field, &message, &where)) {
            Mirror(false);
            Refused(message, where);
            return false;
        }
    }
    ControlEditTextSelectionRec range = {static_cast<SInt16>(start), static_cast<SInt16>(end)};
    return SetControlData(field, kControlEditTextPart, kControlEditTextSelectionTag, sizeof range,
                          &range) == noErr;
}

void PaneBridge::ApplyDelete(const PendingDelete& edit) {
    if (!PrepareField(edit.field, edit.start, edit.end)) return;
    KeyInput key = {mPane->Window(), kBackspace};
    Deliver(PressKey, &key);
}

gboolean PaneBridge::FlushPendingDelete(gpointer self) {
    PaneBridge* bridge = static_cast<PaneBridge*>(self);
    bridge->mPendingSource = 0;
    PendingDelete edit = bridge->mPending;
    bridge->mPending = PendingDelete();
    if (edit.field != nullptr && bridge->mEntries.count(edit.field) != 0) bridge->ApplyDelete(edit);
    return G_SOURCE_REMOVE;
}

void PaneBridge::OnDeleteText(GtkEditable* editable, gint start, gint end, gpointer self) {
    PaneBridge* bridge = static_cast<PaneBridge*>(self);
    if (bridge->mMirroring) return;
    g_signal_stop_emission_by_name(editable, "delete-text");
    ControlRef field = bridge->FieldOf(GTK_WIDGET(editable));
    if (field == nullptr) return;
    if (end < 0)
        end = static_cast<gint>(g_utf8_strlen(gtk_entry_get_text(GTK_ENTRY(editable)), -1));
    if (start > end) std::swap(start, end);
    if (start == end) return;
    if (bridge->mPendingSource != 0) {
        g_source_remove(bridge->mPendingSource);
        FlushPendingDelete(bridge);
    }
    bridge->mPending = {field, start, end};
    // GTK sends the insert of a replacement in the same dispatch as its delete; the held delete
    // goes on its own right after that dispatch, before the next key is read, so that the next
    // edit sees the text this one left.
    bridge->mPendingSource = g_idle_add_full(G_PRIORITY_HIGH, FlushPendingDelete, bridge, nullptr);
}

void PaneBridge::OnInsertText(GtkEditable* editable, gchar* text, gint length, gint* position,
                              gpointer self) {
    PaneBridge* bridge = static_cast<PaneBridge*>(self);
    if (bridge->mMirroring) return;
    g_signal_stop_emission_by_name(editable, "insert-text");
    ControlRef field = bridge->FieldOf(GTK_WIDGET(editable));
    if (field == nullptr) return;
    int start = *position, end = *position;
    // GTK deletes a selection it replaces first, then inserts where its caret is: the deletion
    // still held, at or around the insertion point, is part of this edit.
    if (bridge->mPendingSource != 0) {
        g_source_remove(bridge->mPendingSource);
        bridge->mPendingSource = 0;
        PendingDelete edit = bridge->mPending;
        bridge->mPending = PendingDelete();
        if (edit.field == field && edit.start <= *position && *position <= edit.end) {
            start = edit.start;
            end = edit.end;
        } else if (edit.field != nullptr) {
            bridge->ApplyDelete(edit);
        }
    }
    const std::string inserted(text, length < 0 ? strlen(text) : static_cast<size_t>(length));
    if (inserted.empty() || bridge->mEntries.count(field) == 0) return;
    if (!bridge->PrepareField(field, start, end)) return;
    const std::vector<UniChar> characters = Characters(inserted);
    const size_t count = characters.size();
    const UniChar first = count > 0 ? characters[0] : 0;
    if (count == 0) return;
    if (count == 1) {
        // One character is a key press, as typed.
        KeyInput key = {bridge->mPane->Window(), first};
        bridge->Deliver(PressKey, &key);
    } else {
        bridge->TypeWhole(field, inserted);
    }
    // The entry's caret follows the field's; GTK then collapses the entry's selection, so the
    // field's (after a refusal, the selection the edit would have replaced) is put back once
    // GTK is done with this edit.
    ControlEditTextSelectionRec range = {0, 0};
    Size size = 0;
    GetControlData(field, kControlEditTextPart, kControlEditTextSelectionTag, sizeof range, &range,
                   &size);
    *position = range.selEnd;
    if (bridge->mSelectionSource == 0)
        bridge->mSelectionSource =
            g_idle_add_full(G_PRIORITY_HIGH, RestoreSelection, bridge, nullptr);
}

gboolean PaneBridge::RestoreSelection(gpointer self) {
    PaneBridge* bridge = static_cast<PaneBridge*>(self);
    bridge->mSelectionSource = 0;
    bridge->Mirror(true);
    return G_SOURCE_REMOVE;
}

void PaneBridge::TypeWhole(ControlRef field, const std::string& text) {
    const std::string before = FieldText(field);
    ControlEditTextSelectionRec selection = {0, 0};
    Size size = 0;
    GetControlData(field, kControlEditTextPart, kControlEditTextSelectionTag, sizeof selection,
                   &selection, &size);
    std::string message;
    Rect where = {0, 0, 0, 0};
    for (UniChar character : Characters(text)) {
        KeyInput key = {mPane->Window(), character};
        if (mPane->Deliver(PressKey, &key, &message, &where)) continue;
        // One refused key refuses the whole text: the field goes back to what it held.
        CFStringRef held =
            CFStringCreateWithCString(kCFAllocatorDefault, before.c_str(), kCFStringEncodingUTF8);
        const ResType tag = GetControlDataSize(field, kControlEditTextPart,
                                               kControlEditTextPasswordTag, &size) == noErr
                                ? kControlEditTextPasswordCFStringTag
                                : kControlEditTextCFStringTag;
        SetControlData(field, kControlEditTextPart, tag, sizeof held, &held);
        if (held != nullptr) CFRelease(held);
        SetControlData(field, kControlEditTextPart, kControlEditTextSelectionTag, sizeof selection,
                       &selection);
        Mirror(true);
        Refused(message, where);
        return;
    }
    Mirror(true);
    ShowMessage("", where);
}

void PaneBridge::OnPaste(GtkEntry* entry, gpointer self) {
    PaneBridge* bridge = static_cast<PaneBridge*>(self);
    g_signal_stop_emission_by_name(entry, "paste-clipboard");
    ControlRef field = bridge->FieldOf(GTK_WIDGET(entry));
    gint start = 0, end = 0;
    gtk_editable_get_selection_bounds(GTK_EDITABLE(entry), &start, &end);
    if (field == nullptr || !bridge->PrepareField(field, start, end)) return;
    gchar* text = gtk_clipboard_wait_for_text(
        gtk_widget_get_clipboard(GTK_WIDGET(entry), GDK_SELECTION_CLIPBOARD));
    HalyxSetScrapText(text);
    bridge->Deliver(Paste, bridge->mPane->Window());
    HalyxSetScrapText(nullptr);
    g_free(text);
}

void PaneBridge::OnDrop(GtkWidget* widget, GdkDragContext* context, gint, gint,
                        GtkSelectionData* data, guint, guint time, gpointer self) {
    PaneBridge* bridge = static_cast<PaneBridge*>(self);
    g_signal_stop_emission_by_name(widget, "drag-data-received");
    ControlRef field = bridge->FieldOf(widget);
    gchar* text = reinterpret_cast<gchar*>(gtk_selection_data_get_text(data));
    gint start = 0, end = 0;
    gtk_editable_get_selection_bounds(GTK_EDITABLE(widget), &start, &end);
    if (field != nullptr && text != nullptr && bridge->PrepareField(field, start, end)) {
        HalyxSetScrapText(text);
        bridge->Deliver(Paste, bridge->mPane->Window());
        HalyxSetScrapText(nullptr);
    }
    g_free(text);
    gtk_drag_finish(context, FALSE, FALSE, time);
}

gboolean PaneBridge::OnKeyPress(GtkWidget* widget, GdkEventKey* event, gpointer self) {
    PaneBridge* bridge = static_cast<PaneBridge*>(self);
    const GdkModifierType mods = static_cast<GdkModifierType>(
        event->state & (GDK_CONTROL_MASK | GDK_MOD1_MASK | GDK_SUPER_MASK));
    if ((event->keyval != GDK_KEY_Tab && event->keyval != GDK_KEY_ISO_Left_Tab) || mods != 0)
        return FALSE;  // everything else is the entry's and the dialog's
    ControlRef field = bridge->FieldOf(widget);
    if (field == nullptr) return FALSE;
    gint start = 0, end = 0;
    gtk_editable_get_selection_bounds(GTK_EDITABLE(widget), &start, &end);
    if (!bridge->PrepareField(field, start, end)) return TRUE;
    TabInput tab = {bridge->mPane->Window(),
                    static_cast<Boolean>(event->keyval == GDK_KEY_ISO_Left_Tab ||
                                         (event->state & GDK_SHIFT_MASK) != 0)};
    bridge->Deliver(PressTab, &tab);
    bridge->FocusEntryOfToolkitFocus();
    return TRUE;
}

gboolean PaneBridge::OnFocusIn(GtkWidget* widget, GdkEvent*, gpointer self) {
    PaneBridge* bridge = static_cast<PaneBridge*>(self);
    if (bridge->mMirroring) return FALSE;
    ControlRef field = bridge->FieldOf(widget);
    ControlRef focus = nullptr;
    GetKeyboardFocus(bridge->mPane->Window(), &focus);
    if (field == nullptr || field == focus) return FALSE;
    std::string message;
    Rect where = {0, 0, 0, 0};
    if (!bridge->mPane->Deliver(Click, field, &message, &where)) {
        bridge->Refused(message, where);
        // The keys stay in the pane's field: so does GTK's focus, once this focus change is over.
        if (bridge->mRefocusSource == 0) bridge->mRefocusSource = g_idle_add(Refocus, bridge);
    }
    return FALSE;
}

void PaneBridge::OnButtonClicked(GtkButton* button, gpointer self) {
    PaneBridge* bridge = static_cast<PaneBridge*>(self);
    for (const auto& [control, widget] : bridge->mButtons) {
        if (widget == GTK_WIDGET(button)) {
            bridge->Deliver(Click, control);
            return;
        }
    }
}

gboolean PaneBridge::OnScroll(GtkWidget*, GdkEventScroll* event, gpointer self) {
    PaneBridge* bridge = static_cast<PaneBridge*>(self);
    SInt32 delta = 0;
    if (event->direction == GDK_SCROLL_UP) delta = -kWheelStep;
    if (event->direction == GDK_SCROLL_DOWN) delta = kWheelStep;
    if (event->direction == GDK_SCROLL_SMOOTH)
        delta = static_cast<SInt32>(event->delta_y * kWheelStep);
    if (delta == 0) return FALSE;
    // The list under the pointer, or the first one the pane shows.
    GrafPtr port = GetWindowPort(bridge->mPane->Window());
    HalyxDrawing drawing;
    for (UInt32 i = 0; HalyxPortGetDrawing(port, i, &drawing); ++i) {
        if (drawing.kind == kHalyxDrawControl &&
            HalyxGetControlKind(drawing.control) == kHalyxControlDataBrowser) {
            ScrollInput scroll = {drawing.control, delta};
            bridge->Deliver(Scroll, &scroll);
            return TRUE;
        }
    }
    return FALSE;
}

bool PaneBridge::PressPrint() {
    std::string message;
    Rect where = {0, 0, 0, 0};
    const bool printed = mPane->PressPrint(&message, &where);
    Mirror(true);
    if (!printed) Refused(message, where);
    return printed;
}

}  // namespace halyx::printdialog
