// Shows an open pane as GTK widgets and gives it what a person does to them.
//
// The pane lives in the toolkit window of a PaneSession; the bridge mirrors that window into a
// GtkFixed at the pane's own coordinates: each edit text as a GtkEntry (a password field as a
// masked entry), the list's cells and any other text the pane draws (group titles, its message
// line) as labels, its frames and the list's outline as GtkFrames, and push buttons as
// GtkButtons. After every input it draws the toolkit window again and brings the widgets in line
// with what was drawn.
//
// Edits never change a GtkEntry by themselves: its insert-text and delete-text emissions are
// stopped and the edit goes to the toolkit field as the toolkit's own input, so that the pane's
// key filter decides it: a character as a key press, a deletion as Backspace over the selection,
// a paste or a drop as the toolkit's paste command with that text, and a longer insertion (an
// input method's commit, an accessibility write) as its keys one by one, taken whole or not at
// all. The field's resulting text and selection are then copied back into the entry. A delete
// followed at once by an insert at the same place (a replaced selection) is one edit. A refused
// edit leaves the entry as it was, shows the pane's message and beeps.
#ifndef HALYX_PRINTDIALOG_PANEBRIDGE_H
#define HALYX_PRINTDIALOG_PANEBRIDGE_H

#include <gtk/gtk.h>

#include <map>
#include <string>
#include <vector>

#include "panehost/PaneSession.h"

namespace halyx::printdialog {

class PaneBridge {
public:
    // The pane must be open; it outlives the bridge.
    explicit PaneBridge(panehost::PaneSession* pane);
    // Destroys the widgets (the caller removes Widget() from its parent first, or with it).
    ~PaneBridge();

    // The widget to put in the dialog's tab.
    GtkWidget* Widget() const { return mRoot; }

    // Brings the widgets in line with the pane as the toolkit draws it now. With `selection`,
    // the focused entry also takes the toolkit field's selection.
    void Mirror(bool selection);

    // Presses Print in the pane: true when the pane lets the job go; otherwise its message is
    // shown and the display beeps.
    bool PressPrint();

    // Shows `text` on the message line (the pane's message), at `where` in the pane.
    void ShowMessage(const std::string& text, const Rect& where);

    // Says each refusal and the pane's message on standard error.
    bool verbose = false;

private:
    PaneBridge(const PaneBridge&) = delete;
    PaneBridge& operator=(const PaneBridge&) = delete;

    // A deletion GTK asked for, held until the next insert or the next idle moment.
    struct PendingDelete {
        ControlRef field = nullptr;
        int start = 0;
        int end = 0;
    };

    static void OnInsertText(GtkEditable* editable, gchar* text, gint length, gint* position,
                             gpointer self);
    static void OnDeleteText(GtkEditable* editable, gint start, gint end, gpointer self);
    static void OnPaste(GtkEntry* entry, gpointer self);
    static void OnDrop(GtkWidget* widget, GdkDragContext* context, gint x, gint y,
                       GtkSelectionData* data, guint info, guint time, gpointer self);
    static gboolean OnKeyPress(GtkWidget* widget, GdkEventKey* event, gpointer self);
    static gboolean OnFocusIn(GtkWidget* widget, GdkEvent* event, gpointer self);
    static void OnButtonClicked(GtkButton* button, gpointer self);
    static gboolean OnScroll(GtkWidget* widget, GdkEventScroll* event, gpointer self);
    static gboolean FlushPendingDelete(gpointer self);
    static gboolean Refocus(gpointer self);
    static gboolean RestoreSelection(gpointer self);
    static void OnScrollbarMoved(GtkRange* range, gpointer self);
    // Sets the list's scrollbar beside `bounds` to the list's scroll position.
    void MirrorScrollbar(ControlRef browser, const Rect& bounds);

    // Gives the toolkit field the keyboard focus (as a click would) and the selection
    // [start, end); false when the pane refused the click.
    bool PrepareField(ControlRef field, int start, int end);
    // Sends one input to the pane; on refusal shows its message and beeps. Mirrors either way.
    bool Deliver(OSStatus (*input)(void*), void* argument);
    // Shows the pane's message (when it gave one), beeps and, verbose, says so.
    void Refused(const std::string& message, const Rect& where);
    void ApplyDelete(const PendingDelete& edit);
    // Types `text` into the focused field key by key as one edit: when a key is refused the
    // field gets back the text and selection it had.
    void TypeWhole(ControlRef field, const std::string& text);
    // The toolkit field's text as the entry shows it (a password field's real text).
    std::string FieldText(ControlRef field) const;
    ControlRef FieldOf(GtkWidget* entry) const;
    void FocusEntryOfToolkitFocus();

    GtkWidget* EntryFor(ControlRef field);
    GtkWidget* ButtonFor(ControlRef button);
    GtkWidget* NextLabel(size_t* used);
    GtkWidget* NextFrame(size_t* used);

    panehost::PaneSession* mPane;
    GtkWidget* mRoot = nullptr;     // a GtkOverlay: frames below, labels and fields above
    GtkWidget* mFrames = nullptr;   // GtkFixed
    GtkWidget* mFixed = nullptr;    // GtkFixed
    GtkWidget* mMessage = nullptr;  // the pane's message line, kept until the next accepted input
    std::map<ControlRef, GtkWidget*> mEntries;
    std::map<ControlRef, GtkWidget*> mButtons;
    std::vector<GtkWidget*> mLabels;
    std::vector<GtkWidget*> mFrameWidgets;
    GtkWidget* mScrollbar = nullptr;  // the list's, beside it
    ControlRef mBrowser = nullptr;    // the list it scrolls
    PendingDelete mPending;
    guint mPendingSource = 0;
    guint mRefocusSource = 0;
    guint mSelectionSource = 0;
    bool mMirroring = false;
};

}  // namespace halyx::printdialog

#endif  // HALYX_PRINTDIALOG_PANEBRIDGE_H
