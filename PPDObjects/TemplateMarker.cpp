#include "PPDObjects/TemplateMarker.h"

namespace {

bool IsStringDelimiter(char c) {
    return c == '\\' || c == '(' || c == ')';
}

// Whether the offset `at` lies inside a string, reading the code before it: strings nest by their
// parentheses, "\" escapes the next byte inside one, and "%" outside one starts a comment that runs
// to the end of the line.
bool InsideString(const unsigned char* templ, SInt32 at) {
    int depth = 0;
    bool comment = false;
    for (SInt32 i = 0; i < at; ++i) {
        const unsigned char c = templ[i];
        if (comment) {
            comment = c != '\n' && c != '\r';
        } else if (depth == 0) {
            if (c == '%') comment = true;
            if (c == '(') depth = 1;
        } else if (c == '\\') {
            ++i;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')') {
            --depth;
        }
    }
    return depth > 0;
}

}  // namespace

TemplateMarker TemplateMarker::Find(const unsigned char* templ, SInt32 length) {
    TemplateMarker marker;
    if (templ == nullptr) return marker;
    SInt32 open = -1;
    for (SInt32 i = 0; i < length;) {
        if (templ[i] != '<') {
            ++i;
            continue;
        }
        if (i + 1 < length && templ[i + 1] == '<') {
            i += 2;
            if (i < length && templ[i] == '<') {
                open = i;
                break;
            }
            continue;
        }
        open = i;
        break;
    }
    if (open < 0) return marker;
    for (SInt32 i = open + 1; i < length; ++i) {
        if (templ[i] != '>') continue;
        marker.open = open;
        marker.close = i;
        marker.inString = InsideString(templ, open);
        break;
    }
    return marker;
}

bool TemplateMarker::Takes(const char* text) const {
    if (!Found() || inString || text == nullptr) return true;
    for (const char* p = text; *p != '\0'; ++p) {
        if (IsStringDelimiter(*p)) return false;
    }
    return true;
}

SInt32 TemplateMarker::WriteValue(const char* text, SInt32 length, unsigned char* out) const {
    SInt32 at = 0;
    for (SInt32 i = 0; i < length; ++i) {
        if (inString && IsStringDelimiter(text[i])) {
            if (out != nullptr) out[at] = '\\';
            ++at;
        }
        if (out != nullptr) out[at] = static_cast<unsigned char>(text[i]);
        ++at;
    }
    return at;
}
