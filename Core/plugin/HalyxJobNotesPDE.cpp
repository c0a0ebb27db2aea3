// The pane's lifetime: construction, Initialize, Sync in both directions, destruction, and the
// bookkeeping of its one model reference.
#include "Core/plugin/HalyxJobNotesPDE.h"

#include <new>

#include "Core/BundleLookup.h"
#include "Core/CurrentPPD.h"
#include "Core/JobTicket.h"
#include "Core/ORBJobNoteList.h"
#include "Core/ORBJobTicket.h"
#include "Core/ORBRangeList.h"
#include "Core/PDEBundle.h"
#include "Core/PPDAcceptance.h"
#include "Core/PrintSettingsTicket.h"
#include "Core/PrinterInfoTicket.h"
#include "Core/PrinterListFile.h"
#include "Core/PrinterLookup.h"
#include "Core/SharedPPDManager.h"
#include "Core/plugin/PluginIdentity.h"
#include "Core/ui/UI_Panel.h"
#include "PrintCore/PMErrors.h"
#include "PrintCore/PMTicketKeys.h"
#include "Resources/Resources.h"
#include "parser/ORBPPD.h"

namespace {

// Initialize's and Sync's result when the pane cannot be set up or the ticket is unusable.
constexpr OSStatus kPaneFailed = 1;

// Makes the bundle's resource file current for as long as it lives, then restores the one that
// was current before.
class CurrentResourceFile {
public:
    explicit CurrentResourceFile(UInt16 file) : mSaved(CurResFile()) {
        if (file != HalyxJobNotesPDE::kNoResourceFile) UseResFile(static_cast<ResFileRefNum>(file));
    }
    ~CurrentResourceFile() { UseResFile(mSaved); }

private:
    ResFileRefNum mSaved;
};

// What Initialize and Sync build on the session's print settings: the key of the job data, the
// print-settings ticket, the job ticket on it and a copy of the bundle identifier. All of it goes
// with the object.
class SessionJobTicket {
public:
    SessionJobTicket(PMPrintSession session, CFStringRef bundleIdentifier)
        : mKey(CreatePSDataKey(bundleIdentifier)),
          mSettings(new (std::nothrow) PrintSettingsTicket(session)),
          mJob(nullptr),
          mIdentifier(bundleIdentifier != nullptr ? CFStringCreateCopy(nullptr, bundleIdentifier)
                                                  : nullptr) {
        if (mKey != nullptr && mSettings != nullptr)
            mJob = new (std::nothrow) ORBJobTicket(mSettings, mKey);
    }
    ~SessionJobTicket() {
        delete mJob;
        delete mSettings;
        if (mKey != nullptr) CFRelease(mKey);
        if (mIdentifier != nullptr) CFRelease(mIdentifier);
    }
    bool HasKey() const { return mKey != nullptr; }
    ORBJobTicket* Job() const { return mJob; }
    CFStringRef Identifier() const { return mIdentifier; }

private:
    SessionJobTicket(const SessionJobTicket&) = delete;
    SessionJobTicket& operator=(const SessionJobTicket&) = delete;
    CFStringRef mKey;
    PrintSettingsTicket* mSettings;
    ORBJobTicket* mJob;
    CFStringRef mIdentifier;
};

// The URL of the current printer's PPD, for the caller to release; null when there is none.
CFURLRef CopyPPDURL(PMPrintSession session, OSStatus* status) {
    CFURLRef url = nullptr;
    FSRef fileRef;
    OSStatus result = GetPPDFile(session, &url, &fileRef);
    if (status != nullptr) *status = result;
    return url;
}

}  // namespace

HalyxJobNotesPDE::HalyxJobNotesPDE()
    : pdeRef(nullptr),
      resourceFile(kNoResourceFile),
      parentPane(nullptr),
      bundleIdentifier(nullptr),
      bundle(nullptr),
      valid(false),
      panel(nullptr),
      title(nullptr),
      model(nullptr),
      jobNotes(nullptr),
      ranges(nullptr),
      origin(kNoModel),
      freshPPD(false) {
    bundleIdentifier = CFStringCreateCopy(nullptr, kHalyxBundleIdentifier);
    bundle = MyGetBundle(bundleIdentifier);
    if (bundle == nullptr) return;
    ResFileRefNum saved = CurResFile();
    UInt16 opened = static_cast<UInt16>(CFBundleOpenBundleResourceMap(bundle));
    if (opened < kNoResourceFile) {
        resourceFile = opened;
        valid = true;
        UseResFile(saved);
    }
    PDEBundle::InitBundle(bundle);
    title = PDEBundle::GetLocalizedCFString(kHalyxPaneTitleKey, bundle);
}

HalyxJobNotesPDE::~HalyxJobNotesPDE() {
    if (resourceFile != kNoResourceFile) {
        CFBundleCloseBundleResourceMap(bundle, static_cast<ResFileRefNum>(resourceFile));
        resourceFile = kNoResourceFile;
    }
    // The editor goes before the entries its rows point at.
    delete panel;
    panel = nullptr;
    delete jobNotes;
    jobNotes = nullptr;
    delete ranges;
    ranges = nullptr;
    GiveBackModel();
    if (title != nullptr) CFRelease(title);
    if (bundleIdentifier != nullptr) CFRelease(bundleIdentifier);
}

void HalyxJobNotesPDE::PaneSize(UInt32* width, UInt32* height) {
    if (width != nullptr) *width = kHalyxPaneWidth;
    if (height != nullptr) *height = kHalyxPaneHeight;
}

void HalyxJobNotesPDE::SetModel(ORBPPD* newModel, ModelOrigin newOrigin) {
    model = newModel;
    origin = newModel != nullptr ? newOrigin : kNoModel;
    gORBPPD = newModel;
}

void HalyxJobNotesPDE::GiveBackModel() {
    if (model != nullptr) {
        if (origin == kSharedModel)
            ReleasePPDManager();
        else if (origin == kOwnModel)
            model->Release();
    }
    SetModel(nullptr, kNoModel);
}

void HalyxJobNotesPDE::DropModel() {
    if (panel != nullptr) panel->ResetUI();
    GiveBackModel();
    delete jobNotes;
    jobNotes = nullptr;
}

// --- Initialize ----------------------------------------------------------------------------------

OSStatus HalyxJobNotesPDE::Initialize(PMPDEFlags* flags, PMPDERef ref, ControlRef parent,
                                      PMPrintSession session) {
    CurrentResourceFile current(resourceFile);
    // Set up again: what an earlier Initialize built goes first, the editor before its entries.
    delete panel;
    panel = nullptr;
    DropModel();
    delete ranges;
    ranges = nullptr;
    if (SetUp(flags, ref, parent, session)) return noErr;
    delete jobNotes;
    jobNotes = nullptr;
    GiveBackModel();
    return kPaneFailed;
}

bool HalyxJobNotesPDE::SetUp(PMPDEFlags* flags, PMPDERef ref, ControlRef parent,
                             PMPrintSession session) {
    if (session == nullptr) return false;
    PrinterInfoTicket printerInfo(session);
    if (!printerInfo.Valid()) return false;
    if (flags != nullptr) *flags = 0;
    pdeRef = ref;
    parentPane = parent;

    // Only a printer the printing system compiled a PPD for is served; the value is not read.
    CFTypeRef compiled = nullptr;
    if (printerInfo.Ticket() == nullptr ||
        printerInfo.GetItem(kPMCompiledPPDKey, &compiled) != noErr || compiled == nullptr)
        return false;

    SessionJobTicket tickets(session, bundleIdentifier);
    if (tickets.Job() == nullptr) return false;

    OSStatus status = noErr;
    CFURLRef ppdURL = CopyPPDURL(session, &status);
    if (status != noErr) {
        if (ppdURL != nullptr) CFRelease(ppdURL);
        return false;
    }
    CFURLRef contents = CreatePDEContentsURL(tickets.Identifier());
    if (contents == nullptr) {
        if (ppdURL != nullptr) CFRelease(ppdURL);
        return false;
    }
    bool accepted = false;
    bool listed = false;
    {
        PrinterListFile printerList(contents, kCFPropertyListImmutable);
        listed = printerList.Loaded();
        if (listed) accepted = IsAcceptedPPD(ppdURL, printerList.Names());
    }
    CFRelease(contents);
    if (ppdURL != nullptr) CFRelease(ppdURL);
    if (!listed) return false;
    if (!accepted) {
        // A printer the pane does not serve keeps no job data of an earlier one.
        tickets.Job()->Invalidate(tickets.Identifier());
        return false;
    }

    if (!FindModel(session, *tickets.Job(), tickets.Identifier())) return false;

    jobNotes = new (std::nothrow) ORBJobNoteList(model, freshPPD);
    if (jobNotes == nullptr || !jobNotes->Valid()) return false;

    if (ranges == nullptr) ranges = new (std::nothrow) ORBRangeList(*model);
    if (ranges == nullptr) return false;
    panel = new (std::nothrow) UI_Panel(parentPane, jobNotes, ranges);
    return panel != nullptr;
}

bool HalyxJobNotesPDE::FindModel(PMPrintSession session, ORBJobTicket& jobTicket,
                                 CFStringRef identifier) {
    freshPPD = false;
    ORBPPD* shared = GetSharedPPDManager();
    SetModel(shared, kSharedModel);
    if (shared != nullptr) return true;

    CFURLRef ppdURL = CopyPPDURL(session, nullptr);
    ORBPPD* found = jobTicket.RestorePPD(identifier, ppdURL);
    if (ppdURL != nullptr) CFRelease(ppdURL);
    SetModel(found, kNoModel);
    if (found == nullptr) {
        found = SetupPPD(session, identifier);
        SetModel(found, kNoModel);
        freshPPD = found != nullptr;
    }
    if (found == nullptr) return false;
    if (InstallSharedPPDManager(found)) {
        SetModel(found, kSharedModel);
    } else {
        // The cache refused it: the pane keeps a reference of its own.
        found->Retain();
        SetModel(found, kOwnModel);
    }
    return true;
}

// --- Sync ----------------------------------------------------------------------------------------

OSStatus HalyxJobNotesPDE::Sync(PMPrintSession session, Boolean reinitialize) {
    JobTicket settings(session);
    if (!settings.Valid()) return kPaneFailed;
    if (session == nullptr) return kPMInvalidPrintSession;

    SessionJobTicket tickets(session, bundleIdentifier);
    if (!tickets.HasKey()) {
        DropModel();
        return noErr;
    }
    if (tickets.Job() == nullptr || !tickets.Job()->Valid()) {
        DropModel();
        return kPaneFailed;
    }
    if (!reinitialize) return WriteTicket(session, *tickets.Job(), tickets.Identifier());
    return ReloadFromTicket(session, *tickets.Job(), tickets.Identifier());
}

OSStatus HalyxJobNotesPDE::WriteTicket(PMPrintSession session, ORBJobTicket& jobTicket,
                                       CFStringRef identifier) {
    if (model == nullptr || jobNotes == nullptr) {
        DropModel();
        return noErr;
    }
    if (panel != nullptr) panel->CommitUserChanges();
    OSStatus status = jobNotes->outInjectionData(&jobTicket, session);
    if (status != noErr) {
        DropModel();
        return status;
    }
    if (ranges != nullptr) {
        status = static_cast<SInt16>(ranges->outInjectionData(&jobTicket, session));
        if (status != noErr) {
            DropModel();
            return status;
        }
    }
    CFURLRef ppdURL = CopyPPDURL(session, nullptr);
    jobTicket.SavePPD(model, identifier, ppdURL);
    // Without its pieces file the job would go out without its notes: the dialog must know.
    const bool saved = jobTicket.Save(identifier);
    if (ppdURL != nullptr) CFRelease(ppdURL);
    if (saved) return noErr;
    return jobTicket.Status() != noErr ? jobTicket.Status() : kPaneFailed;
}

OSStatus HalyxJobNotesPDE::ReloadFromTicket(PMPrintSession session, ORBJobTicket& jobTicket,
                                            CFStringRef identifier) {
    // The editor lets go of its rows before the entries behind them go.
    if (panel != nullptr) panel->ResetUI();
    GiveBackModel();
    delete jobNotes;
    jobNotes = nullptr;
    delete ranges;
    ranges = nullptr;

    // The cache never sees this model: the pane holds its own reference to it.
    freshPPD = false;
    CFURLRef ppdURL = CopyPPDURL(session, nullptr);
    ORBPPD* found = jobTicket.RestorePPD(identifier, ppdURL);
    if (ppdURL != nullptr) CFRelease(ppdURL);
    if (found == nullptr) {
        found = SetupPPD(session, identifier);
        freshPPD = found != nullptr;
    }
    if (found != nullptr) found->Retain();
    SetModel(found, kOwnModel);
    if (found == nullptr) {
        DropModel();
        return noErr;
    }

    jobNotes = new (std::nothrow) ORBJobNoteList(model, freshPPD);
    if (jobNotes == nullptr || !jobNotes->Valid()) {
        DropModel();
        return noErr;
    }
    ranges = new (std::nothrow) ORBRangeList(*model);
    if (ranges == nullptr) {
        DropModel();
        return memFullErr;
    }
    OSStatus status = panel != nullptr ? panel->SyncUI(jobNotes, ranges) : noErr;
    if (status != noErr) DropModel();
    return status;
}
