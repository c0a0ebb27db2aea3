#include "parser/PPDStream.h"

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

bool PPDStream::GetChar(char& c) {
    if (AtEnd()) {
        c = static_cast<char>(0xFF);
        mStatus = kEndOfData;
        return false;
    }
    c = *mCurrent++;
    mStatus = kGood;
    return true;
}

int PPDStream::PeekChar() const {
    if (AtEnd()) return -1;
    return static_cast<signed char>(*mCurrent);
}

void PPDStream::SkipWhiteSpace() {
    while (!AtEnd() && (*mCurrent == ' ' || *mCurrent == '\t')) ++mCurrent;
}

void PPDStream::SwallowLineFeed() {
    if (!AtEnd() && *mCurrent == '\n') ++mCurrent;
}

bool PPDStream::GetLine(char* buffer) {
    int stored = 0;
    bool ended = false;
    char c;
    while (stored < kMaxLineLength) {
        if (!GetChar(c)) break;
        if (c == '\n') {
            ended = true;
            break;
        }
        if (c == '\r') {
            SwallowLineFeed();
            ended = true;
            break;
        }
        buffer[stored++] = c;
    }
    buffer[stored] = '\0';
    return ended;
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
