// The pane's visible content: the job-notes editor and, under it, the message area in which the
// editor shows its refusals, laid out inside the user pane that the print dialog hands to the pane.
// The panel owns the editor and the message area, never the two entry lists.
#ifndef HALYX_CORE_UI_UI_PANEL_H
#define HALYX_CORE_UI_UI_PANEL_H

#include "Base/MacTypes.h"
#include "HIToolbox/MacWindows.h"

class ORBJobNoteList;
class ORBRangeList;
class UI_JobNotesBrowser;
class UI_MessageBox;

class UI_Panel {
public:
    // Builds at once; `IsValid()` tells whether both parts exist afterwards.
    UI_Panel(ControlRef parentPane, ORBJobNoteList* jobNotes, ORBRangeList* ranges);
    virtual ~UI_Panel();

    // Lays out the editor and the message area; on failure both are released.
    OSStatus BuildUI(ORBJobNoteList* jobNotes, ORBRangeList* ranges);
    // Writes every field's text to its entry (the pane calls it before writing the ticket).
    void CommitUserChanges();
    // Rebuilds the editor's rows for new lists; 0 without an editor.
    OSStatus SyncUI(ORBJobNoteList* jobNotes, ORBRangeList* ranges);
    // Removes the editor's fields, rows and columns; 0 without an editor.
    OSStatus ResetUI();
    void Show() {}
    void Hide() {}

    bool IsValid() const { return valid; }
    bool IsBuilt() const { return built; }
    OSStatus Status() const { return status; }
    UI_JobNotesBrowser* Editor() const { return editor; }
    UI_MessageBox* MessageArea() const { return messageArea; }

private:
    UI_Panel(const UI_Panel&) = delete;
    UI_Panel& operator=(const UI_Panel&) = delete;

    ControlRef parentPane;
    UI_JobNotesBrowser* editor;
    UI_MessageBox* messageArea;
    bool valid;
    bool built;
    OSStatus status;
};

#endif  // HALYX_CORE_UI_UI_PANEL_H
