// The byte stream through which a settings store is written out and read back in flattened form.
//
// A stream holds `size` bytes and reads from `position` onwards. Writers append with `out`;
// readers take bytes with `in`, which reports how many it copied and a status.
#ifndef HALYX_SETTINGS_DATASTREAM_H
#define HALYX_SETTINGS_DATASTREAM_H

#include "Base/MacTypes.h"

class DataStream {
public:
    DataStream();
    virtual ~DataStream();

    // Appends `count` bytes; true when they were taken.
    virtual bool out(const void* bytes, SInt32 count) = 0;
    // Appends `count` bytes for the caller to fill and gives where they start, so that a writer
    // can build its bytes in place; null when the stream keeps no bytes in memory or has no room
    // (the writer then uses `out`).
    virtual void* reserve(SInt32 count);
    // Copies up to `count` bytes from the read position into `buffer` and advances it; *read gets
    // the number copied and *error the status. True only when all `count` bytes were copied.
    virtual bool in(void* buffer, SInt32 count, SInt32* read, OSErr* error) = 0;
    // The next `count` bytes in place, without advancing, when the stream holds them in memory;
    // null otherwise (the reader then copies them with `in`).
    virtual const void* peek(SInt32 count) const;
    // Advances the read position past `count` bytes that peek gave; false when fewer remain.
    bool skip(SInt32 count);

    virtual bool dataExists() const;  // the stream holds at least one byte
    virtual bool valid() const;
    virtual SInt32 dataSize() const;

protected:
    SInt32 mSize;      // bytes held
    SInt32 mPosition;  // where the next `in` starts
    bool mValid;
    OSErr mError;

private:
    DataStream(const DataStream&) = delete;
    DataStream& operator=(const DataStream&) = delete;
};

#endif  // HALYX_SETTINGS_DATASTREAM_H
