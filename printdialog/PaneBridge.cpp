// The pane as GTK widgets: what the toolkit draws, mirrored (see PaneBridge.h).
#include "printdialog/PaneBridge.h"

#include <stdio.h>
#include <string.h>

#include "CoreFoundation/CFString.h"
#include "HIToolbox/ControlDefinitions.h"
#include "HIToolbox/DataBrowser.h"
#include "HIToolbox/HalyxInput.h"
#include "HIToolbox/MacWindows.h"
#include "HIToolbox/PortRecording.h"
#include "panehost/HostText.h"

namespace halyx::printdialog {

namespace {

using panehost::SystemToUTF8;
using panehost::ToUTF8;

bool Inside(const Rect& inner, const Rect& outer) {
    return inner.top >= outer.top && inner.left >= outer.left && inner.bottom <= outer.bottom &&
           inner.right <= outer.right;
}

void Place(GtkWidget* fixed, GtkWidget* child, const Rect& rect) {
    gtk_widget_set_size_request(child, rect.right - rect.left, rect.bottom - rect.top);
    gtk_fixed_move(GTK_FIXED(fixed), child, rect.left, rect.top);
    gtk_widget_show(child);
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
    if (mSelectionSource != 0) g_source_remove(mSelectionSource);
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

}  // namespace halyx::printdialog
