#include "settings/DataStream.h"

DataStream::DataStream() : mSize(0), mPosition(0), mValid(false), mError(noErr) {}

DataStream::~DataStream() {}

bool DataStream::dataExists() const {
    return mSize != 0;
}

bool DataStream::valid() const {
    return mValid;
}

SInt32 DataStream::dataSize() const {
    return mSize;
}

const void* DataStream::peek(SInt32) const {
    return nullptr;
}

bool DataStream::skip(SInt32 count) {
    if (count < 0 || count > mSize - mPosition) return false;
    mPosition += count;
    return true;
}

void* DataStream::reserve(SInt32) {
    return nullptr;
}
