// Test files for the stream and tokenizer tests: a file with given bytes under /tmp, removed when
// the object goes, and its file file record.
#ifndef HALYX_TESTS_PARSER_TEMPPPD_H
#define HALYX_TESTS_PARSER_TEMPPPD_H

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "Files/FileRecords.h"

class TempPPD {
public:
    explicit TempPPD(const std::string& bytes) {
        char name[] = "/tmp/halyx-ppd-XXXXXX";
        int fd = mkstemp(name);
        if (fd >= 0) {
            if (!bytes.empty()) {
                ssize_t written = write(fd, bytes.data(), bytes.size());
                (void)written;
            }
            close(fd);
        }
        mPath = name;
        mSpecStatus = HalyxFSSpecFromPath(mPath.c_str(), &mSpec);
    }
    ~TempPPD() { std::remove(mPath.c_str()); }
    TempPPD(const TempPPD&) = delete;
    TempPPD& operator=(const TempPPD&) = delete;

    const FSSpec& Spec() const { return mSpec; }
    bool Ok() const { return mSpecStatus == noErr; }
    const std::string& Path() const { return mPath; }

private:
    std::string mPath;
    FSSpec mSpec;
    OSErr mSpecStatus;
};

// The bytes of a fixture under tests/data/parser.
inline std::string ReadFixture(const std::string& name) {
    std::ifstream in(std::string(HALYX_TEST_DATA_DIR) + "/parser/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

#endif  // HALYX_TESTS_PARSER_TEMPPPD_H
