#include "Core/ui/EditorEntries.h"

#include "Core/ORBJobNote.h"
#include "Core/ORBRange.h"
#include "Core/ui/UI_JobNotesBrowser.h"
#include "PPDObjects/Controls/PPDXJobNote.h"

namespace halyx_editor {

ORBJobNote* NoteOf(LinkElement_Dual* entry) {
    return dynamic_cast<ORBJobNote*>(entry);
}

ORBRange* RangeOf(LinkElement_Dual* entry) {
    return dynamic_cast<ORBRange*>(entry);
}

void TitleOf(const LinkElement_Dual* entry, char* out) {
    out[0] = '\0';
    if (const ORBJobNote* note = dynamic_cast<const ORBJobNote*>(entry)) {
        note->getTitle(out);
    } else if (const ORBRange* range = dynamic_cast<const ORBRange*>(entry)) {
        range->getTitle(out);
    }
}

long MaxLengthOf(const ORBJobNote* note) {
    const PPDXJobNote* control = note->Control();
    if (control == nullptr) return 0;
    long maximum = control->MaxLength();
    if (control->IsEncrypt() && maximum > UI_JobNotesBrowser::kEncryptedNoteLimit) {
        maximum = UI_JobNotesBrowser::kEncryptedNoteLimit;
    }
    return maximum;
}

bool IsPasswordNote(const ORBJobNote* note) {
    const PPDXJobNote* control = note->Control();
    return control != nullptr && (control->IsPassword() || control->IsMember());
}

}  // namespace halyx_editor
