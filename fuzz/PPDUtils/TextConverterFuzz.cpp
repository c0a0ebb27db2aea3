// De-hexes and converts any text: the first byte picks the declared and the output encoding, the
// second the size of the buffer Convert may use; the rest (up to a NUL) is the PPD text.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "PPDUtils/TextConverter.h"

namespace {

const TextEncoding kEncodings[] = {
    kTextEncodingMacRoman,       kTextEncodingISOLatin1, kTextEncodingISOLatin2,
    kTextEncodingISOLatin5,      kTextEncodingShiftJIS,  kTextEncodingWindowsLatin1,
    kTextEncodingUnicodeDefault, kCFStringEncodingUTF8,  TextConverter::kUnknownEncoding,
};
const size_t kEncodingCount = sizeof kEncodings / sizeof kEncodings[0];

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const TextEncoding input = kEncodings[(data[0] & 0x0F) % kEncodingCount];
    const TextEncoding output = kEncodings[(data[0] >> 4) % kEncodingCount];
    const size_t text = 2;
    size_t length = 0;
    while (text + length < size && data[text + length] != 0) ++length;

    // Exactly the room the contract promises, so that any write past it is caught.
    std::vector<char> source(data + text, data + text + length);
    source.push_back('\0');
    std::vector<char> dehexed(length + 1);
    const UInt32 written = TextConverter::DehexBufferFill(source.data(), dehexed.data());
    if (written < 1 || written > length + 1 || dehexed[written - 1] != '\0') abort();

    TextConverter converter(input, output);
    CFStringRef string = converter.ConvertToCFString(source.data(), static_cast<UInt32>(length));
    if (string == nullptr) abort();
    char back[64];
    TextConverter::CFStringToCstring(string, back, data[1] % sizeof back);
    CFRelease(string);

    const UInt32 bufferSize = static_cast<UInt32>(data[1] % (length + 2));
    std::vector<char> buffer(source);
    converter.Convert(buffer.data(), bufferSize);
    if (bufferSize > 0 && strnlen(buffer.data(), buffer.size()) >= buffer.size()) abort();
    return 0;
}
