// Drives a converter the way its callers do, over any bytes: the first byte picks the pair of
// encodings, the next two the input piece size and the output room; the rest is the text.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>

#include <vector>

#include "TextEncoding/TextEncodingConverter.h"

namespace {

const TextEncoding kEncodings[] = {
    kTextEncodingMacRoman,  kTextEncodingUnicodeDefault, kTextEncodingISOLatin1,
    kTextEncodingISOLatin2, kTextEncodingISOLatin5,      kTextEncodingWindowsLatin1,
    kTextEncodingUS_ASCII,  kTextEncodingShiftJIS,       kCFStringEncodingUTF8,
};
const size_t kEncodingCount = sizeof kEncodings / sizeof kEncodings[0];

bool IsGrowStatus(OSStatus s) {
    return s == kTECOutputBufferFullStatus || s == kTECBufferBelowMinimumSizeErr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    const TextEncoding from = kEncodings[(data[0] & 0x0F) % kEncodingCount];
    const TextEncoding to = kEncodings[(data[0] >> 4) % kEncodingCount];
    const size_t step = 1 + data[1] % 64;
    const size_t room = data[2] % 40;
    const UInt8* text = data + 3;
    const size_t length = size - 3;

    TECObjectRef conv = nullptr;
    if (TECCreateConverter(&conv, from, to) != noErr) abort();
    std::vector<UInt8> out(room);
    size_t written = 0;
    size_t read = 0;
    OSStatus status = noErr;
    int stalls = 0;
    while (read < length && status == noErr) {
        const size_t piece = length - read < step ? length - read : step;
        ByteCount r = 0, w = 0;
        OSStatus s = TECConvertText(conv, text + read, piece, &r, out.data() + written,
                                    out.size() - written, &w);
        if (r > piece || w > out.size() - written) abort();
        read += r;
        written += w;
        if (IsGrowStatus(s)) {
            if (r == 0 && w == 0 && ++stalls > 8) abort();  // growing must let it move on
            out.resize(out.size() + 32);
        } else {
            stalls = 0;
            status = s;
        }
    }
    while (status == noErr) {
        ByteCount w = 0;
        OSStatus s = TECFlushText(conv, out.data() + written, out.size() - written, &w);
        if (w > out.size() - written) abort();
        written += w;
        if (!IsGrowStatus(s)) break;
        out.resize(out.size() + 32);
    }
    TECClearConverterContextInfo(conv);
    TECDisposeConverter(conv);
    return 0;
}
