// What the integer and the float range share: the store records (the same tags for both, four
// bytes each in host order, so the records do not say which of the two wrote them) and the
// feature block built from a whole-number value.
#ifndef HALYX_PPDOBJECTS_CONTROLS_RANGERECORDS_H
#define HALYX_PPDOBJECTS_CONTROLS_RANGERECORDS_H

#include "Base/MacTypes.h"

class PPDXControl;
class Settings;

// The five numbers of a range, as four-byte fields in record order.
struct RangeFields {
    void* value;
    void* min;
    void* max;
    void* increment;
    void* defaultValue;
};

// Writes the 'RngC' marker and the five number records; the first failure ends the save.
OSErr SaveRangeRecords(Settings& settings, SInt32 id, const RangeFields& fields);
// Reads each number record that is exactly four bytes long; the others leave their field alone.
void LoadRangeRecords(Settings& settings, SInt32 id, const RangeFields& fields);
// Reads the value record into `value` when it is exactly four bytes long. The status of finding
// the record (a wrong length is no failure); *loaded tells whether the value was replaced.
OSErr RestoreRangeValue(Settings& settings, SInt32 id, void* value, bool* loaded);

// The range's feature block for the whole number `value`: the option text is the number in
// decimal and the data the control's template with the number filled in, made once and kept in
// `cache`. 0 bytes when the control has no keyword.
SInt32 RangeFeatureBlock(PPDXControl& control, SInt32 value, unsigned char*& cache,
                         SInt32& cacheLength, char* out);

#endif  // HALYX_PPDOBJECTS_CONTROLS_RANGERECORDS_H
