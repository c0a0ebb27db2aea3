// The pane's lines in the print dialog's summary: one title and one value per switched-on job
// note. Protected notes show bullets instead of their value, long values are cut with an ellipsis,
// and ranges are not listed.
#include <string.h>

#include "Core/ORBJobNoteList.h"
#include "Core/plugin/HalyxJobNotesPDE.h"
#include "PPDObjects/Controls/PPDXJobNote.h"
#include "PrintCore/PMErrors.h"
#include "Resources/Resources.h"

namespace {

// A value of this many characters or more is cut to kSummaryKept characters and an ellipsis.
constexpr size_t kSummaryCut = 32;
constexpr size_t kSummaryKept = kSummaryCut - 1;
// What a password or member note shows: ten bullets, whatever its length.
constexpr int kSummaryBullets = 10;
// Bullet and ellipsis in the system encoding.
constexpr char kBullet = static_cast<char>(0xA5);
constexpr char kEllipsis = static_cast<char>(0xC9);

CFStringRef CreateSystemString(const char* text) {
    return CFStringCreateWithCString(kCFAllocatorDefault, text, CFStringGetSystemEncoding());
}

// The text the summary shows for `note`, in the system encoding, into `out` (256 bytes).
void SummaryText(const ORBJobNote& note, char* out) {
    PPDXJobNote* control = note.Control();
    if (control->IsPassword() || control->IsMember()) {
        memset(out, kBullet, kSummaryBullets);
        out[kSummaryBullets] = '\0';
        return;
    }
    if (note.getUserData(out) == 0) {
        out[0] = '\0';
        return;
    }
    if (strlen(out) >= kSummaryCut) {
        out[kSummaryKept] = kEllipsis;
        out[kSummaryKept + 1] = '\0';
    }
}

}  // namespace

OSStatus HalyxJobNotesPDE::GetSummaryText(CFArrayRef* titles, CFArrayRef* summaries) {
    if (titles != nullptr) *titles = nullptr;
    if (summaries != nullptr) *summaries = nullptr;
    ResFileRefNum saved = CurResFile();
    if (resourceFile != kNoResourceFile) UseResFile(static_cast<ResFileRefNum>(resourceFile));

    OSStatus status = noErr;
    CFMutableArrayRef titleArray =
        CFArrayCreateMutable(kCFAllocatorDefault, 0, &kCFTypeArrayCallBacks);
    CFMutableArrayRef summaryArray =
        CFArrayCreateMutable(kCFAllocatorDefault, 0, &kCFTypeArrayCallBacks);
    if (titleArray == nullptr || summaryArray == nullptr)
        status = memFullErr;
    else if (jobNotes == nullptr || !jobNotes->Valid())
        status = kPMInvalidPDEContext;
    else if (jobNotes->Count() > 0)
        ReportJobNotesSummary(titleArray, summaryArray);

    if (status == noErr && titles != nullptr) {
        *titles = titleArray;
        titleArray = nullptr;
    }
    if (status == noErr && summaries != nullptr) {
        *summaries = summaryArray;
        summaryArray = nullptr;
    }
    if (titleArray != nullptr) CFRelease(titleArray);
    if (summaryArray != nullptr) CFRelease(summaryArray);
    UseResFile(saved);
    return status;
}

void HalyxJobNotesPDE::ReportJobNotesSummary(CFMutableArrayRef titles,
                                             CFMutableArrayRef summaries) {
    if (jobNotes == nullptr || titles == nullptr || summaries == nullptr) return;
    char text[256];
    for (LinkElementDualIterator it(*jobNotes); it.Current() != nullptr; ++it) {
        const ORBJobNote* note = static_cast<const ORBJobNote*>(it.Current());
        if (note->Control() == nullptr) continue;
        if (note->getTitle(text) == 0 || text[0] == '\0') continue;
        if (!note->Control()->GetNotesOnValue()) continue;

        CFStringRef titleString = CreateSystemString(text);
        if (titleString == nullptr) return;
        CFArrayAppendValue(titles, titleString);
        CFRelease(titleString);

        SummaryText(*note, text);
        CFStringRef summary = CreateSystemString(text);
        if (summary != nullptr) {
            CFArrayAppendValue(summaries, summary);
            CFRelease(summary);
        }
    }
}
