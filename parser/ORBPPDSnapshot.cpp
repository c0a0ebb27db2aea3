// The whole model in a snapshot store: Save writes it, Restore reloads the control values, the
// store constructor and BuildFromSettings rebuild it without reading the PPD text again.
#include <new>

#include "PPDObjects/GroupIndex.h"
#include "PPDObjects/ModelOptions.h"
#include "PPDObjects/ModelRecords.h"
#include "PPDObjects/PPDXControls.h"
#include "PPDObjects/PPDXGroups.h"
#include "PPDObjects/PPDXProperties.h"
#include "PPDObjects/PPDXShortcuts.h"
#include "foundation/CString.h"
#include "parser/CStringSoup.h"
#include "parser/ConstraintForest.h"
#include "parser/KeywordTo_PPDControl.h"
#include "parser/ORBPPD.h"
#include "settings/Settings.h"
#include "settings/SettingsStrings.h"

ORBPPD::ORBPPD(Settings& settings, const CFURLRef url, CFArrayRef names)
    : PPDX(settings, url, names) {
    InitFields(kParseOrphans | kParseHidden);
    // The error list is made only once the format record was found: without it there is no
    // header, and a model built on it would pass for a valid one.
    if (GetErrors() == nullptr || !IsValidPrinterName()) return;
    BuildFromSettings(settings);
}

bool ORBPPD::Save(Settings& settings) {
    if (!PPDX::Save(settings)) return false;
    const struct {
        SInt32 id;
        const char* text;
    } versions[] = {
        {kSnapshotQZFileVersionId, QZFileVersion()},
        {kSnapshotQZVersionId, QZVersion()},
    };
    for (const auto& version : versions) {
        if (version.text == nullptr) continue;
        if (WriteModelString(settings, kSnapshotVersionsTag, version.id, version.text) != noErr)
            return false;
    }

    DisplayOptionsScope all(DISPLAY_ALL);
    OSErr status = noErr;
    if (mProperties != nullptr) status = mProperties->Save(settings);
    if (status == noErr && mGroups != nullptr) status = mGroups->Save(settings);
    if (status == noErr && mControls != nullptr) status = mControls->Save(settings);
    if (status == noErr && mShortcuts != nullptr) status = mShortcuts->Save(settings);
    return status == noErr;
}

bool ORBPPD::Restore(Settings& settings) {
    if (mControls == nullptr) return true;
    DisplayOptionsScope all(DISPLAY_ALL);
    return mControls->Restore(settings) == noErr;
}

void ORBPPD::BuildFromSettings(Settings& settings) {
    if (mProperties != nullptr || mGroups != nullptr || mControls != nullptr ||
        mShortcuts != nullptr)
        return;
    delete mQZFileVersion;
    mQZFileVersion = GetSettingsString(settings, kSnapshotVersionsTag, kSnapshotQZFileVersionId);
    delete mQZVersion;
    mQZVersion = GetSettingsString(settings, kSnapshotVersionsTag, kSnapshotQZVersionId);

    DisplayOptionsScope all(DISPLAY_ALL);
    mProperties = new (std::nothrow) PPDXProperties(settings);
    mGroups = new (std::nothrow) PPDXGroups(settings);
    // The groups are linked first; each control is then hung under its roll-down as it is read.
    const bool linked = ResolveHeirarchy();
    if (mGroups != nullptr) {
        GroupIndex rollDowns(*mGroups);
        mControls = new (std::nothrow) PPDXControls(settings, &rollDowns);
    } else {
        mControls = new (std::nothrow) PPDXControls(settings);
    }
    if (mControls != nullptr) mShortcuts = new (std::nothrow) PPDXShortcuts(settings, mControls);

    // The constraint lines are not part of a snapshot: their structures and the keyword index
    // that serves their queries start empty, so that every query answers nothing at once.
    mStringSoup = new (std::nothrow) CStringSoup();
    mConstraints = new (std::nothrow) ConstraintForest();
    mRequires = new (std::nothrow) ConstraintForest();
    mKeywordIndex = new (std::nothrow) KeywordTo_PPDControl();
    if (mKeywordIndex != nullptr) mKeywordIndex->EndInsertion();

    // A control the store told of but the rebuild could not make would vanish from the user's
    // job without a word, and a record that was there but could not be read (memory ran out)
    // would leave its default where the user had set something: such a model is refused, and
    // its owner parses the PPD instead.
    ValidPPD(mProperties != nullptr && mGroups != nullptr && mControls != nullptr &&
             mControls->RebuildComplete() && mShortcuts != nullptr && mStringSoup != nullptr &&
             mConstraints != nullptr && mRequires != nullptr && mKeywordIndex != nullptr &&
             linked && settings.ReadFailures() == 0);
}
