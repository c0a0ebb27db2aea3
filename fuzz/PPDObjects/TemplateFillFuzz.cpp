// Fills arbitrary values into arbitrary templates. A value placed inside a PostScript string can
// never end it: the string depth after the value is the depth before it, and without its escapes
// the value reads as it was; anywhere else the value goes unchanged.
//
// Input: one byte giving the template's share of the rest (out of 255), the template, then the
// value (up to its first NUL).
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const SInt32 templLength = static_cast<SInt32>((size - 1) * data[0] / 255);
    const unsigned char* templ = data + 1;
    const char* rest = reinterpret_cast<const char*>(templ + templLength);
    const std::string value(rest, strnlen(rest, size - 1 - static_cast<size_t>(templLength)));
    unsigned char* filled = nullptr;
    const SInt32 length = PPDXControl::Inject("*K", templ, templLength, value.c_str(), filled);
    Check((filled != nullptr) == (templLength > 0), "a result for every template");
    const TemplateMarker marker = TemplateMarker::Find(templ, templLength);
    if (filled == nullptr || !marker.Found()) {
        Check(filled == nullptr || (length == templLength && !memcmp(filled, templ, length)),
              "a template without a marker changed");
        std::free(filled);
        return 0;
    }
    const SInt32 valueSize = static_cast<SInt32>(value.size());
    const SInt32 end = marker.open + marker.WriteValue(value.c_str(), valueSize, nullptr);
    Check(length == end + templLength - marker.close - 1, "the filled length");
    Check(!memcmp(filled, templ, static_cast<size_t>(marker.open)), "the code before the value");
    const int depth = TemplateMarker::StringDepth(filled, marker.open);
    Check(marker.inString == (depth > 0), "the marker's place");
    Check(!marker.inString || TemplateMarker::StringDepth(filled, end) == depth,
          "the value ended its string");
    std::string back;
    // A newline that ends the template's own escape is no part of the value.
    for (SInt32 i = marker.open + (marker.inString && marker.afterEscape ? 1 : 0); i < end; ++i) {
        if (marker.inString && filled[i] == '\\') ++i;
        back += static_cast<char>(filled[i]);
    }
    Check(back == value, "the value reads back differently");
    std::free(filled);
    return 0;
}
