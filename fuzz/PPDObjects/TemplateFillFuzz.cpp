// Fills arbitrary values into arbitrary templates and checks that a value placed inside a
// PostScript string can never end that string: reading the filled code, the string depth right
// after the value is the depth right before it, and removing the escapes gives the value back.
//
// Input: one byte giving the template's share of the rest (out of 255), then the template bytes,
// then the value (up to its first NUL).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "PPDObjects/PPDXControl.h"
#include "PPDObjects/TemplateMarker.h"

namespace {

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "template fill invariant broken: %s\n", what);
    std::abort();
}

// The string depth after reading `length` bytes of PostScript code (comments and escapes known).
int DepthAfter(const unsigned char* code, size_t length) {
    int depth = 0;
    bool comment = false;
    for (size_t i = 0; i < length; ++i) {
        const unsigned char c = code[i];
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
    return depth;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const size_t rest = size - 1;
    const size_t templLength = rest * data[0] / 255;
    const unsigned char* templ = data + 1;
    const std::string value(
        reinterpret_cast<const char*>(data + 1 + templLength),
        strnlen(reinterpret_cast<const char*>(data + 1 + templLength), rest - templLength));
    if (templLength == 0) return 0;

    unsigned char* filled = nullptr;
    const SInt32 length =
        PPDXControl::Inject("*K", templ, static_cast<SInt32>(templLength), value.c_str(), filled);
    Check(filled != nullptr, "no result");
    const TemplateMarker marker = TemplateMarker::Find(templ, static_cast<SInt32>(templLength));
    if (!marker.Found()) {
        Check(
            length == static_cast<SInt32>(templLength) && !std::memcmp(filled, templ, templLength),
            "a template without a marker changed");
    } else {
        const SInt32 written =
            marker.WriteValue(value.c_str(), static_cast<SInt32>(value.size()), nullptr);
        Check(
            length == static_cast<SInt32>(templLength) - (marker.close - marker.open + 1) + written,
            "the filled length");
        Check(!std::memcmp(filled, templ, static_cast<size_t>(marker.open)), "the code before");
        if (marker.inString) {
            const int before = DepthAfter(filled, static_cast<size_t>(marker.open));
            Check(before > 0, "the marker is not inside a string");
            Check(DepthAfter(filled, static_cast<size_t>(marker.open + written)) == before,
                  "the value changed the string depth");
            std::string back;
            for (SInt32 i = marker.open; i < marker.open + written; ++i) {
                if (filled[i] == '\\') ++i;
                back += static_cast<char>(filled[i]);
            }
            Check(back == value, "the escaped value reads back differently");
        } else {
            Check(!std::memcmp(filled + marker.open, value.data(), value.size()),
                  "a value outside a string changed");
        }
    }
    std::free(filled);
    return 0;
}
