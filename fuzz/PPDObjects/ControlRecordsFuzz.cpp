// Builds every control class of the option model from a store made of arbitrary records, the way a
// snapshot from the print settings is read back, then asks each for its PostScript (both calls of
// the protocol must agree and stay within the announced size), saves it, rebuilds it from what it
// saved, restores its value from the arbitrary store and resets it.
//
// Input: a first byte whose low bit chooses the form of the rest. Even: a flattened store. Odd: a
// list of records, each one byte choosing the tag among the model's own, one byte choosing the id
// (1 to 3), one byte of length and that many bytes of content, so that short, long, empty and
// garbage records of every kind are met quickly.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "Memory/MacMemory.h"
#include "PPDObjects/Controls/PPDXBooleanControl.h"
#include "PPDObjects/Controls/PPDXFloatRangeControl.h"
#include "PPDObjects/Controls/PPDXJobNote.h"
#include "PPDObjects/Controls/PPDXRangeControl.h"
#include "PPDObjects/Controls/PPDXSpecialOption.h"
#include "settings/Settings.h"

namespace {

#define TAG(s) HALYX_FOUR_CHAR(s[0], s[1], s[2], s[3])
const FourCharCode kTags[] = {
    TAG("KyWd"), TAG("LcNm"), TAG("LcCF"), TAG("isVs"), TAG("PrNm"), TAG("Ordr"),
    TAG("PSDt"), TAG("CFlg"), TAG("JbNt"), TAG("jNtT"), TAG("jNDT"), TAG("jMxL"),
    TAG("jMnL"), TAG("jNtF"), TAG("jNOn"), TAG("BlnC"), TAG("BCcV"), TAG("BCdV"),
    TAG("BCtT"), TAG("BCfT"), TAG("BtPT"), TAG("BfPT"), TAG("RngC"), TAG("RCVl"),
    TAG("RCMn"), TAG("RCMx"), TAG("RCIn"), TAG("RCDf"), TAG("soCN"), TAG("soVl"),
};
#undef TAG
const size_t kTagCount = sizeof kTags / sizeof kTags[0];
const SInt32 kIds = 3;

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "control records invariant broken: %s\n", what);
    std::abort();
}

std::unique_ptr<Settings> StoreFrom(const uint8_t* data, size_t size) {
    if (size > 0 && (data[0] & 1) == 0) {
        Handle flat = NewHandle(static_cast<Size>(size - 1));
        if (flat == nullptr) return nullptr;
        if (size > 1) std::memcpy(*flat, data + 1, size - 1);
        std::unique_ptr<Settings> store(new Settings(flat));
        DisposeHandle(flat);
        return store;
    }
    std::unique_ptr<Settings> store(new Settings());
    size_t at = size > 0 ? 1 : 0;
    while (at + 3 <= size) {
        FourCharCode tag = kTags[data[at] % kTagCount];
        SInt32 id = data[at + 1] % kIds + 1;
        size_t length = data[at + 2];
        at += 3;
        if (length > size - at) length = size - at;
        store->Add(tag, id, data + at, static_cast<SInt32>(length));
        at += length;
    }
    return store;
}

// Both calls of the protocol, into a block of exactly the announced size.
void CheckPostScript(PPDXControl& control) {
    SInt32 size = control.PostScript(nullptr);
    Check(size >= 0, "PostScript size is not negative");
    char* out = static_cast<char*>(std::malloc(static_cast<size_t>(size) + 1));
    if (out == nullptr) return;
    Check(control.PostScript(out) == size, "both PostScript calls agree");
    std::free(out);
}

void Exercise(PPDXControl& control, Settings& source, SInt32 id) {
    control.UserName();
    for (const char* flag = control.FirstControlFlag(); flag != nullptr;
         flag = control.NextControlFlag()) {
    }
    control.IsSetup();
    control.OkayToDisplay(DISPLAY_NORMAL);
    CheckPostScript(control);
    Settings saved;
    control.Save(saved, id);
    control.Restore(source, id);
    CheckPostScript(control);
    control.ResetToDefaultValue();
    CheckPostScript(control);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<Settings> store = StoreFrom(data, size);
    if (store == nullptr) return 0;
    for (SInt32 id = 1; id <= kIds; ++id) {
        PPDXJobNote note(*store, id, nullptr);
        Exercise(note, *store, id);
        note.SetNotes("fuzz");
        CheckPostScript(note);

        PPDXBooleanControl boolean(*store, id);
        Exercise(boolean, *store, id);
        boolean.SetValue(!boolean.IsTrue());
        CheckPostScript(boolean);

        PPDXRangeControl range(*store, id);
        Exercise(range, *store, id);
        // Clamped, then snapped toward zero: at most the max, or at most 0 where snapping a
        // value at a negative max (say -5 by 4 to -4) carries it past that max.
        SInt32 value = range.GetValue();
        range.SetValue(value > INT32_MAX - 7 ? INT32_MAX : value + 7);
        Check(range.GetValue() <= std::max<SInt32>(range.MaxVal(), 0),
              "a set range value stays at most its max, or at most 0 below a negative max");
        CheckPostScript(range);

        PPDXFloatRangeControl floatRange(*store, id);
        Exercise(floatRange, *store, id);
        floatRange.SetValue(floatRange.GetValue() * 1.5f);
        CheckPostScript(floatRange);

        PPDXSpecialOption special(*store, id);
        Exercise(special, *store, id);
    }
    return 0;
}
