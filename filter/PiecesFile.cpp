#include "filter/PiecesFile.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "filter/PiecesList.h"

namespace {

const char kPrefix[] = "/tmp/Halyx.temp";
constexpr size_t kMaxDigits = 5;

bool Refuse(std::string* why, const std::string& reason) {
    *why = reason;
    return false;
}

// Reads the whole file of `size` bytes (as fstat saw it), asking for one byte more so that a file
// that grew since is caught.
bool ReadAll(int fd, size_t size, std::vector<char>* bytes, std::string* why) {
    bytes->resize(size + 1);
    size_t filled = 0;
    while (filled < bytes->size()) {
        ssize_t n = read(fd, bytes->data() + filled, bytes->size() - filled);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return Refuse(why, std::string("it cannot be read: ") + strerror(errno));
        if (n == 0) break;
        filled += static_cast<size_t>(n);
    }
    if (filled > size) return Refuse(why, "it changed while it was read");
    bytes->resize(filled);
    return true;
}

}  // namespace

bool PiecesFile::IsAcceptedPath(const char* path) {
    size_t prefix = sizeof kPrefix - 1;
    if (path == nullptr || std::strncmp(path, kPrefix, prefix) != 0) return false;
    size_t digits = std::strlen(path + prefix);
    if (digits == 0 || digits > kMaxDigits) return false;
    return std::strspn(path + prefix, "0123456789") == digits;
}

bool PiecesFile::Read(const char* path, uid_t owner, JobPieces* pieces, std::string* why) {
    *pieces = JobPieces();
    if (!IsAcceptedPath(path)) return Refuse(why, "its name is not /tmp/Halyx.temp and a number");
    int fd = open(path, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ELOOP) return Refuse(why, "it is a symbolic link");
        return Refuse(why, std::string("it cannot be opened: ") + strerror(errno));
    }
    struct stat info;
    bool ok = true;
    if (fstat(fd, &info) != 0)
        ok = Refuse(why, std::string("it cannot be examined: ") + strerror(errno));
    else if (!S_ISREG(info.st_mode))
        ok = Refuse(why, "it is not a regular file");
    else if (info.st_nlink != 1)
        ok = Refuse(why, "it has more than one link");
    else if (info.st_uid != owner)
        ok = Refuse(why, "it does not belong to the job's user");
    else if (static_cast<unsigned long long>(info.st_size) > kMaxPiecesFileSize)
        ok = Refuse(why, "it is too large");
    std::vector<char> bytes;
    if (ok) ok = ReadAll(fd, static_cast<size_t>(info.st_size), &bytes, why);
    close(fd);
    if (!ok) return false;
    std::string shape;
    if (!ParsePiecesList(bytes.data(), bytes.size(), pieces, &shape)) return Refuse(why, shape);
    return true;
}
