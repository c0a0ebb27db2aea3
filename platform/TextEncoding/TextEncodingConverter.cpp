// Converters over iconv. iconv's answers become the service's statuses in ConvertStatus alone.
//
// Between two encodings that both write ASCII as itself, runs of ASCII bytes are copied without
// iconv. The iconv handles of disposed converters are kept, in their initial state, for the next
// converter between the same encodings made by the same thread.
#include "TextEncoding/TextEncodingConverter.h"

#include <errno.h>
#include <iconv.h>
#include <string.h>

#include <new>

#include "CoreFoundation/CFStringConverter.h"
#include "CoreFoundation/CFStringEncodingNames.h"
#include "testing/FailureInjection.h"

namespace {

// The longest incomplete character kept between calls: a UTF-8 sequence or a UTF-16 surrogate pair
// takes four bytes; the rest leaves room for stateful encodings.
const size_t kMaxPendingBytes = 16;

const iconv_t kNoIconv = reinterpret_cast<iconv_t>(-1);

// An iconv handle in its initial state, kept from a disposed converter.
struct IdleHandle {
    TextEncoding input;
    TextEncoding output;
    iconv_t cd;
};

const size_t kMaxIdleHandles = 8;

struct IdleHandles {
    IdleHandle handles[kMaxIdleHandles];
    size_t count = 0;
    bool closed = false;  // the thread is ending: handles disposed from now on are closed

    ~IdleHandles() {
        for (size_t i = 0; i < count; ++i) iconv_close(handles[i].cd);
        count = 0;
        closed = true;
    }
};

thread_local IdleHandles tIdle;

iconv_t TakeIdleHandle(TextEncoding input, TextEncoding output) {
    IdleHandles& idle = tIdle;
    for (size_t i = idle.count; i-- > 0;) {
        if (idle.handles[i].input != input || idle.handles[i].output != output) continue;
        const iconv_t cd = idle.handles[i].cd;
        idle.handles[i] = idle.handles[--idle.count];
        return cd;
    }
    return kNoIconv;
}

}  // namespace

struct OpaqueTECObjectRef {
    iconv_t cd;
    TextEncoding input;
    TextEncoding output;
    bool asciiAsItself;  // both encodings write ASCII characters as their own bytes
    bool used;           // iconv converted with `cd` since it was last in its initial state
    UInt8 pending[kMaxPendingBytes];  // the start of a character the input has not finished yet
    size_t pendingLength;
    bool droppedPartialChar;  // a flush dropped an unfinished character; the flush reports it
};

namespace {

enum class Step { kDone, kOutputFull, kIncomplete, kMalformed };

Step ConvertStatus(size_t result) {
    if (result != static_cast<size_t>(-1)) return Step::kDone;
    switch (errno) {
        case E2BIG:
            return Step::kOutputFull;
        case EINVAL:
            return Step::kIncomplete;
        default:
            return Step::kMalformed;
    }
}

// Converts from *in (or, with a null `in`, returns to the initial shift state) into *out. iconv
// needs an output address even when there is no room, so an absent output borrows a byte that is
// never written.
Step Iconv(iconv_t cd, const UInt8** in, size_t* inLeft, UInt8** out, size_t* outLeft) {
    char none;
    const bool noOutput = *out == nullptr;
    char* outp = noOutput ? &none : reinterpret_cast<char*>(*out);
    size_t result;
    if (in == nullptr) {
        result = iconv(cd, nullptr, nullptr, &outp, outLeft);
    } else {
        // iconv takes a non-const input pointer but never writes through it.
        char* inp = const_cast<char*>(reinterpret_cast<const char*>(*in));
        result = iconv(cd, &inp, inLeft, &outp, outLeft);
        *in = reinterpret_cast<const UInt8*>(inp);
    }
    if (!noOutput) *out = reinterpret_cast<UInt8*>(outp);
    return ConvertStatus(result);
}

// Converts what is kept from earlier calls. The pending bytes are converted in place; whatever
// iconv took is removed from the front.
Step ConvertPending(TECObjectRef conv, UInt8** out, size_t* outLeft) {
    conv->used = true;
    const UInt8* in = conv->pending;
    size_t inLeft = conv->pendingLength;
    const Step step = Iconv(conv->cd, &in, &inLeft, out, outLeft);
    memmove(conv->pending, in, inLeft);
    conv->pendingLength = inLeft;
    return step;
}

OSStatus FullStatus(bool madeProgress) {
    return madeProgress ? kTECOutputBufferFullStatus : kTECBufferBelowMinimumSizeErr;
}

void ResetState(TECObjectRef conv) {
    if (conv->used) iconv(conv->cd, nullptr, nullptr, nullptr, nullptr);
    conv->used = false;
    conv->pendingLength = 0;
}

// Copies the ASCII bytes at the start of the input that fit in the output.
void CopyASCII(const UInt8* input, size_t inLeft, size_t* taken, UInt8** out, size_t* outLeft) {
    const size_t room = inLeft < *outLeft ? inLeft : *outLeft;
    size_t n = 0;
    while (n < room && input[n] < 0x80) {
        (*out)[n] = input[n];
        ++n;
    }
    *taken += n;
    *out += n;
    *outLeft -= n;
}

}  // namespace

OSStatus TECCreateConverter(TECObjectRef* newEncodingConverter, TextEncoding inputEncoding,
                            TextEncoding outputEncoding) {
    if (newEncodingConverter == nullptr) return paramErr;
    *newEncodingConverter = nullptr;
    const char* from = HalyxIconvNameForEncoding(inputEncoding);
    const char* to = HalyxIconvNameForEncoding(outputEncoding);
    if (from == nullptr || to == nullptr) return kTextUnsupportedEncodingErr;
    iconv_t cd = TakeIdleHandle(inputEncoding, outputEncoding);
    if (cd == kNoIconv) cd = iconv_open(to, from);
    if (cd == kNoIconv) return errno == ENOMEM ? memFullErr : kTECNoConversionPathErr;
    TECObjectRef conv = new (std::nothrow) OpaqueTECObjectRef;
    if (conv == nullptr) {
        iconv_close(cd);
        return memFullErr;
    }
    conv->cd = cd;
    conv->input = inputEncoding;
    conv->output = outputEncoding;
    conv->asciiAsItself =
        halyxcf::IsASCIICompatible(inputEncoding) && halyxcf::IsASCIICompatible(outputEncoding);
    conv->used = false;
    conv->pendingLength = 0;
    conv->droppedPartialChar = false;
    *newEncodingConverter = conv;
    return noErr;
}

OSStatus TECConvertText(TECObjectRef encodingConverter, ConstTextPtr inputBuffer,
                        ByteCount inputBufferLength, ByteCount* actualInputLength,
                        TextPtr outputBuffer, ByteCount outputBufferLength,
                        ByteCount* actualOutputLength) {
    if (actualInputLength != nullptr) *actualInputLength = 0;
    if (actualOutputLength != nullptr) *actualOutputLength = 0;
    if (encodingConverter == nullptr || actualInputLength == nullptr ||
        actualOutputLength == nullptr || (inputBuffer == nullptr && inputBufferLength > 0) ||
        (outputBuffer == nullptr && outputBufferLength > 0)) {
        return paramErr;
    }
    if (HalyxShouldFail(kHalyxFailConversion)) return kTextMalformedInputErr;

    TECObjectRef conv = encodingConverter;
    UInt8* out = outputBuffer;
    size_t outLeft = outputBufferLength;
    size_t taken = 0;
    OSStatus status = noErr;

    // A character begun in an earlier call is finished first, one input byte at a time.
    while (conv->pendingLength > 0 && status == noErr) {
        const Step step = ConvertPending(conv, &out, &outLeft);
        if (step == Step::kOutputFull) {
            status = FullStatus(taken > 0 || out != outputBuffer);
        } else if (step == Step::kMalformed) {
            conv->pendingLength = 0;
            status = kTextMalformedInputErr;
        } else if (step == Step::kIncomplete) {
            if (taken == inputBufferLength) break;  // all taken; the character is still open
            if (conv->pendingLength == kMaxPendingBytes) {
                conv->pendingLength = 0;
                status = kTextMalformedInputErr;
            } else {
                conv->pending[conv->pendingLength++] = inputBuffer[taken++];
            }
        }
    }

    if (status == noErr && conv->pendingLength == 0 && conv->asciiAsItself &&
        taken < inputBufferLength) {
        CopyASCII(inputBuffer + taken, inputBufferLength - taken, &taken, &out, &outLeft);
    }

    if (status == noErr && taken < inputBufferLength) {
        conv->used = true;
        const UInt8* in = inputBuffer + taken;
        size_t inLeft = inputBufferLength - taken;
        const Step step = Iconv(conv->cd, &in, &inLeft, &out, &outLeft);
        if (step == Step::kOutputFull) {
            status = FullStatus(in != inputBuffer || out != outputBuffer);
        } else if (step == Step::kMalformed) {
            status = kTextMalformedInputErr;
        } else if (step == Step::kIncomplete) {
            if (inLeft <= kMaxPendingBytes) {
                memcpy(conv->pending, in, inLeft);
                conv->pendingLength = inLeft;
                in += inLeft;
                inLeft = 0;
            } else {
                status = kTextMalformedInputErr;
            }
        }
        taken = static_cast<size_t>(in - inputBuffer);
    }

    *actualInputLength = taken;
    *actualOutputLength = static_cast<ByteCount>(out - outputBuffer);
    return status;
}

OSStatus TECFlushText(TECObjectRef encodingConverter, TextPtr outputBuffer,
                      ByteCount outputBufferLength, ByteCount* actualOutputLength) {
    if (actualOutputLength != nullptr) *actualOutputLength = 0;
    if (encodingConverter == nullptr || actualOutputLength == nullptr ||
        (outputBuffer == nullptr && outputBufferLength > 0)) {
        return paramErr;
    }
    TECObjectRef conv = encodingConverter;
    UInt8* out = outputBuffer;
    size_t outLeft = outputBufferLength;

    if (conv->pendingLength > 0) {
        const Step step = ConvertPending(conv, &out, &outLeft);
        if (step == Step::kOutputFull) {
            *actualOutputLength = static_cast<ByteCount>(out - outputBuffer);
            return FullStatus(out != outputBuffer);
        }
        if (step != Step::kDone) {
            conv->pendingLength = 0;
            conv->droppedPartialChar = true;
        }
    }
    // Returns a stateful encoding to its initial state; nothing to write for the others, nor when
    // iconv has not converted since the handle was last in that state.
    if (conv->used) {
        const Step step = Iconv(conv->cd, nullptr, nullptr, &out, &outLeft);
        *actualOutputLength = static_cast<ByteCount>(out - outputBuffer);
        if (step == Step::kOutputFull) return FullStatus(out != outputBuffer);
        conv->used = false;
    }
    conv->pendingLength = 0;
    if (conv->droppedPartialChar) {
        conv->droppedPartialChar = false;
        return kTECPartialCharErr;
    }
    return noErr;
}

OSStatus TECClearConverterContextInfo(TECObjectRef encodingConverter) {
    if (encodingConverter == nullptr) return paramErr;
    ResetState(encodingConverter);
    encodingConverter->droppedPartialChar = false;
    return noErr;
}

OSStatus TECDisposeConverter(TECObjectRef newEncodingConverter) {
    if (newEncodingConverter == nullptr) return paramErr;
    ResetState(newEncodingConverter);
    IdleHandles& idle = tIdle;
    if (!idle.closed && idle.count < kMaxIdleHandles) {
        idle.handles[idle.count++] = IdleHandle{
            newEncodingConverter->input, newEncodingConverter->output, newEncodingConverter->cd};
    } else {
        iconv_close(newEncodingConverter->cd);
    }
    delete newEncodingConverter;
    return noErr;
}
