#include "filter/DscLineSplitter.h"

#include <algorithm>

namespace {

// The first CR or LF in [bytes, bytes + length), or null.
const char* FindLineEnd(const char* bytes, size_t length) {
    for (size_t i = 0; i < length; ++i)
        if (bytes[i] == '\n' || bytes[i] == '\r') return bytes + i;
    return nullptr;
}

}  // namespace

void DscLineSplitter::Feed(const char* bytes, size_t length) {
    size_t i = 0;
    while (i < length) {
        if (mPendingCR) {
            mPendingCR = false;
            if (bytes[i] == '\n') {
                Append(bytes + i, 1);
                ++i;
            }
            EndLine();
            continue;
        }
        if (mAtLineStart && mSkipBytes > 0) {
            size_t count = static_cast<size_t>(std::min<uint64_t>(mSkipBytes, length - i));
            mReceiver.Raw(bytes + i, count);
            mSkipBytes -= count;
            i += count;
            continue;
        }
        const char* end = FindLineEnd(bytes + i, length - i);
        size_t take = end != nullptr ? static_cast<size_t>(end - (bytes + i)) + 1 : length - i;
        Append(bytes + i, take);
        i += take;
        if (end == nullptr) continue;
        if (*end == '\r')
            mPendingCR = true;
        else
            EndLine();
    }
}

void DscLineSplitter::Finish() {
    mPendingCR = false;
    if (!mAtLineStart) EndLine();
}

void DscLineSplitter::Append(const char* bytes, size_t length) {
    if (mAtLineStart) {
        mAtLineStart = false;
        if (mSkipLines > 0) {
            --mSkipLines;
            mLineIsRaw = true;
        }
    }
    if (mLineIsRaw || mInLongTail) {
        mReceiver.Raw(bytes, length);
        return;
    }
    mLine.append(bytes, length);
    if (mLine.size() <= kMaxKeptLine) return;
    mReceiver.Line(mLine.data(), kMaxKeptLine);
    mReceiver.Raw(mLine.data() + kMaxKeptLine, mLine.size() - kMaxKeptLine);
    mLine.clear();
    mInLongTail = true;
}

void DscLineSplitter::EndLine() {
    bool kept = !mLineIsRaw && !mInLongTail;
    mAtLineStart = true;
    mLineIsRaw = false;
    mInLongTail = false;
    if (kept) mReceiver.Line(mLine.data(), mLine.size());
    mLine.clear();
}
