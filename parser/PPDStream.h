// A character cursor over memory it does not own: one line of a PPD, or a buffer of file data.
//
// Status: good (0), bad (1: no data was given) or end of data (2: a read found nothing left).
// Every keyword handler of the parser reads its line through one of these.
#ifndef HALYX_PARSER_PPDSTREAM_H
#define HALYX_PARSER_PPDSTREAM_H

#include "Base/MacTypes.h"

class PPDStream {
public:
    enum { kGood = 0, kBad = 1, kEndOfData = 2 };

    // Longest physical line delivered by GetLine; line buffers hold this plus the terminator.
    static constexpr int kMaxLineLength = 255;
    static constexpr int kLineBufferSize = kMaxLineLength + 1;

    // An empty stream: the first read reports end of data.
    PPDStream();
    // A stream over `length` bytes at `data`; see Setup.
    PPDStream(const char* data, long length);
    // Shares the other stream's memory and position.
    PPDStream(const PPDStream& other);
    PPDStream& operator=(const PPDStream& other);
    virtual ~PPDStream();

    // Reads the next physical line into `buffer` (at least kLineBufferSize bytes), NUL-terminated
    // and without its line end (LF, CR or CR LF). True only when the line ended with a line end; a
    // line cut after kMaxLineLength characters (the rest stays in the stream, see LineWasCut) or
    // ended by the end of data gives false with its characters in the buffer.
    virtual bool GetLine(char* buffer);

    // Points the stream at `length` bytes at `data`. A null pointer or a length below 1 makes the
    // stream bad and leaves its position as it was.
    void Setup(const char* data, long length);

    // Delivers the next byte and sets the status good; at the end sets `c` to 0xFF, the status to
    // end of data and returns false. Any byte value, 0xFF included, is ordinary data.
    bool GetChar(char& c) {
        if (AtEnd()) {
            c = static_cast<char>(0xFF);
            mStatus = kEndOfData;
            return false;
        }
        c = *mCurrent++;
        mStatus = kGood;
        return true;
    }
    // The next byte as a signed character, or -1 at the end (a byte 0xFF also reads as -1: use
    // AtEnd to tell them apart). The status is unchanged.
    int PeekChar() const { return AtEnd() ? -1 : static_cast<signed char>(*mCurrent); }
    // True when no byte is left.
    bool AtEnd() const { return mCurrent == nullptr || mCurrent >= mEnd; }
    // The unread bytes, [Cursor(), Limit()), for scanners that read many bytes at once; empty
    // when AtEnd.
    const char* Cursor() const { return mCurrent; }
    const char* Limit() const { return AtEnd() ? mCurrent : mEnd; }
    // Moves the cursor to `to`, a point in [Cursor(), Limit()], and sets the status that reading
    // up to there byte by byte leaves: end of data when the reader ran out of bytes
    // (`ranOut`), good otherwise.
    void Advance(const char* to, bool ranOut) {
        mCurrent = to;
        mStatus = ranOut ? kEndOfData : kGood;
    }
    // Advances over spaces and tabs.
    void SkipWhiteSpace() {
        while (!AtEnd() && (*mCurrent == ' ' || *mCurrent == '\t')) ++mCurrent;
    }
    // Consumes the rest of the current physical line through its line end; false when the data
    // ended first.
    virtual bool SkipLine();

    // True after GetLine returned false because the line was longer than kMaxLineLength, as
    // opposed to the end of data.
    bool LineWasCut() const { return mStatus == kGood; }

    SInt32 Status() const { return mStatus; }
    bool Good() const { return mStatus == kGood; }
    bool Bad() const { return mStatus == kBad; }
    bool EndOfFile() const { return mStatus == kEndOfData; }

protected:
    // Consumes an LF that directly follows a CR, so that CR LF counts as one line end.
    void SwallowLineFeed();

    const char* mBegin;
    const char* mEnd;
    const char* mCurrent;
    SInt32 mStatus;
};

#endif  // HALYX_PARSER_PPDSTREAM_H
