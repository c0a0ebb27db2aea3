// Writes the job notes into the job ticket: the orientation comment, then entry by entry the
// special comment line and the feature code.
#include <stdlib.h>
#include <string.h>

#include "Base/MacErrors.h"
#include "Core/KeywordMap.h"
#include "Core/ORBJobNoteList.h"
#include "Core/ORBJobTicket.h"
#include "Core/PrinterLookup.h"
#include "Core/UserNameCapture.h"
#include "IOKit/IOKitLib.h"
#include "PPDObjects/Controls/PPDXJobNote.h"
#include "PPDObjects/Controls/PPDXUserAuthLib.h"
#include "PrintCore/PMErrors.h"
#include "PrintCore/PMTicketKeys.h"

namespace {

const size_t kLocalTextSize = 5120;

// A piece of text built in a local buffer that moves to the heap when it outgrows it.
class PieceText {
public:
    PieceText() : mHeap(nullptr), mLength(0), mCapacity(kLocalTextSize) { mLocal[0] = '\0'; }
    ~PieceText() { free(mHeap); }

    // Room for `length` more bytes and a terminator; false when memory is short.
    bool Reserve(size_t length) {
        if (mLength + length + 1 <= mCapacity) return true;
        size_t capacity = mLength + length + 1;
        char* grown = static_cast<char*>(malloc(capacity));
        if (grown == nullptr) return false;
        memcpy(grown, Data(), mLength);
        free(mHeap);
        mHeap = grown;
        mCapacity = capacity;
        return true;
    }
    bool Append(const char* text, size_t length) {
        if (!Reserve(length)) return false;
        memcpy(Data() + mLength, text, length);
        mLength += length;
        Data()[mLength] = '\0';
        return true;
    }
    bool Append(const char* text) { return Append(text, strlen(text)); }
    // Counts `length` bytes written into the reserved room.
    void Grow(size_t length) {
        mLength += length;
        Data()[mLength] = '\0';
    }
    char* Data() { return mHeap != nullptr ? mHeap : mLocal; }
    size_t Length() const { return mLength; }

private:
    PieceText(const PieceText&) = delete;
    PieceText& operator=(const PieceText&) = delete;

    char mLocal[kLocalTextSize];
    char* mHeap;
    size_t mLength;
    size_t mCapacity;
};

// Keeps the machine's interfaces as first read for as long as it lives: each password note packs
// the machine's address, which one pass reads once.
class InterfacesHeld {
public:
    InterfacesHeld() { HalyxIOKitHoldInterfaces(); }
    ~InterfacesHeld() { HalyxIOKitReleaseInterfaces(); }
    InterfacesHeld(const InterfacesHeld&) = delete;
    InterfacesHeld& operator=(const InterfacesHeld&) = delete;
};

// Missing tickets and items are no failure: they only leave the orientation unknown.
bool IsMissing(OSStatus status) {
    return status == kPMInvalidPrintSettings || status == kPMKeyNotFound;
}

// The orientation comment's status and whether one was found; turned for two-up and six-up.
OSStatus FindOrientation(PMPrintSession session, SInt32* orientation, bool* found) {
    *found = false;
    PMTicketRef pageFormat = nullptr;
    OSStatus status = MyGetTicket(session, kPDE_PMPageFormatRef, &pageFormat);
    if (status != noErr || pageFormat == nullptr) return IsMissing(status) ? noErr : status;
    status =
        PMTicketGetSInt32(pageFormat, kPMTopLevel, kPMTopLevel, kPMOrientationKey, orientation);
    if (status != noErr) return IsMissing(status) ? noErr : status;

    PMTicketRef settings = nullptr;
    status = MyGetTicket(session, kPDE_PMPrintSettingsRef, &settings);
    if (IsMissing(status)) status = noErr;
    if (settings != nullptr) {
        SInt32 rows = 0;
        SInt32 columns = 0;
        if (PMTicketGetSInt32(settings, kPMTopLevel, kPMTopLevel, kPMLayoutRowsKey, &rows) ==
                noErr &&
            PMTicketGetSInt32(settings, kPMTopLevel, kPMTopLevel, kPMLayoutColumnsKey, &columns) ==
                noErr) {
            SInt64 pages = static_cast<SInt64>(rows) * columns;
            if (pages == 2 || pages == 6) {
                bool portrait = *orientation == kPMPortrait || *orientation == kPMReversePortrait;
                *orientation = portrait ? kPMReverseLandscape : kPMPortrait;
            }
        }
    }
    *found = true;
    return status;
}

// The name a User Name note packs: what was typed, or for an empty note the logged-in user's,
// which one pass looks up once and keeps in *loggedIn for the caller to free.
OSStatus CaptureNoteUserName(const char* typed, char** loggedIn, char** captured) {
    if (typed[0] != '\0') return CaptureUserName(typed, captured);
    *captured = nullptr;
    if (*loggedIn == nullptr) {
        OSStatus status = CaptureUserName(typed, loggedIn);
        if (status != noErr) return status;
    }
    *captured = strdup(*loggedIn);
    return *captured != nullptr ? static_cast<OSStatus>(noErr) : static_cast<OSStatus>(memFullErr);
}

// A heap copy of `text`; null when memory is short.
char* CopyText(const char* text) {
    return strdup(text != nullptr ? text : "");
}

}  // namespace

SInt32 ORBJobNoteList::outInjectionData(ORBJobTicket* ticket, PMPrintSession session) {
    if (ticket == nullptr || !ticket->Valid()) return paramErr;

    SInt32 orientation = 0;
    bool found = false;
    OSStatus status = FindOrientation(session, &orientation, &found);
    if (found) {
        const char* comment = (orientation == kPMPortrait || orientation == kPMReversePortrait)
                                  ? "%%Orientation: Portrait\n"
                                  : "%%Orientation: Landscape\n";
        if (!ticket->Add(kPSInjectionOrientation, comment, static_cast<SInt32>(strlen(comment)))) {
            return status;
        }
    }

    InterfacesHeld interfaces;
    char* capturedName = nullptr;
    char* loggedInName = nullptr;
    bool nameCaptured = false;
    for (LinkElement_Dual* element = head; element != nullptr; element = element->next) {
        ORBJobNote* entry = static_cast<ORBJobNote*>(element);
        PPDXJobNote* control = entry->Control();
        if (control == nullptr) continue;
        SInt16 index = -1;
        bool special = entry->specialKeyword(index);
        if (!control->GetNotesOnValue()) continue;
        const char* value = control->GetNotes();
        if (value == nullptr) value = "";
        bool hasValue = value[0] != '\0';
        if (!hasValue && index != kKeywordMapUserName && index != kKeywordMapPassword) continue;

        bool featureAllowed = true;
        if (special) {
            PieceText line;
            bool built = line.Append(gKeywordMap[index].prefix);
            bool skipEntry = false;
            bool sendLine = true;
            if (hasValue && control->IsEncrypt() && index != kKeywordMapPassword) {
                char cipher[256];
                entry->encryptNote(value, cipher);
                built = built && line.Append(cipher) && line.Append("\n");
            } else if (index == kKeywordMapUserName) {
                if (CurrentSpecialOptionIsTrue(kAuthenticateWithLDAPOption)) {
                    free(capturedName);
                    OSStatus captureStatus =
                        CaptureNoteUserName(value, &loggedInName, &capturedName);
                    nameCaptured = captureStatus == noErr;
                    if (!nameCaptured && status == noErr) status = captureStatus;
                    featureAllowed = CurrentSpecialOptionIsTrue(kCopierUserAuthOption);
                }
            } else if (index == kKeywordMapPassword) {
                if (!nameCaptured) {
                    skipEntry = true;
                } else {
                    char* tag = nullptr;
                    if (AUTH_packAndEncrypt(capturedName, value, "", kUAL_DomainTypeDefault, 0,
                                            &tag) == 0 &&
                        tag != nullptr) {
                        built = built && line.Append(tag) && line.Append("\n");
                    } else {
                        // Without a tag the line would carry the password in clear: none is sent.
                        sendLine = false;
                        if (status == noErr) status = memFullErr;
                    }
                    AUTH_freeBuffer(&tag);
                    featureAllowed = CurrentSpecialOptionIsTrue(kCopierUserAuthOption);
                }
            } else {
                built = built && line.Append(value) && line.Append("\n");
            }
            if (skipEntry) continue;
            if (!built) {
                status = memFullErr;
                break;
            }
            if (sendLine && line.Length() > 0 &&
                !ticket->Add(kPSInjectionNoteComment, line.Data(),
                             static_cast<SInt32>(line.Length()))) {
                break;
            }
        }

        SInt32 size = control->PostScript(nullptr);
        if (!featureAllowed) continue;
        if (size <= 0 && index != kKeywordMapPassword) continue;
        PieceText feature;
        char* plain = nullptr;
        if (control->IsEncrypt() && hasValue) {
            plain = CopyText(value);
            char cipher[256];
            entry->encryptNote(value, cipher);
            if (plain != nullptr) control->SetNotes(cipher);
            size = control->PostScript(nullptr);
        }
        bool ready = plain != nullptr || !(control->IsEncrypt() && hasValue);
        if (ready && size > 0) {
            // The control writes straight into the piece: the local buffer, or an exact heap block.
            ready = feature.Reserve(static_cast<size_t>(size));
            if (ready) {
                control->PostScript(feature.Data());
                feature.Grow(static_cast<size_t>(size));
            }
        }
        if (plain != nullptr) {
            control->SetNotes(plain);
            free(plain);
        }
        if (!ready) {
            status = memFullErr;
            break;
        }
        if (!ticket->Add(kPSInjectionNoteFeature, feature.Data(),
                         static_cast<SInt32>(feature.Length()))) {
            break;
        }
        if (status != noErr) break;
    }
    free(capturedName);
    free(loggedInName);
    return status;
}
