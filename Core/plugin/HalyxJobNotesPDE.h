// The "Halyx Job Notes" pane: finds the printer's PPD and its parsed model, wraps the model's job
// notes and ranges in entry lists, shows them in the panel's editor, and writes the job's
// PostScript and the model's snapshot into the print settings.
//
// The pane holds one counted reference to its model, and gives it back where it came from: a model
// taken from (or registered with) the process-wide cache goes back through ReleasePPDManager; one
// that Sync rebuilt from the print settings, which the cache never saw, is released directly.
// gORBPPD follows the model field at every change.
#ifndef HALYX_CORE_PLUGIN_HALYXJOBNOTESPDE_H
#define HALYX_CORE_PLUGIN_HALYXJOBNOTESPDE_H

#include "Base/MacTypes.h"
#include "CoreFoundation/CFArray.h"
#include "CoreFoundation/CFBundle.h"
#include "CoreFoundation/CFString.h"
#include "HIToolbox/MacWindows.h"
#include "PrintCore/PMPrintDialogExtension.h"
#include "PrintCore/PMSession.h"

class ORBJobNoteList;
class ORBJobTicket;
class ORBPPD;
class ORBRangeList;
class UI_Panel;

class HalyxJobNotesPDE {
public:
    // Where the held model reference goes back to.
    enum ModelOrigin {
        kNoModel = 0,
        kSharedModel = 1,  // the process-wide cache (ReleasePPDManager)
        kOwnModel = 2,     // the pane's own reference (PPDX::Release)
    };
    // No resource map is open.
    static constexpr UInt16 kNoResourceFile = 0xFFFF;

    // Finds the bundle by its identifier and opens its resource map; IsValid() tells whether that
    // worked. Registers the bundle for localized texts and loads the title.
    HalyxJobNotesPDE();
    virtual ~HalyxJobNotesPDE();

    static void PaneSize(UInt32* width, UInt32* height);

    // Sets the pane up inside `parentPane` for the session's printer. 0, or 1 on every failure
    // (the pane then holds no model, no job-note list and no panel).
    OSStatus Initialize(PMPDEFlags* flags, PMPDERef ref, ControlRef parentPane,
                        PMPrintSession session);
    // Towards the ticket (reinitialize false): commits the editor and writes the entries' pieces,
    // the snapshot and the pieces file. From the ticket (true): rebuilds model, lists and editor
    // rows from the snapshot, or by parsing.
    OSStatus Sync(PMPrintSession session, Boolean reinitialize);
    // Two new arrays for the caller; both outputs null on failure (-108, or -9530 without a valid
    // job-note list).
    OSStatus GetSummaryText(CFArrayRef* titles, CFArrayRef* summaries);
    // One title and one summary per switched-on job note with a title, in list order.
    void ReportJobNotesSummary(CFMutableArrayRef titles, CFMutableArrayRef summaries);
    OSStatus Open() { return noErr; }
    OSStatus Close() { return noErr; }

    bool IsValid() const { return valid; }
    CFStringRef Title() const { return title; }
    CFStringRef BundleIdentifier() const { return bundleIdentifier; }
    ORBPPD* Model() const { return model; }
    ModelOrigin Origin() const { return origin; }
    bool FreshPPD() const { return freshPPD; }
    ORBJobNoteList* JobNotes() const { return jobNotes; }
    ORBRangeList* Ranges() const { return ranges; }
    UI_Panel* Panel() const { return panel; }
    PMPDERef PDERef() const { return pdeRef; }

private:
    HalyxJobNotesPDE(const HalyxJobNotesPDE&) = delete;
    HalyxJobNotesPDE& operator=(const HalyxJobNotesPDE&) = delete;

    // The steps of Initialize, run with the bundle's resource file current.
    bool SetUp(PMPDEFlags* flags, PMPDERef ref, ControlRef parentPane, PMPrintSession session);
    // Finds the model for Initialize: the cache's, else the snapshot's, else a fresh parse; the
    // last two are registered with the cache.
    bool FindModel(PMPrintSession session, ORBJobTicket& jobTicket, CFStringRef identifier);
    // The two directions of Sync.
    OSStatus WriteTicket(PMPrintSession session, ORBJobTicket& jobTicket, CFStringRef identifier);
    OSStatus ReloadFromTicket(PMPrintSession session, ORBJobTicket& jobTicket,
                              CFStringRef identifier);

    // Stores `newModel` in the model field and gORBPPD.
    void SetModel(ORBPPD* newModel, ModelOrigin newOrigin);
    // Gives the held reference back to where it came from and clears the field and gORBPPD.
    void GiveBackModel();
    // Resets the editor, gives the model back and deletes the job-note list; the range list and
    // the panel stay.
    void DropModel();

    PMPDERef pdeRef;
    UInt16 resourceFile;
    ControlRef parentPane;
    CFStringRef bundleIdentifier;
    CFBundleRef bundle;
    bool valid;
    UI_Panel* panel;
    CFStringRef title;
    ORBPPD* model;
    ORBJobNoteList* jobNotes;
    ORBRangeList* ranges;
    ModelOrigin origin;
    bool freshPPD;
};

#endif  // HALYX_CORE_PLUGIN_HALYXJOBNOTESPDE_H
