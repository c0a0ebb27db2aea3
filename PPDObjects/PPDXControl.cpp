#include "PPDObjects/PPDXControl.h"

#include <cstdlib>
#include <cstring>

#include "PPDObjects/ModelRecords.h"
#include "PPDObjects/TemplateMarker.h"
#include "foundation/CString.h"
#include "foundation/SameText.h"
#include "settings/Settings.h"

namespace {

const FourCharCode kOrderTag = HALYX_FOUR_CHAR('O', 'r', 'd', 'r');
const FourCharCode kPSDataTag = HALYX_FOUR_CHAR('P', 'S', 'D', 't');
const FourCharCode kFlagsTag = HALYX_FOUR_CHAR('C', 'F', 'l', 'g');

// Keywords the print server reserves for its own colour, page-source and watermark properties:
// they never become a control.
const char* const kReservedKeywords[] = {
    "*QZHuemark",
    "*QZ_PROP_COLORMODE",
    "*QZ_PROP_HM_PURE_BLACK",
    "*QZ_PROP_HM_OVER_PRINT",
    "*QZ_PROP_HM_RGB_SEPARATION",
    "*QZ_PROP_HM_SOURCE_PROFILES",
    "*QZ_PROP_HM_SIMULATION",
    "*QZ_PROP_HM_SPOTCOLORS",
    "*QZ_PROP_HM_OUTPUT_PROFILE",
    "*QZ_PROP_HM_SIM_SPEED",
    "*QZ_PROP_HM_COLOR_SMART",
    "*QZ_PROP_HM_GAMMA",
    "*QZ_PROP_HM_WHITEPOINT",
    "*QZ_PROP_HM_PHOSPHORS",
    "*QZ_PROP_HM_CRD",
    "*QZ_PROP_HM_CRD_IMAGES",
    "*QZ_PROP_HM_CRD_GRAPHICS",
    "*QZ_PROP_HM_CRD_TEXT",
    "*QZ_PROP_HM_CRD_IMAGES_HT",
    "*QZ_PROP_HM_CRD_GRAPHICS_HT",
    "*QZ_PROP_HM_CRD_TEXT_HT",
    "*QZ_LOCAL_PROP_FIRSTPAGESOURCE",
    "*QZ_LOCAL_PROP_FIRSTPAGEMEDIA",
    "*QZ_LOCAL_PROP_BACKPAGESOURCE",
    "*QZ_LOCAL_PROP_BACKPAGEMEDIA",
    "*QZ_PROP_WATERMARK_FIRSTPAGEONLY",
    "*QZ_PROP_WATERMARK_FOREGROUND",
    "*QZ_PROP_WATERMARK_OUTLINE",
    "*QZ_PROP_WATERMARK",
    "*QZ_PROP_LOCAL_QZLANDSCAPE",
};

const char kBeginFeature[] = "%%BeginFeature: ";
const char kEndFeature[] = "%%EndFeature\n";

// Appends `count` bytes at `out` + `*at` (when `out` is not null) and advances `*at`.
void Put(char* out, SInt32* at, const void* bytes, SInt32 count) {
    if (count <= 0) return;
    if (out != nullptr) std::memcpy(out + *at, bytes, static_cast<size_t>(count));
    *at += count;
}

SInt32 Length(const char* text) {
    return text != nullptr ? static_cast<SInt32>(std::strlen(text)) : 0;
}

// Splits the 'CFlg' bytes at every separator into flag words appended to `flags`; empty pieces
// are skipped. False when a word was lost for want of memory.
bool SplitFlags(const unsigned char* bytes, SInt32 length, PointerList& flags) {
    bool whole = true;
    SInt32 start = 0;
    for (SInt32 i = 0; i <= length; ++i) {
        if (i < length && bytes[i] != PPDXControl::kFlagSeparator) continue;
        SInt32 pieceLength = i - start;
        if (pieceLength > 0) {
            // Flag words are short: a longer piece gets a block of its own.
            char local[64];
            CString* flag = nullptr;
            char* piece =
                pieceLength < static_cast<SInt32>(sizeof local)
                    ? local
                    : static_cast<char*>(std::malloc(static_cast<size_t>(pieceLength) + 1));
            if (piece != nullptr) {
                std::memcpy(piece, bytes + start, static_cast<size_t>(pieceLength));
                piece[pieceLength] = '\0';
                flag = NewModelString(piece);
                if (piece != local) std::free(piece);
            }
            if (flag != nullptr && flags.PushBack(flag).Node() == nullptr) {
                delete flag;
                flag = nullptr;
            }
            if (flag == nullptr) whole = false;
        }
        start = i + 1;
    }
    return whole;
}

}  // namespace

PPDXControl::PPDXControl()
    : mType(static_cast<CNTL_TYPE>(0)), mOrder(0), mPSData(nullptr), mPSLength(0) {}

PPDXControl::PPDXControl(const char* keyword, CFStringRef localName, PointerList& flags,
                         unsigned char* psData, long psLength, bool visible)
    : PPDXElement(keyword, localName, visible),
      mType(static_cast<CNTL_TYPE>(0)),
      mOrder(0),
      mControlFlags(flags),
      mPSData(psData),
      mPSLength(psData != nullptr && psLength > 0 ? static_cast<SInt32>(psLength) : 0) {
    // The copy may come up short when memory runs out: the flags it could not hold are still the
    // control's to delete.
    if (mControlFlags.Size() != flags.Size()) {
        PointerListItr kept = mControlFlags.Begin();
        for (PointerListItr given = flags.Begin(); given != flags.End(); ++given) {
            if (kept != mControlFlags.End() && *kept == *given) {
                ++kept;
            } else {
                delete static_cast<CString*>(*given);
            }
        }
    }
}

PPDXControl::PPDXControl(Settings& settings, SInt32 id)
    : PPDXElement(settings, id),
      mType(static_cast<CNTL_TYPE>(0)),
      mOrder(0),
      mPSData(nullptr),
      mPSLength(0) {
    SInt16 order = 0;
    if (ReadModelRecordExactly(settings, kOrderTag, id, &order, sizeof order)) mOrder = order;
    SInt32 length = 0;
    unsigned char* data = ReadModelRecordBlock(settings, kPSDataTag, id, &length);
    if (data != nullptr) {
        mPSData = data;
        mPSLength = length;
    }
    unsigned char* flags = ReadModelRecordBlock(settings, kFlagsTag, id, &length);
    if (flags != nullptr) {
        if (!SplitFlags(flags, length, mControlFlags)) settings.NoteReadFailure();
        std::free(flags);
    }
}

PPDXControl::~PPDXControl() {
    while (!mControlFlags.Empty()) {
        delete static_cast<CString*>(mControlFlags.Back());
        mControlFlags.PopBack();
    }
    FreePSData();
}

void PPDXControl::FreePSData() {
    std::free(mPSData);
    mPSData = nullptr;
    mPSLength = 0;
}

SInt32 PPDXControl::PostScript(char* out) {
    if (mPSData == nullptr || mPSLength <= 0) return 0;
    if (out != nullptr) std::memcpy(out, mPSData, static_cast<size_t>(mPSLength));
    return mPSLength;
}

OSErr PPDXControl::Save(Settings& settings, SInt32 id) {
    OSErr status = PPDXElement::Save(settings, id);
    if (status != noErr) return status;
    status = static_cast<OSErr>(settings.Add(kOrderTag, id, &mOrder, sizeof mOrder));
    if (status != noErr) return status;
    if (mPSData != nullptr && mPSLength > 0) {
        status = static_cast<OSErr>(settings.Add(kPSDataTag, id, mPSData, mPSLength));
        if (status != noErr) return status;
    }
    if (mControlFlags.Empty()) return noErr;

    SInt32 total = 0;
    for (ConstPointerListItr it = static_cast<const PointerList&>(mControlFlags).Begin();
         it != static_cast<const PointerList&>(mControlFlags).End(); ++it) {
        const CString* flag = static_cast<const CString*>(*it);
        if (flag != nullptr) total += static_cast<SInt32>(flag->Size()) + 1;
    }
    char* joined = static_cast<char*>(std::malloc(static_cast<size_t>(total) + 1));
    if (joined == nullptr) return memFullErr;
    SInt32 at = 0;
    for (ConstPointerListItr it = static_cast<const PointerList&>(mControlFlags).Begin();
         it != static_cast<const PointerList&>(mControlFlags).End(); ++it) {
        const CString* flag = static_cast<const CString*>(*it);
        if (flag == nullptr) continue;
        Put(joined, &at, static_cast<const char*>(*flag), static_cast<SInt32>(flag->Size()));
        joined[at++] = kFlagSeparator;
    }
    status = static_cast<OSErr>(settings.Add(kFlagsTag, id, joined, at));
    std::free(joined);
    return status;
}

bool PPDXControl::ValidKeyword(const char* keyword) {
    if (keyword == nullptr) return false;
    for (const char* reserved : kReservedKeywords) {
        if (SameText(keyword, reserved)) return false;
    }
    return true;
}

CString* PPDXControl::FirstString(PointerListItr& itr, PointerList& list) {
    itr = list.Begin();
    if (list.Empty()) return nullptr;
    return static_cast<CString*>(*itr);
}

CString* PPDXControl::NextString(PointerListItr& itr, PointerList& list) {
    if (itr == list.End() || itr.Node() == nullptr) return nullptr;
    ++itr;
    if (itr == list.End()) return nullptr;
    return static_cast<CString*>(*itr);
}

const char* PPDXControl::FirstControlFlag() {
    CString* flag = FirstString(mFlagCursor, mControlFlags);
    return flag != nullptr ? static_cast<const char*>(*flag) : nullptr;
}

const char* PPDXControl::NextControlFlag() {
    CString* flag = NextString(mFlagCursor, mControlFlags);
    return flag != nullptr ? static_cast<const char*>(*flag) : nullptr;
}

bool PPDXControl::FindControlFlag(const char* word) {
    if (word == nullptr) return false;
    for (const char* flag = FirstControlFlag(); flag != nullptr; flag = NextControlFlag()) {
        if (SameText(flag, word)) return true;
    }
    return false;
}

SInt32 PPDXControl::Inject(const char* keyword, const unsigned char* templ, SInt32 templLength,
                           const char* value, unsigned char*& result) {
    result = nullptr;
    if (keyword == nullptr || templ == nullptr || value == nullptr || templLength < 1) return 0;
    const SInt32 valueLength = Length(value);
    const TemplateMarker marker = TemplateMarker::Find(templ, templLength);
    const size_t size = static_cast<size_t>(Length(keyword)) + static_cast<size_t>(templLength) +
                        static_cast<size_t>(marker.WriteValue(value, valueLength, nullptr));
    result = static_cast<unsigned char*>(std::malloc(size));
    if (result == nullptr) return 0;
    if (!marker.Found()) {
        // No place for the value: the template stands as it is.
        std::memcpy(result, templ, static_cast<size_t>(templLength));
        return templLength;
    }
    SInt32 at = 0;
    Put(reinterpret_cast<char*>(result), &at, templ, marker.open);
    at += marker.WriteValue(value, valueLength, result + at);
    Put(reinterpret_cast<char*>(result), &at, templ + marker.close + 1,
        templLength - marker.close - 1);
    return at;
}

bool PPDXControl::TemplateTakes(const char* text) const {
    return TemplateMarker::Find(mPSData, mPSLength).Takes(text);
}

SInt32 PPDXControl::GeneratePSOutputData(char* out, const unsigned char* data, SInt32 dataLength,
                                         const char* option, bool wrap) {
    SInt32 at = 0;
    if (wrap) {
        const char* keyword = Keyword();
        Put(out, &at, kBeginFeature, Length(kBeginFeature));
        Put(out, &at, keyword, Length(keyword));
        Put(out, &at, " ", 1);
        Put(out, &at, option, Length(option));
        Put(out, &at, "\n", 1);
    }
    if (data != nullptr && dataLength > 0) {
        Put(out, &at, data, dataLength);
    } else {
        Put(out, &at, "\n", 1);
    }
    if (wrap) Put(out, &at, kEndFeature, Length(kEndFeature));
    return at;
}
