#include "filter/FdSink.h"

#include <errno.h>
#include <unistd.h>

void FdSink::Write(const char* bytes, size_t length) {
    if (mError != 0) return;
    mBuffer.append(bytes, length);
    if (mBuffer.size() >= kBufferSize) Flush();
}

bool FdSink::Flush() {
    size_t done = 0;
    while (mError == 0 && done < mBuffer.size()) {
        ssize_t n = write(mFd, mBuffer.data() + done, mBuffer.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0)
            mError = errno;
        else
            done += static_cast<size_t>(n);
    }
    mBuffer.clear();
    return mError == 0;
}
