// A buffered sink over a file descriptor (the filter's standard output). The first failed write
// is kept and everything after it is dropped.
#ifndef HALYX_FILTER_FDSINK_H
#define HALYX_FILTER_FDSINK_H

#include <string>

#include "filter/ByteSink.h"

class FdSink : public ByteSink {
public:
    explicit FdSink(int fd) : mFd(fd) {}
    ~FdSink() override { Flush(); }

    using ByteSink::Write;
    void Write(const char* bytes, size_t length) override;
    // Writes out what is buffered; false when any write so far has failed.
    bool Flush();
    // The errno of the first failed write, 0 while none has failed.
    int Error() const { return mError; }

private:
    static constexpr size_t kBufferSize = 64 * 1024;

    int mFd;
    int mError = 0;
    std::string mBuffer;
};

#endif  // HALYX_FILTER_FDSINK_H
