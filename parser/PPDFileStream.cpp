#include "parser/PPDFileStream.h"

#include <cstring>

#include "Files/FileForks.h"
#include "Memory/MacMemory.h"
#include "parser/PPDFile.h"
#include "testing/FailureInjection.h"

namespace {

// The chunk buffer of the last stream a thread closed, kept for its next parse: a model is read
// in one go, and a fresh block of chunk size per file costs more than the reading of a small
// file. It goes back to the pool when the thread ends.
class SpareChunk {
public:
    ~SpareChunk() {
        if (mBuffer != nullptr) DisposeHandle(mBuffer);
        mBuffer = nullptr;
        mEnded = true;  // a stream closed later, as the thread ends, disposes of its own buffer
    }
    bool Holds() const { return mBuffer != nullptr; }
    Handle Take() {
        Handle buffer = mBuffer;
        mBuffer = nullptr;
        return buffer;
    }
    // Keeps `buffer` when nothing is kept yet; false when the caller must dispose of it.
    bool Keep(Handle buffer) {
        if (mBuffer != nullptr || mEnded) return false;
        mBuffer = buffer;
        return true;
    }

private:
    Handle mBuffer = nullptr;
    bool mEnded = false;
};

thread_local SpareChunk tSpareChunk;

}  // namespace

PPDFileStream::PPDFileStream(PPDFile* file, bool chunked)
    : mBuffer(nullptr), mTemporary(true), mChunked(false), mFile(file) {
    if (file == nullptr) {
        mStatus = kBad;
        return;
    }
    if (chunked) {
        mChunked = true;
        Allocate(kChunkSize);
    } else {
        long size = static_cast<long>(file->dataForkSize());
        if (size > 0 && !Allocate(size)) {
            mChunked = true;
            for (size /= 2; size >= kSmallestWholeBuffer; size /= 2)
                if (Allocate(size)) break;
        }
    }
    Setup();
}

PPDFileStream::~PPDFileStream() {
    if (mBuffer == nullptr) return;
    if (mTemporary && mChunked && BufferSize() == kChunkSize && tSpareChunk.Keep(mBuffer)) return;
    DisposeHandle(mBuffer);
}

bool PPDFileStream::Allocate(long size) {
    if (size == kChunkSize && tSpareChunk.Holds()) {
        // The kept buffer came from the temporary pool and stands for a new block from there, to
        // a test that makes allocations fail too; the application heap comes next as ever.
        mTemporary = !HalyxShouldFail(kHalyxFailAllocation);
        mBuffer = mTemporary ? tSpareChunk.Take() : NewHandle(size);
        return mBuffer != nullptr;
    }
    OSErr status = noErr;
    mBuffer = TempNewHandle(size, &status);
    mTemporary = mBuffer != nullptr;
    if (mBuffer == nullptr) mBuffer = NewHandle(size);
    return mBuffer != nullptr;
}

long PPDFileStream::BufferSize() const {
    return mBuffer != nullptr ? static_cast<long>(GetHandleSize(mBuffer)) : 0;
}

void PPDFileStream::Setup() {
    if (mBuffer == nullptr || mFile == nullptr) return;
    long count = BufferSize();
    if (!mFile->dataForkOpen() && mFile->openDataFork(fsRdPerm) != noErr) {
        mStatus = kBad;
        return;
    }
    OSErr status = mFile->dataForkRead(*mBuffer, count);
    if (status != noErr && status != eofErr) {
        mStatus = kBad;
        return;
    }
    PPDStream::Setup(*mBuffer, count);
}

bool PPDFileStream::GetLine(char* buffer) {
    if (PPDStream::GetLine(buffer)) return true;
    if (!mChunked || !EndOfFile()) return false;
    // The end of the buffer cut the line: the rest comes with the next chunk.
    Setup();
    return FixLine(buffer);
}

bool PPDFileStream::FixLine(char* buffer) {
    char rest[kLineBufferSize];
    bool ended = PPDStream::GetLine(rest);
    // A rest that was cut is still appended, so that whoever reports the long line can name its
    // keyword even when the line began at the very end of the previous chunk.
    if (!ended && !LineWasCut()) return false;
    size_t length = std::strlen(buffer);
    std::memcpy(buffer + length, rest, std::strlen(rest) + 1);
    return ended;
}

bool PPDFileStream::SkipLine() {
    while (!PPDStream::SkipLine()) {
        if (!mChunked) return false;
        Setup();
        if (!Good()) return false;
    }
    return true;
}
