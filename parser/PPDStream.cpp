#include "parser/PPDStream.h"

#include <cstring>

PPDStream::PPDStream() : mBegin(nullptr), mEnd(nullptr), mCurrent(nullptr), mStatus(kGood) {}

PPDStream::PPDStream(const char* data, long length)
    : mBegin(nullptr), mEnd(nullptr), mCurrent(nullptr), mStatus(kGood) {
    Setup(data, length);
}

PPDStream::PPDStream(const PPDStream& other)
    : mBegin(other.mBegin), mEnd(other.mEnd), mCurrent(other.mCurrent), mStatus(other.mStatus) {}

PPDStream& PPDStream::operator=(const PPDStream& other) {
    mBegin = other.mBegin;
    mEnd = other.mEnd;
    mCurrent = other.mCurrent;
    mStatus = other.mStatus;
    return *this;
}

PPDStream::~PPDStream() {}

void PPDStream::Setup(const char* data, long length) {
    if (data == nullptr || length < 1) {
        mStatus = kBad;
        return;
    }
    mBegin = mCurrent = data;
    mEnd = data + length;
    mStatus = kGood;
}

void PPDStream::SwallowLineFeed() {
    if (!AtEnd() && *mCurrent == '\n') ++mCurrent;
}

bool PPDStream::GetLine(char* buffer) {
    // Scans for the line end first and copies the line in one piece.
    const long left = AtEnd() ? 0 : static_cast<long>(mEnd - mCurrent);
    const long limit = left < kMaxLineLength ? left : kMaxLineLength;
    const char* start = mCurrent;
    long length = limit;
    if (limit > 0) {
        // The first LF, then the first CR before it: both searches run a word at a time.
        const void* lf = std::memchr(start, '\n', static_cast<size_t>(limit));
        if (lf != nullptr) length = static_cast<const char*>(lf) - start;
        const void* cr = std::memchr(start, '\r', static_cast<size_t>(length));
        if (cr != nullptr) length = static_cast<const char*>(cr) - start;
    }
    if (length > 0) std::memcpy(buffer, start, static_cast<size_t>(length));
    buffer[length] = '\0';
    if (length < limit) {
        mCurrent = start + length + 1;
        mStatus = kGood;
        if (start[length] == '\r') SwallowLineFeed();
        return true;
    }
    if (length > 0) mCurrent = start + length;
    // Cut at the longest line, or stopped by the end of data.
    mStatus = limit == kMaxLineLength ? kGood : kEndOfData;
    return false;
}

bool PPDStream::SkipLine() {
    char c;
    while (GetChar(c)) {
        if (c == '\n') return true;
        if (c == '\r') {
            SwallowLineFeed();
            return true;
        }
    }
    return false;
}
