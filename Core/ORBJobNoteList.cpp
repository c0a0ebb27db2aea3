#include "Core/ORBJobNoteList.h"

#include <new>
#include <string.h>

#include "Base/MacErrors.h"
#include "PPDObjects/Controls/PPDXJobNote.h"
#include "PPDObjects/PPDXControls.h"
#include "parser/ORBPPD.h"

ORBJobNoteList::ORBJobNoteList(ORBPPD* model, bool freshPPD) : status(noErr), ppd(model) {
    valid = false;
    if (ppd == nullptr || ppd->GetControls() == nullptr) return;
    PPDXControls* controls = ppd->GetControls();
    PPDXJobNote* note = controls->FirstJobNote();
    if (note == nullptr) return;
    for (; note != nullptr; note = controls->NextJobNote()) {
        ORBJobNote* entry = new (std::nothrow) ORBJobNote(note, freshPPD);
        if (entry == nullptr) {
            status = memFullErr;
            break;
        }
        add(entry);
    }
    valid = status == noErr;
}

ORBJobNote* ORBJobNoteList::find(const char* keyword) const {
    if (keyword == nullptr) return nullptr;
    for (LinkElement_Dual* element = head; element != nullptr; element = element->next) {
        ORBJobNote* entry = static_cast<ORBJobNote*>(element);
        const char* own = entry->Control() != nullptr ? entry->Control()->Keyword() : nullptr;
        if (own != nullptr && strcmp(own, keyword) == 0) return entry;
    }
    return nullptr;
}

int ORBJobNoteList::countProtectedFields() {
    if (cursor == nullptr) cursor = new (std::nothrow) LinkElementDualIterator(head);
    if (cursor == nullptr) return 0;
    int protectedFields = 0;
    for (cursor->Reset(head); cursor->Current() != nullptr; ++*cursor) {
        ORBJobNote* entry = static_cast<ORBJobNote*>(cursor->Current());
        if (entry->Control() != nullptr && entry->Control()->IsPassword()) ++protectedFields;
    }
    return protectedFields;
}

void ORBJobNoteList::dumpData() {
    char value[256];
    for (LinkElement_Dual* element = head; element != nullptr; element = element->next) {
        ORBJobNote* entry = static_cast<ORBJobNote*>(element);
        if (entry->Control() != nullptr) (void)entry->Control()->GetNotesOnValue();
        (void)entry->getUserData(value);
    }
}
