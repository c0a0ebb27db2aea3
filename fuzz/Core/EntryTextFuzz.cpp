// Feeds arbitrary bytes, as a typed job-note value, to the preparation of the user name for the
// authentication tag and to the pane's small text helpers. The first two bytes give the range that
// deleteCharRangeInStr removes. Nothing may crash or leak, and the prepared name must be plain
// ASCII.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Core/TextHelpers.h"
#include "Core/UserNameCapture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1 << 16)) return 0;
    long from = size > 0 ? data[0] : 0;
    long to = size > 1 ? data[1] : 0;
    // The value as the entry holds it: up to its first NUL.
    std::string value(reinterpret_cast<const char*>(data), size);
    value = value.c_str();

    char* captured = nullptr;
    if (CaptureUserName(value.c_str(), &captured) == 0) {
        if (captured == nullptr) abort();
        for (const char* p = captured; *p != '\0'; ++p) {
            if (static_cast<unsigned char>(*p) >= 0x80) abort();
        }
    } else if (captured != nullptr) {
        abort();
    }
    free(captured);

    (void)validateRangeValues(value.c_str(), 2);
    char digits[12];
    num2String(string2Number(value.c_str()), digits);
    unsigned char counted[256];
    ctoPStr(value.c_str(), counted);
    char back[256];
    ptoCStr(counted, back);
    if (strncmp(back, value.c_str(), 255) != 0) abort();

    std::string editable = value;
    size_t before = editable.size();
    char* result = deleteCharRangeInStr(&editable[0], from, to);
    if (result != nullptr && strlen(result) > before) abort();
    return 0;
}
