#include "printdialog/PaneBridge.h"

#include <stdio.h>
#include <string.h>

#include "CoreFoundation/CFString.h"
#include "HIToolbox/ControlDefinitions.h"
#include "HIToolbox/DataBrowser.h"
#include "HIToolbox/HalyxInput.h"
#include "HIToolbox/MacWindows.h"
#include "HIToolbox/PortRecording.h"

namespace halyx::printdialog {

namespace {

// The toolkit's Backspace and the distance one wheel step scrolls the list.
constexpr UniChar kBackspace = 8;
constexpr SInt32 kWheelStep = 40;

std::string ToUTF8(CFStringRef text) {
    if (text == nullptr) return std::string();
    CFIndex size =
        CFStringGetMaximumSizeForEncoding(CFStringGetLength(text), kCFStringEncodingUTF8) + 1;
    std::string buffer(static_cast<size_t>(size), '\0');
    if (!CFStringGetCString(text, &buffer[0], size, kCFStringEncodingUTF8)) return std::string();
    buffer.resize(strlen(buffer.c_str()));
    return buffer;
}

std::string SystemToUTF8(const char* bytes, long length) {
    CFStringRef text =
        CFStringCreateWithBytes(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(bytes),
                                static_cast<CFIndex>(length), CFStringGetSystemEncoding(), false);
    std::string utf8 = ToUTF8(text);
    if (text != nullptr) CFRelease(text);
    return utf8;
}

bool Inside(const Rect& inner, const Rect& outer) {
    return inner.top >= outer.top && inner.left >= outer.left && inner.bottom <= outer.bottom &&
           inner.right <= outer.right;
}

void Place(GtkWidget* fixed, GtkWidget* child, const Rect& rect) {
    gtk_widget_set_size_request(child, rect.right - rect.left, rect.bottom - rect.top);
    gtk_fixed_move(GTK_FIXED(fixed), child, rect.left, rect.top);
    gtk_widget_show(child);
}

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

PaneBridge::PaneBridge(panehost::PaneSession* pane) : mPane(pane) {
    mRoot = gtk_overlay_new();
    mFrames = gtk_fixed_new();
    mFixed = gtk_fixed_new();
    gtk_container_add(GTK_CONTAINER(mRoot), mFrames);
    gtk_overlay_add_overlay(GTK_OVERLAY(mRoot), mFixed);
    Rect bounds;
    GetControlBounds(mPane->Pane(), &bounds);
    gtk_widget_set_size_request(mFrames, bounds.right - bounds.left, bounds.bottom - bounds.top);
    gtk_widget_add_events(mFixed, GDK_SCROLL_MASK | GDK_SMOOTH_SCROLL_MASK);
    g_signal_connect(mRoot, "scroll-event", G_CALLBACK(OnScroll), this);
    mMessage = gtk_label_new("");
    gtk_label_set_xalign(GTK_LABEL(mMessage), 0.0f);
    gtk_label_set_yalign(GTK_LABEL(mMessage), 0.0f);
    gtk_label_set_line_wrap(GTK_LABEL(mMessage), TRUE);
    gtk_fixed_put(GTK_FIXED(mFixed), mMessage, 0, 0);
    mScrollbar = gtk_scrollbar_new(GTK_ORIENTATION_VERTICAL, nullptr);
    g_signal_connect(mScrollbar, "value-changed", G_CALLBACK(OnScrollbarMoved), this);
    gtk_fixed_put(GTK_FIXED(mFixed), mScrollbar, 0, 0);
    g_object_ref_sink(mRoot);
    gtk_widget_show_all(mRoot);
    gtk_widget_hide(mMessage);
    Mirror(false);
}

PaneBridge::~PaneBridge() {
    if (mPendingSource != 0) g_source_remove(mPendingSource);
    if (mRefocusSource != 0) g_source_remove(mRefocusSource);
    gtk_widget_destroy(mRoot);
    g_object_unref(mRoot);
}

std::string PaneBridge::FieldText(ControlRef field) const {
    CFStringRef text = nullptr;
    Size size = 0;
    if (GetControlData(field, kControlEditTextPart, kControlEditTextPasswordCFStringTag,
                       sizeof text, &text, &size) != noErr &&
        GetControlData(field, kControlEditTextPart, kControlEditTextCFStringTag, sizeof text, &text,
                       &size) != noErr)
        return std::string();
    std::string utf8 = ToUTF8(text);
    if (text != nullptr) CFRelease(text);
    return utf8;
}

ControlRef PaneBridge::FieldOf(GtkWidget* entry) const {
    for (const auto& [field, widget] : mEntries)
        if (widget == entry) return field;
    return nullptr;
}

GtkWidget* PaneBridge::EntryFor(ControlRef field) {
    auto found = mEntries.find(field);
    if (found != mEntries.end()) return found->second;
    GtkWidget* entry = gtk_entry_new();
    gtk_entry_set_has_frame(GTK_ENTRY(entry), TRUE);
    // Enter in a field is the dialog's Print, as in its own fields.
    gtk_entry_set_activates_default(GTK_ENTRY(entry), TRUE);
    Size size = 0;
    const bool password = GetControlDataSize(field, kControlEditTextPart,
                                             kControlEditTextPasswordTag, &size) == noErr;
    if (password) {
        gtk_entry_set_visibility(GTK_ENTRY(entry), FALSE);
        gtk_entry_set_input_purpose(GTK_ENTRY(entry), GTK_INPUT_PURPOSE_PASSWORD);
    }
    g_signal_connect(entry, "insert-text", G_CALLBACK(OnInsertText), this);
    g_signal_connect(entry, "delete-text", G_CALLBACK(OnDeleteText), this);
    g_signal_connect(entry, "key-press-event", G_CALLBACK(OnKeyPress), this);
    g_signal_connect(entry, "paste-clipboard", G_CALLBACK(OnPaste), this);
    g_signal_connect(entry, "drag-data-received", G_CALLBACK(OnDrop), this);
    g_signal_connect(entry, "focus-in-event", G_CALLBACK(OnFocusIn), this);
    gtk_fixed_put(GTK_FIXED(mFixed), entry, 0, 0);
    mEntries[field] = entry;
    return entry;
}

GtkWidget* PaneBridge::ButtonFor(ControlRef control) {
    auto found = mButtons.find(control);
    if (found != mButtons.end()) return found->second;
    GtkWidget* button = gtk_button_new();
    g_signal_connect(button, "clicked", G_CALLBACK(OnButtonClicked), this);
    gtk_fixed_put(GTK_FIXED(mFixed), button, 0, 0);
    mButtons[control] = button;
    return button;
}

GtkWidget* PaneBridge::NextLabel(size_t* used) {
    if (*used == mLabels.size()) {
        GtkWidget* label = gtk_label_new("");
        gtk_label_set_xalign(GTK_LABEL(label), 0.0f);
        gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
        gtk_widget_set_margin_start(label, 4);
        gtk_fixed_put(GTK_FIXED(mFixed), label, 0, 0);
        mLabels.push_back(label);
    }
    return mLabels[(*used)++];
}

GtkWidget* PaneBridge::NextFrame(size_t* used) {
    if (*used == mFrameWidgets.size()) {
        GtkWidget* frame = gtk_frame_new(nullptr);
        gtk_fixed_put(GTK_FIXED(mFrames), frame, 0, 0);
        mFrameWidgets.push_back(frame);
    }
    return mFrameWidgets[(*used)++];
}

void PaneBridge::Mirror(bool selection) {
    mMirroring = true;
    WindowRef window = mPane->Window();
    GrafPtr port = GetWindowPort(window);
    HalyxPortClearDrawings(port);
    HalyxDrawWindow(window);

    struct Cell {
        Rect rect;
        std::string text;
    };
    std::vector<Cell> cells;  // the list's text cells, in drawing order
    std::map<ControlRef, Rect> fields;
    size_t labels = 0, frames = 0;
    std::map<ControlRef, bool> buttonsSeen;
    HalyxDrawing drawing;
    for (UInt32 i = 0; HalyxPortGetDrawing(port, i, &drawing); ++i) {
        const HalyxControlKind kind = HalyxGetControlKind(drawing.control);
        if (drawing.control == mPane->PrintButton()) continue;
        if (drawing.kind == kHalyxDrawControl) {
            if (kind == kHalyxControlEditText && IsControlVisible(drawing.control) &&
                Inside(drawing.rect, drawing.clip))
                fields[drawing.control] = drawing.rect;
            else if (kind == kHalyxControlDataBrowser) {
                Place(mFrames, NextFrame(&frames), drawing.rect);
                MirrorScrollbar(drawing.control, drawing.rect);
            } else if (kind == kHalyxControlPlacard)
                Place(mFrames, NextFrame(&frames), drawing.rect);
            else if (kind == kHalyxControlPushButton) {
                GtkWidget* button = ButtonFor(drawing.control);
                Place(mFixed, button, drawing.rect);
                buttonsSeen[drawing.control] = true;
            }
            continue;
        }
        if (drawing.kind == kHalyxDrawFrame && drawing.control == nullptr) {
            Place(mFrames, NextFrame(&frames), drawing.rect);
            continue;
        }
        if (drawing.kind != kHalyxDrawText || drawing.text == nullptr || drawing.textLength <= 0 ||
            kind == kHalyxControlEditText)
            continue;
        const std::string text = SystemToUTF8(drawing.text, drawing.textLength);
        if (kind == kHalyxControlPushButton) {
            auto found = mButtons.find(drawing.control);
            if (found != mButtons.end())
                gtk_button_set_label(GTK_BUTTON(found->second), text.c_str());
            continue;
        }
        if (!Inside(drawing.rect, drawing.clip)) continue;
        GtkWidget* label = NextLabel(&labels);
        gtk_label_set_text(GTK_LABEL(label), text.c_str());
        Place(mFixed, label, drawing.rect);
        if (kind == kHalyxControlDataBrowser) cells.push_back({drawing.rect, text});
    }
    for (size_t i = labels; i < mLabels.size(); ++i) gtk_widget_hide(mLabels[i]);
    for (size_t i = frames; i < mFrameWidgets.size(); ++i) gtk_widget_hide(mFrameWidgets[i]);
    for (auto it = mButtons.begin(); it != mButtons.end();) {
        if (buttonsSeen.count(it->first) == 0) {
            gtk_widget_destroy(it->second);
            it = mButtons.erase(it);
        } else {
            ++it;
        }
    }

    // Entries of fields no longer shown go; the others follow their field.
    for (auto it = mEntries.begin(); it != mEntries.end();) {
        if (fields.count(it->first) == 0) {
            gtk_widget_destroy(it->second);
            it = mEntries.erase(it);
        } else {
            ++it;
        }
    }
    ControlRef focus = nullptr;
    GetKeyboardFocus(window, &focus);
    for (const auto& [field, rect] : fields) {
        GtkWidget* entry = EntryFor(field);
        const std::string text = FieldText(field);
        if (text != gtk_entry_get_text(GTK_ENTRY(entry)))
            gtk_entry_set_text(GTK_ENTRY(entry), text.c_str());
        Place(mFixed, entry, rect);
        // The field is named after the title cell of its row.
        const int middle = (rect.top + rect.bottom) / 2;
        for (const Cell& cell : cells) {
            if (middle >= cell.rect.top && middle < cell.rect.bottom) {
                atk_object_set_name(gtk_widget_get_accessible(entry), cell.text.c_str());
                break;
            }
        }
        if (selection && field == focus) {
            ControlEditTextSelectionRec range = {0, 0};
            Size size = 0;
            GetControlData(field, kControlEditTextPart, kControlEditTextSelectionTag, sizeof range,
                           &range, &size);
            gtk_editable_select_region(GTK_EDITABLE(entry), range.selStart, range.selEnd);
        }
    }
    if (*gtk_label_get_text(GTK_LABEL(mMessage)) == '\0') gtk_widget_hide(mMessage);
    mMirroring = false;
}

void PaneBridge::MirrorScrollbar(ControlRef browser, const Rect& bounds) {
    UInt32 rows = 0, top = 0, left = 0;
    UInt16 rowHeight = 0;
    GetDataBrowserItemCount(browser, kDataBrowserNoItem, false, kDataBrowserItemNoState, &rows);
    GetDataBrowserTableViewRowHeight(browser, &rowHeight);
    GetDataBrowserScrollPosition(browser, &top, &left);
    const double page = bounds.bottom - bounds.top;
    const double total = static_cast<double>(rows) * rowHeight;
    mBrowser = browser;
    if (total <= page) {
        gtk_widget_hide(mScrollbar);
        return;
    }
    GtkAdjustment* adjustment = gtk_range_get_adjustment(GTK_RANGE(mScrollbar));
    gtk_adjustment_configure(adjustment, top, 0, total, rowHeight, page, page);
    gtk_widget_set_size_request(mScrollbar, -1, bounds.bottom - bounds.top);
    gtk_fixed_move(GTK_FIXED(mFixed), mScrollbar, bounds.right, bounds.top);
    gtk_widget_show(mScrollbar);
}

void PaneBridge::OnScrollbarMoved(GtkRange* range, gpointer self) {
    PaneBridge* bridge = static_cast<PaneBridge*>(self);
    if (bridge->mMirroring || bridge->mBrowser == nullptr) return;
    UInt32 top = 0, left = 0;
    GetDataBrowserScrollPosition(bridge->mBrowser, &top, &left);
    ScrollInput scroll = {bridge->mBrowser, static_cast<SInt32>(gtk_range_get_value(range)) -
                                                static_cast<SInt32>(top)};
    if (scroll.delta != 0) bridge->Deliver(Scroll, &scroll);
}

void PaneBridge::ShowMessage(const std::string& text, const Rect& where) {
    gtk_label_set_text(GTK_LABEL(mMessage), text.c_str());
    if (text.empty()) {
        gtk_widget_hide(mMessage);
        return;
    }
    Place(mFixed, mMessage, where);
}

void PaneBridge::Refused(const std::string& message, const Rect& where) {
    if (!message.empty()) ShowMessage(message, where);
    gdk_display_beep(gtk_widget_get_display(mRoot));
    if (verbose) fprintf(stderr, "halyx-print: refused: %s\n", message.c_str());
}

gboolean PaneBridge::Refocus(gpointer self) {
    PaneBridge* bridge = static_cast<PaneBridge*>(self);
    bridge->mRefocusSource = 0;
    bridge->FocusEntryOfToolkitFocus();
    return G_SOURCE_REMOVE;
}

void PaneBridge::FocusEntryOfToolkitFocus() {
    ControlRef focus = nullptr;
    GetKeyboardFocus(mPane->Window(), &focus);
    auto found = mEntries.find(focus);
    if (found == mEntries.end()) return;
    mMirroring = true;
    gtk_widget_grab_focus(found->second);
    mMirroring = false;
    Mirror(true);
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
    bridge->mPendingSource = g_idle_add(FlushPendingDelete, bridge);
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
    // The entry's caret follows the field's.
    ControlEditTextSelectionRec range = {0, 0};
    Size size = 0;
    GetControlData(field, kControlEditTextPart, kControlEditTextSelectionTag, sizeof range, &range,
                   &size);
    *position = range.selEnd;
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
