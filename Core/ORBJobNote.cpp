#include "Core/ORBJobNote.h"

#include <string.h>

#include "Core/KeywordMap.h"
#include "Core/TextHelpers.h"
#include "PPDObjects/Controls/PPDXJobNote.h"
#include "crypto/NoteCipher.h"

namespace {

const size_t kValueBufferSize = 256;

}  // namespace

ORBJobNote::ORBJobNote(PPDXJobNote* note, bool freshPPD)
    : control(note), notesOn(true), isSwitch(false), ready(false) {
    if (control != nullptr) {
        isSwitch = control->IsOnOffSwitch();
        if (isSwitch || !freshPPD) notesOn = control->GetNotesOnValue();
        control->SetNotesOnValue(notesOn);
    }
    ready = true;
}

bool ORBJobNote::specialKeyword(SInt16& index) const {
    index = -1;
    const char* keyword = control != nullptr ? control->Keyword() : nullptr;
    if (keyword == nullptr) return false;
    for (SInt16 row = 0; row < kKeywordMapCount; ++row) {
        if (strcmp(keyword, gKeywordMap[row].keyword) == 0) {
            index = row;
            return true;
        }
    }
    return false;
}

SInt16 ORBJobNote::getTitle(char* buffer) const {
    const char* name = control != nullptr ? control->UserName() : nullptr;
    size_t length = name != nullptr ? strlen(name) : 0;
    if (length > kValueBufferSize - 1) length = kValueBufferSize - 1;
    if (buffer != nullptr) {
        if (name != nullptr) memcpy(buffer, name, length);
        buffer[length] = '\0';
    }
    return name != nullptr ? static_cast<SInt16>(length + 1) : 0;
}

SInt16 ORBJobNote::getUserData(char* buffer) const {
    const char* value = control != nullptr ? control->GetNotes() : nullptr;
    size_t length = value != nullptr ? strlen(value) : 0;
    if (length > kValueBufferSize - 1) length = kValueBufferSize - 1;
    if (buffer != nullptr) {
        if (length > 0) memcpy(buffer, value, length);
        buffer[length] = '\0';
    }
    return length > 0 ? static_cast<SInt16>(length + 1) : 0;
}

bool ORBJobNote::checkRangeValues(const char* text) const {
    if (control == nullptr || !control->IsTwoCharFields()) return true;
    return validateRangeValues(text, 2);
}

bool ORBJobNote::encryptNote(const char* plain, char* output) const {
    if (output == nullptr) return true;
    int key = halyx::crypto::NoteKeyIndex(CurrentSpecialOptionValue(kUseSpecialKeyOption));
    return halyx::crypto::EncryptNoteHex(plain, key, output);
}

void ORBJobNote::SetNotesOn(bool on) {
    notesOn = on;
    if (control != nullptr) control->SetNotesOnValue(on);
}
