#include "foundation/BoyerMoore.h"

#include <cstring>

BoyerMoore::BoyerMoore()
    : mPatternLength(0),
      mData(nullptr),
      mDataLength(0),
      mStart(0),
      mWork(nullptr),
      mCaseSensitive(true) {
    std::memset(mPattern, 0, sizeof mPattern);
    BuildSkipTable();
}

BoyerMoore::BoyerMoore(const char* pattern, short length, void* data, long dataLength)
    : BoyerMoore() {
    SetSearchString(pattern, length);
    SetSearchData(data, dataLength);
}

BoyerMoore::~BoyerMoore() {}

void BoyerMoore::SetSearchString(const char* pattern, short length) {
    if (pattern == nullptr || length < 0) length = 0;
    if (length > kMaxPatternLength) length = kMaxPatternLength;
    if (length > 0) std::memmove(mPattern, pattern, static_cast<size_t>(length));
    mPatternLength = length;
    BuildSkipTable();
}

void BoyerMoore::SetSearchString(unsigned char* pattern) {
    if (pattern == nullptr) {
        SetSearchString(nullptr, 0);
        return;
    }
    SetSearchString(reinterpret_cast<const char*>(pattern + 1), static_cast<short>(pattern[0]));
}

void BoyerMoore::GetSearchString(char* out) {
    if (out == nullptr) return;
    std::memcpy(out, mPattern, static_cast<size_t>(mPatternLength));
    out[mPatternLength] = '\0';
}

void BoyerMoore::SetSearchData(void* data, long dataLength) {
    if (data == nullptr || dataLength < 0) {
        mData = nullptr;
        mDataLength = 0;
    } else {
        mData = static_cast<const unsigned char*>(data);
        mDataLength = dataLength;
    }
    mStart = 0;
}

void BoyerMoore::BuildSkipTable() {
    std::memset(mSkip, static_cast<unsigned char>(mPatternLength), sizeof mSkip);
    // A later occurrence of a byte overrides an earlier one; the last byte gets 0.
    for (short i = 0; i < mPatternLength; ++i)
        mSkip[mPattern[i]] = static_cast<unsigned char>(mPatternLength - 1 - i);
}

void BoyerMoore::PrepareSearchData() {
    mWork = mData != nullptr ? mData + mStart : nullptr;
}

void BoyerMoore::CleanupSearchData() {}

long BoyerMoore::Search() {
    long result = -1;
    long limit = mDataLength - mStart;
    if (mPatternLength > 0 && mData != nullptr && mStart >= 0 && limit >= mPatternLength) {
        PrepareSearchData();
        const long length = mPatternLength;
        long t = length - 1;
        long j = length - 1;
        while (true) {
            if (mPattern[j] == mWork[t]) {
                if (j == 0) {
                    result = t;
                    break;
                }
                --j;
                --t;
                continue;
            }
            long skip = mSkip[mWork[t]];
            t += skip > length - j ? skip : length - j;
            j = length - 1;
            if (t >= limit) break;
        }
    }
    CleanupSearchData();
    return result;
}

long BoyerMoore::Search(long start, const char* pattern, short length) {
    if (pattern != nullptr) SetSearchString(pattern, length);
    mStart = start;
    return Search();
}

long BoyerMoore::Search(long start, unsigned char* pattern) {
    mStart = start;
    if (pattern != nullptr) SetSearchString(pattern);
    return Search();
}

void BoyerMoore::SetCaseSensitve(bool caseSensitive) {
    mCaseSensitive = caseSensitive;
}

bool BoyerMoore::GetCaseSensitive() {
    return mCaseSensitive;
}

short BoyerMoore::GetSearchStringLength() {
    return mPatternLength;
}
