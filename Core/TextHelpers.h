// Small text helpers of the pane: decimal conversion, length-prefixed strings, filled heap texts,
// string-list items and byte searches.
#ifndef HALYX_CORE_TEXTHELPERS_H
#define HALYX_CORE_TEXTHELPERS_H

#include "Base/MacTypes.h"

// An optional sign, then decimal digits, read as a 32-bit number (wrapping as the platform's
// decimal conversion does). A null text gives 0.
SInt32 string2Number(const char* text);
// As string2Number, but a number beyond the 32-bit limits does not wrap: *value gets the limit it
// passes and the answer is false. True for every number within the limits (a null text gives 0).
bool string2BoundedNumber(const char* text, SInt32* value);
// `value` in decimal into `text` (at least 12 bytes).
void num2String(SInt32 value, char* text);
// NUL-terminated to length-prefixed; at most 255 bytes are kept.
void ctoPStr(const char* text, StringPtr out);
// Length-prefixed to NUL-terminated (`out` holds 256 bytes).
void ptoCStr(ConstStringPtr text, char* out);
// A new heap text of `n` copies of `byte` and a NUL, released with free(); null when memory is
// short or n is negative.
char* newInitalizedCString(long n, char byte);
// Item `index` of string list `resourceId` into `out` (256 bytes), NUL-terminated; null when the
// item is empty or missing, otherwise `out`.
char* getIndString(SInt16 resourceId, SInt16 index, char* out);
// The first occurrence of `byte` in `text`, or null.
char* findChar(char* text, char byte);
// Removes the bytes from index `from` up to, not including, `to` (clipped at the text's end);
// null when from equals to, from > to, or from lies beyond the text; otherwise `text`.
char* deleteCharRangeInStr(char* text, long from, long to);
// True when no run of consecutive ASCII digits in `text` is longer than `maxRun`.
bool validateRangeValues(const char* text, int maxRun);

#endif  // HALYX_CORE_TEXTHELPERS_H
