// Plain functions over the error list of a parsed PPD, for hosts outside the class hierarchy (C
// included). Each one accepts a null argument and then answers as for an empty list or record.
#ifndef HALYX_FOUNDATION_PPDXERRORFUNCTIONS_H
#define HALYX_FOUNDATION_PPDXERRORFUNCTIONS_H

#ifdef __cplusplus
class PPDXErrors;
class PPDXErrorObj;
extern "C" {
#else
#include <stdbool.h>
typedef struct PPDXErrors PPDXErrors;
typedef struct PPDXErrorObj PPDXErrorObj;
#endif

// The first record (starting a walk), or null for an empty or null list.
PPDXErrorObj* FirstError(PPDXErrors* list);
// The next record of the walk, or null past the end or for a null list.
PPDXErrorObj* NextError(PPDXErrors* list);
// True for an empty or null list.
bool ErrorListIsEmpty(PPDXErrors* list);
// The number of records, 0 for a null list.
unsigned long ErrorCount(PPDXErrors* list);
// The keyword the record concerns, null when none or for a null record.
const char* GetErrorKeyword(PPDXErrorObj* error);
// The description, null when there is none or for a null record.
const char* GetErrorDescription(PPDXErrorObj* error);
// False for a null record.
bool IsErrorFatal(PPDXErrorObj* error);

#ifdef __cplusplus
}
#endif

#endif  // HALYX_FOUNDATION_PPDXERRORFUNCTIONS_H
