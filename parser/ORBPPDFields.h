// What the keyword handlers share when they read the fields of a definition line: the sets of
// characters that end each kind of field and small conversions of field texts into the values the
// model's constructors take.
//
// A field is read with PPDX::NextToken: the text up to the first of its delimiters (which is
// consumed), blanks and tabs around it trimmed unless the handler says otherwise. An empty field
// reads as missing, so two delimiters in a row, or the end of the line, end a list of fields.
#ifndef HALYX_PARSER_ORBPPDFIELDS_H
#define HALYX_PARSER_ORBPPDFIELDS_H

#include "Base/MacTypes.h"
#include "parser/PPDX.h"

class CString;
class TextConverter;

namespace ORBPPDFields {

// An option or main keyword.
constexpr PPDX::Stops kKeywordEnd{" \t:"};
// A name followed by its translation ("Name/Translation:").
constexpr PPDX::Stops kNameEnd{"/:"};
// A translation.
constexpr PPDX::Stops kTranslationEnd{":"};
// A word of a flag list ("Alpha|Required"), which may end at the quote of a following value.
constexpr PPDX::Stops kWordEnd{"|:\""};
// The rest of the line.
constexpr PPDX::Stops kLineEnd{"\n\r"};
// A UI type after the translation ("PickOne", "Boolean" ...).
constexpr PPDX::Stops kUITypeEnd{";()"};
// One number of a range's "(min;max;increment;default)".
constexpr PPDX::Stops kNumberEnd{";()"};
// The "*Def..." fields of a block.
constexpr const char* kDefaultPrefix = "*Def";

// A decimal number as the PPD writes it: leading blanks skipped, an optional sign, then the
// leading digits; 0 when there are none. Values beyond 32 bits are held at the nearest limit.
long DecimalValue(const char* text);

// `text` converted in place from the PPD's encoding into the system encoding when there is a
// converter (left as it is otherwise), as a new string the caller deletes; null when `text` is
// empty or memory runs out.
CString* SystemText(TextConverter* converter, char* text, unsigned long bufferSize);

// A malloc copy of the first `length` bytes of `value`; null when `length` is below 1 or memory
// runs out.
unsigned char* CopyInvocation(const char* value, unsigned long length);

// True when `text` begins with `prefix`.
bool BeginsWith(const char* text, const char* prefix);

}  // namespace ORBPPDFields

#endif  // HALYX_PARSER_ORBPPDFIELDS_H
