#include "Files/FileForks.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <string>

#include "Files/FileNodes.h"
#include "Files/FileStatus.h"
#include "testing/FailureInjection.h"

using namespace halyx::files;

namespace {

const FSIORefNum kLastRefNum = 32767;

struct OpenFork {
    int fd;
    bool canRead;
    bool canWrite;
};

struct ForkTable {
    std::map<FSIORefNum, OpenFork> forks;
    FSIORefNum last = 0;

    ~ForkTable() {
        for (auto& entry : forks) close(entry.second.fd);
    }
};

ForkTable& Forks() {
    static ForkTable table;
    return table;
}

// The next free number after the last one handed out; 0 when every number is taken.
FSIORefNum NextRefNum() {
    ForkTable& table = Forks();
    for (int tries = 0; tries < kLastRefNum; ++tries) {
        table.last = table.last >= kLastRefNum ? 1 : (FSIORefNum)(table.last + 1);
        if (table.forks.count(table.last) == 0) return table.last;
    }
    return 0;
}

OSErr FindFork(FSIORefNum refNum, OpenFork** fork) {
    if (refNum <= 0) return rfNumErr;
    auto found = Forks().forks.find(refNum);
    if (found == Forks().forks.end()) return fnOpnErr;
    *fork = &found->second;
    return noErr;
}

int OpenWithPermission(const std::string& path, SInt8 permission, bool* canRead, bool* canWrite) {
    int fd = -1;
    *canRead = true;
    *canWrite = true;
    switch (permission) {
        case fsRdPerm:
            *canWrite = false;
            return open(path.c_str(), O_RDONLY | O_CLOEXEC);
        case fsWrPerm:
            fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
            if (fd < 0 && (errno == EACCES || errno == EPERM)) {
                *canRead = false;
                fd = open(path.c_str(), O_WRONLY | O_CLOEXEC);
            }
            return fd;
        case fsRdWrPerm:
            return open(path.c_str(), O_RDWR | O_CLOEXEC);
        default:  // fsCurPerm
            fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
            if (fd < 0 && (errno == EACCES || errno == EPERM || errno == EROFS)) {
                *canWrite = false;
                fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
            }
            return fd;
    }
}

}  // namespace

OSErr FSpOpenDF(const FSSpec* spec, SInt8 permission, FSIORefNum* refNum) {
    if (refNum == nullptr) return paramErr;
    *refNum = 0;
    if (permission < fsCurPerm || permission > fsRdWrPerm) return paramErr;
    std::string path;
    OSErr err = PathOfSpec(spec, &path);
    if (err != noErr) return err;
    if (HalyxShouldFail(kHalyxFailFileOpen)) return ioErr;

    struct stat st;
    if (stat(path.c_str(), &st) != 0) return StatusFromErrno(errno);
    if (!S_ISREG(st.st_mode)) return fnfErr;
    FSIORefNum number = NextRefNum();
    if (number == 0) return tmfoErr;
    OpenFork fork;
    fork.fd = OpenWithPermission(path, permission, &fork.canRead, &fork.canWrite);
    if (fork.fd < 0) return StatusFromErrno(errno);
    Forks().forks.emplace(number, fork);
    *refNum = number;
    return noErr;
}

OSErr FSRead(FSIORefNum refNum, SInt32* count, void* buffer) {
    OpenFork* fork = nullptr;
    OSErr err = FindFork(refNum, &fork);
    if (err != noErr) return err;
    if (count == nullptr || *count < 0 || (buffer == nullptr && *count > 0)) return paramErr;
    SInt32 wanted = *count;
    *count = 0;
    if (!fork->canRead) return permErr;
    if (HalyxShouldFail(kHalyxFailFileRead)) return ioErr;
    char* out = (char*)buffer;
    while (*count < wanted) {
        ssize_t n = read(fork->fd, out + *count, (size_t)(wanted - *count));
        if (n < 0) {
            if (errno == EINTR) continue;
            return StatusFromErrno(errno);
        }
        if (n == 0) return eofErr;
        *count += (SInt32)n;
    }
    return noErr;
}

OSErr FSWrite(FSIORefNum refNum, SInt32* count, const void* buffer) {
    OpenFork* fork = nullptr;
    OSErr err = FindFork(refNum, &fork);
    if (err != noErr) return err;
    if (count == nullptr || *count < 0 || (buffer == nullptr && *count > 0)) return paramErr;
    SInt32 wanted = *count;
    *count = 0;
    if (!fork->canWrite) return wrPermErr;
    const char* in = (const char*)buffer;
    while (*count < wanted) {
        ssize_t n = write(fork->fd, in + *count, (size_t)(wanted - *count));
        if (n < 0) {
            if (errno == EINTR) continue;
            return StatusFromErrno(errno);
        }
        *count += (SInt32)n;
    }
    return noErr;
}

OSErr FSClose(FSIORefNum refNum) {
    OpenFork* fork = nullptr;
    OSErr err = FindFork(refNum, &fork);
    if (err != noErr) return err;
    int result = close(fork->fd);
    int closeErrno = errno;
    Forks().forks.erase(refNum);
    return result == 0 ? (OSErr)noErr : StatusFromErrno(closeErrno);
}

OSErr GetFPos(FSIORefNum refNum, SInt32* filePos) {
    OpenFork* fork = nullptr;
    OSErr err = FindFork(refNum, &fork);
    if (err != noErr) return err;
    if (filePos == nullptr) return paramErr;
    off_t mark = lseek(fork->fd, 0, SEEK_CUR);
    if (mark < 0) return StatusFromErrno(errno);
    *filePos = (SInt32)mark;
    return noErr;
}

OSErr SetFPos(FSIORefNum refNum, SInt16 posMode, SInt32 posOff) {
    OpenFork* fork = nullptr;
    OSErr err = FindFork(refNum, &fork);
    if (err != noErr) return err;
    struct stat st;
    if (fstat(fork->fd, &st) != 0) return StatusFromErrno(errno);
    off_t mark = lseek(fork->fd, 0, SEEK_CUR);
    if (mark < 0) return StatusFromErrno(errno);
    off_t target;
    switch (posMode) {
        case fsAtMark:
            return noErr;
        case fsFromStart:
            target = posOff;
            break;
        case fsFromLEOF:
            target = st.st_size + posOff;
            break;
        case fsFromMark:
            target = mark + posOff;
            break;
        default:
            return paramErr;
    }
    if (target < 0) return posErr;
    OSErr result = noErr;
    if (target > st.st_size) {
        target = st.st_size;
        result = eofErr;
    }
    if (lseek(fork->fd, target, SEEK_SET) < 0) return StatusFromErrno(errno);
    return result;
}

OSErr GetEOF(FSIORefNum refNum, SInt32* logEOF) {
    OpenFork* fork = nullptr;
    OSErr err = FindFork(refNum, &fork);
    if (err != noErr) return err;
    if (logEOF == nullptr) return paramErr;
    struct stat st;
    if (fstat(fork->fd, &st) != 0) return StatusFromErrno(errno);
    *logEOF = (SInt32)st.st_size;
    return noErr;
}

OSErr SetEOF(FSIORefNum refNum, SInt32 logEOF) {
    OpenFork* fork = nullptr;
    OSErr err = FindFork(refNum, &fork);
    if (err != noErr) return err;
    if (logEOF < 0) return paramErr;
    if (!fork->canWrite) return wrPermErr;
    if (ftruncate(fork->fd, logEOF) != 0) return StatusFromErrno(errno);
    off_t mark = lseek(fork->fd, 0, SEEK_CUR);
    if (mark > logEOF && lseek(fork->fd, logEOF, SEEK_SET) < 0) return StatusFromErrno(errno);
    return noErr;
}
