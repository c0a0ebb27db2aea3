// The PPD header in a snapshot store: written by Save, read back by the store constructor and
// BuildFromSettings.
#include <new>

#include "PPDObjects/ModelRecords.h"
#include "foundation/CString.h"
#include "foundation/PPDXErrors.h"
#include "parser/PPDFile.h"
#include "parser/PPDX.h"
#include "settings/Settings.h"
#include "settings/SettingsStrings.h"

static_assert(sizeof(FSSpec) == 70, "the file record is 70 bytes");

namespace {

// Replaces `field` with the text of the record (1000, id); a missing or empty record leaves it
// absent.
void ReadHeader(Settings& settings, SInt32 id, CString*& field) {
    delete field;
    field = GetSettingsString(settings, PPDX::kSnapshotHeaderTag, id);
}

}  // namespace

PPDX::PPDX(Settings& settings, const CFURLRef url, CFArrayRef names) : PPDX() {
    // The rebuild counts the records it could not take in from here on.
    settings.ClearReadFailures();
    mNames = names;
    BuildFromSettings(settings, url);
}

bool PPDX::Save(Settings& settings) {
    const SInt32 format = kSnapshotFormat;
    if (settings.Add(kSnapshotHeaderTag, kSnapshotFormatId, &format, sizeof format) != noErr)
        return false;
    if (mFile != nullptr) {
        FSSpec spec;
        mFile->getFileInfo(spec);
        if (settings.Add(kSnapshotHeaderTag, kSnapshotFileSpecId, &spec, sizeof spec) != noErr)
            return false;
    }
    const struct {
        SInt32 id;
        const CString* field;
    } headers[] = {
        {kSnapshotFormatVersionId, mFormatVersion},
        {kSnapshotFileVersionId, mFileVersion},
        {kSnapshotPCFileNameId, mPCFileName},
        {kSnapshotLanguageVersionId, mLanguageVersion},
        {kSnapshotLanguageEncodingId, mLanguageEncoding},
        {kSnapshotModelNameId, mModelName},
    };
    for (const auto& header : headers) {
        const char* text =
            header.field != nullptr ? static_cast<const char*>(*header.field) : nullptr;
        if (text == nullptr) continue;
        if (WriteModelString(settings, kSnapshotHeaderTag, header.id, text) != noErr) return false;
    }
    return true;
}

void PPDX::BuildFromSettings(Settings& settings, const CFURLRef url) {
    CFArrayRef names = mNames;
    mNames = nullptr;

    SInt32 format = 0;
    if (!ReadModelRecordExactly(settings, kSnapshotHeaderTag, kSnapshotFormatId, &format,
                                sizeof format))
        return;

    if (mErrors == nullptr) mErrors = new (std::nothrow) PPDXErrors();

    // The file where it was saved is kept only when it can still be used; otherwise, as for a
    // store without the record, the file comes from the location the caller gives.
    delete mFile;
    mFile = nullptr;
    FSSpec saved;
    if (ReadModelRecordExactly(settings, kSnapshotHeaderTag, kSnapshotFileSpecId, &saved,
                               sizeof saved)) {
        mFile = new (std::nothrow) PPDFile(saved);
        if (mFile != nullptr && !(mFile->valid() && mFile->exists())) {
            delete mFile;
            mFile = nullptr;
        }
    }
    if (mFile == nullptr) mFile = new (std::nothrow) PPDFile(url);

    ReadHeader(settings, kSnapshotPCFileNameId, mPCFileName);
    if (names != nullptr) mValidPrinterName = ValidateAgainstPCFilename(names, mFile);
    if (!mValidPrinterName) return;

    ReadHeader(settings, kSnapshotFormatVersionId, mFormatVersion);
    ReadHeader(settings, kSnapshotFileVersionId, mFileVersion);
    ReadHeader(settings, kSnapshotLanguageVersionId, mLanguageVersion);
    ReadHeader(settings, kSnapshotLanguageEncodingId, mLanguageEncoding);
    ReadHeader(settings, kSnapshotModelNameId, mModelName);
    if (mLanguageVersion != nullptr && mLanguageEncoding != nullptr) MakeTextConverter();
}
