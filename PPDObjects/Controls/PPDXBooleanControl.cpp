#include "PPDObjects/Controls/PPDXBooleanControl.h"

#include <cstdlib>

#include "PPDObjects/ModelRecords.h"
#include "foundation/CString.h"
#include "settings/Settings.h"
#include "settings/SettingsStrings.h"

namespace {

const FourCharCode kBooleanTag = HALYX_FOUR_CHAR('B', 'l', 'n', 'C');
const FourCharCode kValueTag = HALYX_FOUR_CHAR('B', 'C', 'c', 'V');
const FourCharCode kDefaultTag = HALYX_FOUR_CHAR('B', 'C', 'd', 'V');
const FourCharCode kTrueTextTag = HALYX_FOUR_CHAR('B', 'C', 't', 'T');
const FourCharCode kFalseTextTag = HALYX_FOUR_CHAR('B', 'C', 'f', 'T');
const FourCharCode kTrueCodeTag = HALYX_FOUR_CHAR('B', 't', 'P', 'T');
const FourCharCode kFalseCodeTag = HALYX_FOUR_CHAR('B', 'f', 'P', 'T');

SInt32 CodeLength(const unsigned char* code, long length) {
    return code != nullptr && length > 0 ? static_cast<SInt32>(length) : 0;
}

}  // namespace

PPDXBooleanControl::PPDXBooleanControl(const char* keyword, CFStringRef translation,
                                       PointerList& flagStrings, const bool& visible,
                                       CString* trueTranslation, unsigned char* trueInvocation,
                                       long trueLength, CString* falseTranslation,
                                       unsigned char* falseInvocation, long falseLength,
                                       const bool& defaultIsTrue)
    : PPDXControl(keyword, translation, flagStrings, nullptr, 0, visible),
      mValue(defaultIsTrue),
      mDefault(defaultIsTrue),
      mTrueText(trueTranslation),
      mFalseText(falseTranslation),
      mTrueCode(trueInvocation),
      mTrueCodeLength(CodeLength(trueInvocation, trueLength)),
      mFalseCode(falseInvocation),
      mFalseCodeLength(CodeLength(falseInvocation, falseLength)) {
    mType = CNTL_BOOLEAN;
}

PPDXBooleanControl::PPDXBooleanControl(Settings& settings, SInt32 id)
    : PPDXControl(settings, id),
      mValue(false),
      mDefault(false),
      mTrueText(nullptr),
      mFalseText(nullptr),
      mTrueCode(nullptr),
      mTrueCodeLength(0),
      mFalseCode(nullptr),
      mFalseCodeLength(0) {
    mType = CNTL_BOOLEAN;
    mTrueText = GetSettingsString(settings, kTrueTextTag, id);
    mFalseText = GetSettingsString(settings, kFalseTextTag, id);
    UInt8 byte = 0;
    if (ReadModelRecordExactly(settings, kValueTag, id, &byte, 1)) mValue = byte != 0;
    if (ReadModelRecordExactly(settings, kDefaultTag, id, &byte, 1)) mDefault = byte != 0;
    mTrueCode = ReadModelRecordBlock(settings, kTrueCodeTag, id, &mTrueCodeLength);
    mFalseCode = ReadModelRecordBlock(settings, kFalseCodeTag, id, &mFalseCodeLength);
}

PPDXBooleanControl::~PPDXBooleanControl() {
    delete mTrueText;
    delete mFalseText;
    std::free(mTrueCode);
    std::free(mFalseCode);
}

const char* PPDXBooleanControl::TrueDisplayText() const {
    return mTrueText != nullptr ? static_cast<const char*>(*mTrueText) : nullptr;
}

const char* PPDXBooleanControl::FalseDisplayText() const {
    return mFalseText != nullptr ? static_cast<const char*>(*mFalseText) : nullptr;
}

SInt32 PPDXBooleanControl::PostScript(char* out) {
    if (Keyword() == nullptr) return 0;
    if (mValue) return GeneratePSOutputData(out, mTrueCode, mTrueCodeLength, "True", true);
    return GeneratePSOutputData(out, mFalseCode, mFalseCodeLength, "False", true);
}

OSErr PPDXBooleanControl::Save(Settings& settings, SInt32 id) {
    OSStatus status = PPDXControl::Save(settings, id);
    if (status == noErr) status = WriteModelMarker(settings, kBooleanTag, id);
    if (status == noErr) status = WriteModelBool(settings, kValueTag, id, mValue);
    if (status == noErr) status = WriteModelBool(settings, kDefaultTag, id, mDefault);
    if (status == noErr && mTrueText != nullptr) {
        status = WriteModelString(settings, kTrueTextTag, id, TrueDisplayText());
    }
    if (status == noErr && mFalseText != nullptr) {
        status = WriteModelString(settings, kFalseTextTag, id, FalseDisplayText());
    }
    if (status == noErr && mTrueCode != nullptr && mTrueCodeLength > 0) {
        status = settings.Add(kTrueCodeTag, id, mTrueCode, mTrueCodeLength);
    }
    if (status == noErr && mFalseCode != nullptr && mFalseCodeLength > 0) {
        status = settings.Add(kFalseCodeTag, id, mFalseCode, mFalseCodeLength);
    }
    return static_cast<OSErr>(status);
}

OSErr PPDXBooleanControl::Restore(Settings& settings, SInt32 id) {
    SInt32 length = 0;
    OSStatus status = settings.Get(kValueTag, id, nullptr, &length);
    if (status != noErr) return static_cast<OSErr>(status);
    UInt8 byte = 0;
    if (ReadModelRecordExactly(settings, kValueTag, id, &byte, 1)) mValue = byte != 0;
    return noErr;
}
