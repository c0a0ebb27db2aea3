#include "Core/SharedPPDManager.h"

#include <new>

#include "Gestalt/Gestalt.h"
#include "foundation/PointerList.h"
#include "parser/ORBPPD.h"

namespace {
// The registered list, or null when no cache is registered or the registration holds none.
PointerList* RegisteredList(bool* registered) {
    long value = 0;
    bool found = Gestalt(kSharedPPDManagerSelector, &value) == noErr;
    if (registered != nullptr) *registered = found;
    return found ? reinterpret_cast<PointerList*>(value) : nullptr;
}

PointerList* NewListHolding(ORBPPD* model) {
    PointerList* list = new (std::nothrow) PointerList;
    if (list == nullptr) return nullptr;
    list->PushBack(model);
    if (list->Size() != 1) {
        delete list;
        return nullptr;
    }
    return list;
}
}  // namespace

ORBPPD* GetSharedPPDManager() {
    PointerList* list = RegisteredList(nullptr);
    if (list == nullptr || list->Empty()) return nullptr;
    ORBPPD* last = nullptr;
    for (PointerListItr it = list->Begin(); it != list->End(); ++it) {
        last = static_cast<ORBPPD*>(*it);
        last->Retain();
    }
    return last;
}

bool InstallSharedPPDManager(ORBPPD* model) {
    if (model == nullptr) return false;
    bool registered = false;
    PointerList* list = RegisteredList(&registered);
    if (list == nullptr) {
        list = NewListHolding(model);
        if (list == nullptr) return false;
        long value = reinterpret_cast<long>(list);
        OSErr status = registered ? ReplaceGestaltValue(kSharedPPDManagerSelector, value)
                                  : NewGestaltValue(kSharedPPDManagerSelector, value);
        if (status != noErr) {
            delete list;
            return false;
        }
    } else {
        UInt32 before = list->Size();
        list->PushBack(model);
        if (list->Size() == before) return false;
    }
    model->Retain();
    return true;
}

void ReleasePPDManager() {
    PointerList* list = RegisteredList(nullptr);
    if (list == nullptr) return;
    for (PointerListItr it = list->Begin(); it != list->End();) {
        ORBPPD* model = static_cast<ORBPPD*>(*it);
        if (model->Release())
            it = list->Erase(it);
        else
            ++it;
    }
    if (list->Empty() && DeleteGestaltValue(kSharedPPDManagerSelector) == noErr) delete list;
}
