#include "PPDObjects/TemplateMarker.h"

namespace {

bool IsStringDelimiter(char c) {
    return c == '\\' || c == '(' || c == ')';
}

}  // namespace

int TemplateMarker::StringDepth(const unsigned char* code, SInt32 length, bool* midEscape) {
    int depth = 0;
    bool comment = false;
    if (midEscape != nullptr) *midEscape = false;
    for (SInt32 i = 0; i < length; ++i) {
        const unsigned char c = code[i];
        if (comment) {
            comment = c != '\n' && c != '\r';
        } else if (depth == 0) {
            comment = c == '%';
            if (c == '(') depth = 1;
        } else if (c == '\\') {
            if (++i == length && midEscape != nullptr) *midEscape = true;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')') {
            --depth;
        }
    }
    return depth;
}

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
        marker.inString = StringDepth(templ, open, &marker.afterEscape) > 0;
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
    if (inString && afterEscape) {
        if (out != nullptr) out[at] = '\n';
        ++at;
    }
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
