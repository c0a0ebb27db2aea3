// The control collection in the settings store: the count record, each control under its number,
// and the rebuild that picks each control's class from its marker record.
#include <new>

#include "Collections/Collections.h"
#include "PPDObjects/Controls/PPDXBooleanControl.h"
#include "PPDObjects/Controls/PPDXJobNote.h"
#include "PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDObjects/Controls/PPDXRangeControl.h"
#include "PPDObjects/Controls/PPDXSpecialOption.h"
#include "PPDObjects/GroupIndex.h"
#include "PPDObjects/ModelRecords.h"
#include "PPDObjects/PPDXControls.h"
#include "PPDObjects/PPDXRollDown.h"
#include "PPDObjects/StoreCounts.h"
#include "foundation/CString.h"
#include "settings/Settings.h"
#include "settings/SettingsStrings.h"

namespace {

// The marker records, in the order a rebuild probes them.
const FourCharCode kBooleanMarker = HALYX_FOUR_CHAR('B', 'l', 'n', 'C');
const FourCharCode kJobNoteMarker = HALYX_FOUR_CHAR('J', 'b', 'N', 't');
const FourCharCode kPopupMarker = HALYX_FOUR_CHAR('P', 'o', 'p', 'C');
const FourCharCode kRangeMarker = HALYX_FOUR_CHAR('R', 'n', 'g', 'C');
const FourCharCode kSpecialMarker = HALYX_FOUR_CHAR('s', 'o', 'C', 'N');

const FourCharCode kMarkers[] = {kBooleanMarker, kJobNoteMarker, kPopupMarker, kRangeMarker,
                                 kSpecialMarker};

// The first marker present under `id`; 0 when none is, or when a probe fails other than by the
// record not being there (a read failure then).
FourCharCode ProbeMarker(Settings& settings, SInt32 id) {
    for (FourCharCode marker : kMarkers) {
        SInt32 length = 0;
        OSStatus status = settings.Get(marker, id, nullptr, &length);
        if (status == noErr) return marker;
        if (status != collectionItemNotFoundErr) {
            settings.NoteReadFailure();
            return 0;
        }
    }
    return 0;
}

}  // namespace

PPDXControl* PPDXControls::LoadControl(Settings& settings, SInt32 id, CString* languageEncoding) {
    switch (ProbeMarker(settings, id)) {
        case kBooleanMarker:
            return new (std::nothrow) PPDXBooleanControl(settings, id);
        case kJobNoteMarker:
            return new (std::nothrow) PPDXJobNote(settings, id, languageEncoding);
        case kPopupMarker:
            return new (std::nothrow) PPDXPopupControl(settings, id);
        case kRangeMarker:
            return new (std::nothrow) PPDXRangeControl(settings, id);
        case kSpecialMarker:
            return new (std::nothrow) PPDXSpecialOption(settings, id);
        default:
            return nullptr;
    }
}

bool PPDXControls::LinkParent(PPDXControl* control, const GroupIndex& groups) {
    const char* parentName = control->PendingParentKeyword();
    PPDXRollDown* rollDown = nullptr;
    if (parentName != nullptr && parentName[0] != '\0')
        rollDown = dynamic_cast<PPDXRollDown*>(groups.Find(parentName));
    if (rollDown != nullptr && rollDown->Controls() == nullptr) rollDown = nullptr;
    // The name goes with the pending link.
    control->ResolveParent(rollDown);
    return rollDown == nullptr || rollDown->Controls()->Add(control);
}

PPDXControls::PPDXControls(Settings& settings, const GroupIndex* rollDowns) : PPDXControls() {
    SInt32 count = 0;
    if (!ReadModelRecordExactly(settings, kCountTag, kCountId, &count, sizeof count) || count < 1)
        return;
    SInt32 plausible = PlausibleCount(settings, count);
    if (plausible != count) mRebuildComplete = false;
    count = plausible;
    const SInt32 failuresBefore = settings.ReadFailures();
    CString* languageEncoding = GetSettingsString(settings, kHeaderTag, kLanguageEncodingId);
    for (SInt32 i = 0; i < count; ++i) {
        SInt32 id;
        if (!OffsetId(kFirstId, i, &id)) {
            mRebuildComplete = false;
            break;
        }
        PPDXControl* control = LoadControl(settings, id, languageEncoding);
        if (control == nullptr) {
            mRebuildComplete = false;
            continue;
        }
        UInt32 before = mAll.Size();
        Add(control);
        // Nobody else would ever see a control that could not be listed.
        if (mAll.Size() == before) {
            delete control;
            mRebuildComplete = false;
        } else if (rollDowns != nullptr && !LinkParent(control, *rollDowns)) {
            mRebuildComplete = false;
        }
    }
    delete languageEncoding;
    // A control that came back with a record it could not read would show its default where the
    // user had set something.
    if (settings.ReadFailures() != failuresBefore) mRebuildComplete = false;
}

OSErr PPDXControls::Save(Settings& settings) {
    SInt32 count = static_cast<SInt32>(mAll.Size());
    OSErr err = static_cast<OSErr>(settings.Add(kCountTag, kCountId, &count, sizeof count));
    if (err != noErr) return err;
    SInt32 id = kFirstId;
    for (PPDXControl* control = First(nullptr); control != nullptr; control = Next(nullptr)) {
        err = control->Save(settings, id++);
        if (err != noErr) return err;
    }
    return noErr;
}

OSErr PPDXControls::Restore(Settings& settings) {
    SInt32 id = kFirstId;
    for (PPDXControl* control = First(nullptr); control != nullptr; control = Next(nullptr)) {
        OSErr err = control->Restore(settings, id++);
        if (err != noErr) return err;
    }
    return noErr;
}
