#include "foundation/PPDXErrorFunctions.h"

#include "foundation/PPDXErrors.h"

extern "C" {

PPDXErrorObj* FirstError(PPDXErrors* list) {
    return list != nullptr ? list->First() : nullptr;
}

PPDXErrorObj* NextError(PPDXErrors* list) {
    return list != nullptr ? list->Next() : nullptr;
}

bool ErrorListIsEmpty(PPDXErrors* list) {
    return list == nullptr || list->Empty();
}

unsigned long ErrorCount(PPDXErrors* list) {
    return list != nullptr ? list->Count() : 0;
}

const char* GetErrorKeyword(PPDXErrorObj* error) {
    return error != nullptr ? error->Keyword() : nullptr;
}

const char* GetErrorDescription(PPDXErrorObj* error) {
    return error != nullptr ? error->Description() : nullptr;
}

bool IsErrorFatal(PPDXErrorObj* error) {
    return error != nullptr && error->IsFatal();
}
}
