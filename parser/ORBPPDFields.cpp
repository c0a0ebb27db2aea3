#include "parser/ORBPPDFields.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

#include "PPDUtils/TextConverter.h"
#include "foundation/CString.h"

namespace ORBPPDFields {

long DecimalValue(const char* text) {
    if (text == nullptr) return 0;
    while (*text == ' ' || *text == '\t') ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') negative = *text++ == '-';
    long long value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + (*text - '0');
        if (value > static_cast<long long>(INT32_MAX) + 1)
            value = static_cast<long long>(INT32_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT32_MAX) value = INT32_MAX;
    return static_cast<long>(value);
}

CString* SystemText(TextConverter* converter, char* text, unsigned long bufferSize) {
    if (text == nullptr || text[0] == '\0') return nullptr;
    if (converter != nullptr) converter->Convert(text, static_cast<UInt32>(bufferSize));
    CString* result = new (std::nothrow) CString(text);
    return result;
}

unsigned char* CopyInvocation(const char* value, unsigned long length) {
    if (value == nullptr || length < 1) return nullptr;
    unsigned char* block = static_cast<unsigned char*>(std::malloc(length));
    if (block != nullptr) std::memcpy(block, value, length);
    return block;
}

bool BeginsWith(const char* text, const char* prefix) {
    return text != nullptr && std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

}  // namespace ORBPPDFields
