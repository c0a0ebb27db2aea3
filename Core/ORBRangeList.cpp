#include "Core/ORBRangeList.h"

#include <new>
#include <stdlib.h>
#include <string.h>

#include "Base/MacErrors.h"
#include "Core/ORBJobTicket.h"
#include "PPDObjects/Controls/PPDXRangeControl.h"
#include "PPDObjects/PPDXControls.h"
#include "parser/ORBPPD.h"

namespace {

const char* const kExcludedRanges[] = {"*QZScale",      "*QZBookMargin",  "*QZImageBackX",
                                       "*QZImageBackY", "*QZImageFrontX", "*QZImageFrontY"};

const SInt32 kLocalRangeTextSize = 256;

}  // namespace

bool ORBRangeList::IsExcluded(PPDXRangeControl* control) {
    const char* keyword = control->Keyword();
    if (keyword != nullptr) {
        for (const char* excluded : kExcludedRanges) {
            if (strcmp(keyword, excluded) == 0) return true;
        }
    }
    return control->FindControlFlag("WithConvUnits") || control->IsMacImgShift();
}

ORBRangeList::ORBRangeList(ORBPPD& ppd) : status(noErr) {
    valid = false;
    PPDXControls* controls = ppd.GetControls();
    if (controls == nullptr) return;
    ORBPPD::IncludeOrphans();
    for (PPDXRangeControl* range = controls->FirstRangeControl(); range != nullptr;
         range = controls->NextRangeControl()) {
        if (IsExcluded(range)) continue;
        ORBRange* entry = new (std::nothrow) ORBRange(range);
        if (entry == nullptr) {
            status = memFullErr;
            return;
        }
        add(entry);
    }
    valid = status == noErr;
}

int ORBRangeList::outInjectionData(ORBJobTicket* ticket, PMPrintSession) {
    for (LinkElement_Dual* element = head; element != nullptr; element = element->next) {
        ORBRange* entry = static_cast<ORBRange*>(element);
        if (entry->Control() == nullptr || entry->getUserData(nullptr) == 0) continue;
        SInt32 size = entry->Control()->PostScript(nullptr);
        if (size <= 0) continue;
        char local[kLocalRangeTextSize];
        char* text = local;
        if (size > kLocalRangeTextSize) {
            text = static_cast<char*>(malloc(static_cast<size_t>(size)));
            if (text == nullptr) {
                status = memFullErr;
                break;
            }
        }
        entry->Control()->PostScript(text);
        bool added = ticket != nullptr && ticket->Add(kPSInjectionRange, text, size);
        if (text != local) free(text);
        if (!added) break;
        if (status != noErr) break;
    }
    return status;
}
