#include "PPDObjects/Controls/RangeRecords.h"

#include <cstdio>

#include "PPDObjects/ModelRecords.h"
#include "PPDObjects/PPDXControl.h"
#include "settings/Settings.h"

namespace {

const FourCharCode kRangeTag = HALYX_FOUR_CHAR('R', 'n', 'g', 'C');
const FourCharCode kValueTag = HALYX_FOUR_CHAR('R', 'C', 'V', 'l');
const FourCharCode kMinTag = HALYX_FOUR_CHAR('R', 'C', 'M', 'n');
const FourCharCode kMaxTag = HALYX_FOUR_CHAR('R', 'C', 'M', 'x');
const FourCharCode kIncrementTag = HALYX_FOUR_CHAR('R', 'C', 'I', 'n');
const FourCharCode kDefaultTag = HALYX_FOUR_CHAR('R', 'C', 'D', 'f');

const SInt32 kNumberSize = 4;

}  // namespace

OSErr SaveRangeRecords(Settings& settings, SInt32 id, const RangeFields& fields) {
    OSStatus status = WriteModelMarker(settings, kRangeTag, id);
    if (status == noErr) status = settings.Add(kValueTag, id, fields.value, kNumberSize);
    if (status == noErr) status = settings.Add(kMinTag, id, fields.min, kNumberSize);
    if (status == noErr) status = settings.Add(kMaxTag, id, fields.max, kNumberSize);
    if (status == noErr) status = settings.Add(kIncrementTag, id, fields.increment, kNumberSize);
    if (status == noErr) status = settings.Add(kDefaultTag, id, fields.defaultValue, kNumberSize);
    return static_cast<OSErr>(status);
}

void LoadRangeRecords(Settings& settings, SInt32 id, const RangeFields& fields) {
    ReadModelRecordExactly(settings, kValueTag, id, fields.value, kNumberSize);
    ReadModelRecordExactly(settings, kMinTag, id, fields.min, kNumberSize);
    ReadModelRecordExactly(settings, kMaxTag, id, fields.max, kNumberSize);
    ReadModelRecordExactly(settings, kIncrementTag, id, fields.increment, kNumberSize);
    ReadModelRecordExactly(settings, kDefaultTag, id, fields.defaultValue, kNumberSize);
}

OSErr RestoreRangeValue(Settings& settings, SInt32 id, void* value, bool* loaded) {
    *loaded = false;
    SInt32 length = 0;
    OSStatus status = settings.Get(kValueTag, id, nullptr, &length);
    if (status != noErr) return static_cast<OSErr>(status);
    *loaded = ReadModelRecordExactly(settings, kValueTag, id, value, kNumberSize);
    return noErr;
}

SInt32 RangeFeatureBlock(PPDXControl& control, SInt32 value, unsigned char*& cache,
                         SInt32& cacheLength, char* out) {
    char text[16];
    std::snprintf(text, sizeof text, "%ld", static_cast<long>(value));
    if (control.Keyword() == nullptr) return 0;
    if (cache == nullptr) {
        cacheLength = 0;
        if (control.PSData() != nullptr && control.PSLength() >= 1) {
            cacheLength = PPDXControl::Inject(control.Keyword(), control.PSData(),
                                              control.PSLength(), text, cache);
        }
    }
    return control.GeneratePSOutputData(out, cache, cacheLength, text, true);
}
