// A DataStream whose bytes live in a platform data object.
//
// Made empty, it is an output stream: a settings store is saved into it and the ticket code then
// stores data() in the print settings. Made from a data object, it is an input stream over a copy
// of those bytes, from which a store is read. One stream is used for one direction only.
#ifndef HALYX_SETTINGS_CFDATASTREAM_H
#define HALYX_SETTINGS_CFDATASTREAM_H

#include "CoreFoundation/CFData.h"
#include "settings/DataStream.h"

class CFDataStream : public DataStream {
public:
    // An empty output stream; invalid with error memFullErr when no data object could be made.
    CFDataStream();
    // An input stream over a copy of `data`; null or empty data leaves it invalid with size 0.
    explicit CFDataStream(CFDataRef data);
    ~CFDataStream() override;

    // Appends the bytes; false without a data object or for a negative count.
    bool out(const void* bytes, SInt32 count) override;
    // Copies `count` bytes from the read position. Asked for more than remains, it copies what is
    // there, reports that short count with eofErr (-39) and returns false; it never reads past the
    // data. False with eofErr and nothing read when the stream has no data object.
    bool in(void* buffer, SInt32 count, SInt32* read, OSErr* error) override;

    // The bytes held, owned by the stream (null when invalid).
    CFDataRef data() const { return mData; }

private:
    CFMutableDataRef mData;
};

#endif  // HALYX_SETTINGS_CFDATASTREAM_H
