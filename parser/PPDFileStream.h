// A PPDStream over a memory buffer that it fills from a PPDFile.
//
// Whole-file mode reads the file into one buffer of its size. When that much memory cannot be had
// (temporary pool first, application heap second), the size is halved until a buffer is found or
// the size falls below kSmallestWholeBuffer, and the stream reads in chunks of that size. Chunked
// mode reads kChunkSize bytes at a time. A line cut by the end of a chunk is joined with its rest
// from the next chunk, so the caller's buffer must hold kJoinedLineBufferSize bytes.
//
// A null file, a failed open or a read error make the stream bad. When no buffer can be had at all
// the stream stays good but empty: reading reports the end of data at once. The file is not owned
// and its fork is not closed by the stream.
#ifndef HALYX_PARSER_PPDFILESTREAM_H
#define HALYX_PARSER_PPDFILESTREAM_H

#include "Base/MacTypes.h"
#include "parser/PPDStream.h"

class PPDFile;

class PPDFileStream : public PPDStream {
public:
    static constexpr long kChunkSize = 10000;
    static constexpr long kSmallestWholeBuffer = 257;
    // A line joined across a refill: two pieces of at most kMaxLineLength characters each.
    static constexpr int kMaxJoinedLineLength = 2 * kMaxLineLength;
    static constexpr int kJoinedLineBufferSize = kMaxJoinedLineLength + 1;

    PPDFileStream(PPDFile* file, bool chunked);
    virtual ~PPDFileStream();

    // Fills the buffer from the file's current position.
    void Setup();

    // As PPDStream::GetLine; in chunked mode a line cut by the end of the buffer is completed from
    // the next chunk. `buffer` holds kJoinedLineBufferSize bytes.
    virtual bool GetLine(char* buffer) override;
    // Reads the rest of a line from the refilled buffer and appends it to `buffer`.
    bool FixLine(char* buffer);
    // Consumes the rest of the current physical line, refilling in chunked mode.
    virtual bool SkipLine() override;

    bool Chunked() const { return mChunked; }
    // True when the buffer came from the temporary pool.
    bool Temporary() const { return mTemporary; }
    // The buffer's size, 0 without one.
    long BufferSize() const;

private:
    PPDFileStream(const PPDFileStream&) = delete;
    PPDFileStream& operator=(const PPDFileStream&) = delete;

    // A block of `size` bytes from the temporary pool, else from the application heap.
    bool Allocate(long size);

    Handle mBuffer;
    bool mTemporary;
    bool mChunked;
    PPDFile* mFile;
};

#endif  // HALYX_PARSER_PPDFILESTREAM_H
