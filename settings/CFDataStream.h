// A DataStream whose bytes live in a platform data object.
//
// Made empty, it is an output stream: a settings store is saved into it and the ticket code then
// stores data() in the print settings. Made from a data object, it is an input stream that reads
// those bytes in place (a snapshot runs to megabytes), from which a store is read: the caller does
// not change a mutable data object while the stream reads it. One stream is used for one
// direction only.
#ifndef HALYX_SETTINGS_CFDATASTREAM_H
#define HALYX_SETTINGS_CFDATASTREAM_H

#include "CoreFoundation/CFData.h"
#include "settings/DataStream.h"

class CFDataStream : public DataStream {
public:
    // An empty output stream; invalid with error memFullErr when no data object could be made.
    CFDataStream();
    // An input stream over `data`, which it retains; null or empty data leaves it invalid with
    // size 0.
    explicit CFDataStream(CFDataRef data);
    ~CFDataStream() override;

    // Appends the bytes; false for an input stream, without a data object or for a negative
    // count.
    bool out(const void* bytes, SInt32 count) override;
    // Room at the end of an output stream's data, valid until the next out or reserve.
    void* reserve(SInt32 count) override;
    // Copies `count` bytes from the read position. Asked for more than remains, it copies what is
    // there, reports that short count with eofErr (-39) and returns false; it never reads past the
    // data. False with eofErr and nothing read when the stream has no data object.
    bool in(void* buffer, SInt32 count, SInt32* read, OSErr* error) override;
    const void* peek(SInt32 count) const override;

    // The bytes held, owned by the stream (null when invalid).
    CFDataRef data() const { return mData != nullptr ? mData : mSource; }

private:
    CFMutableDataRef mData;  // an output stream's bytes
    CFDataRef mSource;       // an input stream's bytes
};

#endif  // HALYX_SETTINGS_CFDATASTREAM_H
