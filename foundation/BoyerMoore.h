// Finds a byte pattern of up to 255 bytes in a block of memory, skipping ahead with a bad-character
// table. The block is not owned. Matching is always byte-exact; the case setting is only stored and
// reported back.
#ifndef HALYX_FOUNDATION_BOYERMOORE_H
#define HALYX_FOUNDATION_BOYERMOORE_H

#include "Base/MacTypes.h"

class BoyerMoore {
public:
    // Longest pattern kept; longer ones are cut to this many bytes.
    static constexpr short kMaxPatternLength = 255;

    BoyerMoore();
    // Sets the pattern and the block (a null block counts as an empty one), searching from offset
    // 0.
    BoyerMoore(const char* pattern, short length, void* data, long dataLength);
    virtual ~BoyerMoore();

    // Copies `length` bytes of `pattern` (a null pattern or a negative length gives an empty one).
    virtual void SetSearchString(const char* pattern, short length);
    // Copies a length-prefixed pattern (the first byte is the length).
    virtual void SetSearchString(unsigned char* pattern);
    // Copies the pattern out as a NUL-terminated text; `out` holds at least length + 1 bytes.
    virtual void GetSearchString(char* out);
    // Sets the block to search and starts again at its offset 0.
    virtual void SetSearchData(void* data, long dataLength);

    // The offset, counted from the start offset, of the first occurrence of the whole pattern in
    // the block from the start offset on; -1 when there is none or the pattern is empty.
    virtual long Search();
    // Sets the pattern when it is non-null and the start offset, then searches.
    virtual long Search(long start, const char* pattern, short length);
    // Sets the start offset and, when it is non-null, the length-prefixed pattern, then searches.
    virtual long Search(long start, unsigned char* pattern);

    virtual void SetCaseSensitve(bool caseSensitive);
    virtual bool GetCaseSensitive();
    virtual short GetSearchStringLength();

protected:
    virtual void PrepareSearchData();
    virtual void CleanupSearchData();
    virtual void BuildSkipTable();

private:
    unsigned char mSkip[256];
    unsigned char mPattern[256];
    short mPatternLength;
    const unsigned char* mData;
    long mDataLength;
    long mStart;
    const unsigned char* mWork;
    bool mCaseSensitive;
};

#endif  // HALYX_FOUNDATION_BOYERMOORE_H
