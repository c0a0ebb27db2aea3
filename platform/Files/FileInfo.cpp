#include "Files/FileInfo.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "Files/FileNodes.h"
#include "Files/FileStatus.h"

using namespace halyx::files;

namespace {

const char kCodesAttribute[] = "user.halyx.FinderInfo";
// Seconds from 1904-01-01 to 1970-01-01, both UTC.
const UInt32 kEpochOffset = 2082844800u;

struct FileCodes {
    OSType type = 0;
    OSType creator = 0;
};

// Codes of files on host file systems without extended attributes, for the life of the process.
std::unordered_map<std::string, FileCodes>& CodesWithoutAttributes() {
    static std::unordered_map<std::string, FileCodes> codes;
    return codes;
}

void PutBigEndian(UInt32 value, unsigned char* out) {
    for (int i = 0; i < 4; ++i) out[i] = (unsigned char)(value >> (24 - 8 * i));
}

UInt32 GetBigEndian(const unsigned char* in) {
    return ((UInt32)in[0] << 24) | ((UInt32)in[1] << 16) | ((UInt32)in[2] << 8) | in[3];
}

void StoreCodes(const std::string& path, const FileCodes& codes) {
    unsigned char bytes[8];
    PutBigEndian(codes.type, bytes);
    PutBigEndian(codes.creator, bytes + 4);
    if (setxattr(path.c_str(), kCodesAttribute, bytes, sizeof bytes, 0) == 0) {
        CodesWithoutAttributes().erase(path);
    } else {
        CodesWithoutAttributes()[path] = codes;
    }
}

FileCodes LoadCodes(const std::string& path) {
    FileCodes codes;
    unsigned char bytes[8];
    if (getxattr(path.c_str(), kCodesAttribute, bytes, sizeof bytes) == (ssize_t)sizeof bytes) {
        codes.type = GetBigEndian(bytes);
        codes.creator = GetBigEndian(bytes + 4);
        return codes;
    }
    auto found = CodesWithoutAttributes().find(path);
    if (found != CodesWithoutAttributes().end()) codes = found->second;
    return codes;
}

OSErr CreateAt(const std::string& path, OSType creator, OSType fileType) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return StatusFromErrno(errno);
    close(fd);
    FileCodes codes;
    codes.type = fileType;
    codes.creator = creator;
    StoreCodes(path, codes);
    return noErr;
}

// The regular files of `directory` sorted by name.
std::vector<std::string> FilesIn(const std::string& directory) {
    std::vector<std::string> names;
    DIR* dir = opendir(directory.c_str());
    if (dir == nullptr) return names;
    while (struct dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        std::string path = directory == "/" ? "/" + name : directory + "/" + name;
        struct stat st;
        if (stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) names.push_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

// The path PBHGetFInfoSync describes: by name, or the n-th file of the directory.
OSErr TargetOfBlock(HFileParam* pb, std::string* path) {
    if (pb->ioFDirIndex <= 0) {
        FSSpec spec;
        OSErr err = FSMakeFSSpec(pb->ioVRefNum, pb->ioDirID, pb->ioNamePtr, &spec);
        if (err != noErr) return err;
        return PathOfSpec(&spec, path);
    }
    FSSpec directorySpec;
    OSErr err = FSMakeFSSpec(pb->ioVRefNum, pb->ioDirID, nullptr, &directorySpec);
    if (err != noErr) return err == fnfErr ? (OSErr)dirNFErr : err;
    std::string directory;
    err = PathOfSpec(&directorySpec, &directory);
    if (err != noErr) return err;
    std::vector<std::string> names = FilesIn(directory);
    if ((size_t)pb->ioFDirIndex > names.size()) return fnfErr;
    const std::string& name = names[(size_t)pb->ioFDirIndex - 1];
    *path = directory == "/" ? "/" + name : directory + "/" + name;
    if (pb->ioNamePtr != nullptr) {
        // A long name is given as the stand-in its record holds.
        const std::string recordName = RecordNameOf(*path);
        pb->ioNamePtr[0] = (unsigned char)recordName.size();
        std::memcpy(pb->ioNamePtr + 1, recordName.data(), recordName.size());
    }
    return noErr;
}

OSErr DescribeFile(HFileParam* pb) {
    std::string path;
    OSErr err = TargetOfBlock(pb, &path);
    if (err != noErr) return err;
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return StatusFromErrno(errno);
    if (!S_ISREG(st.st_mode)) return fnfErr;
    FileCodes codes = LoadCodes(path);
    std::memset(&pb->ioFlFndrInfo, 0, sizeof pb->ioFlFndrInfo);
    pb->ioFlFndrInfo.fdType = codes.type;
    pb->ioFlFndrInfo.fdCreator = codes.creator;
    pb->ioFlAttrib = access(path.c_str(), W_OK) == 0 ? 0 : kioFlAttribLockedMask;
    pb->ioFlLgLen = (SInt32)st.st_size;
    pb->ioFlPyLen = (SInt32)(st.st_blocks * 512);
    pb->ioFlRLgLen = 0;
    pb->ioFlRPyLen = 0;
    pb->ioFlCrDat = (UInt32)st.st_ctime + kEpochOffset;
    pb->ioFlMdDat = (UInt32)st.st_mtime + kEpochOffset;
    return noErr;
}

}  // namespace

OSErr HCreate(SInt16 vRefNum, SInt32 dirID, ConstStr255Param fileName, OSType creator,
              OSType fileType) {
    if (fileName == nullptr || fileName[0] == 0) return bdNamErr;
    FSSpec spec;
    OSErr err = FSMakeFSSpec(vRefNum, dirID, fileName, &spec);
    if (err == noErr) return dupFNErr;
    if (err != fnfErr) return err;
    return FSpCreate(&spec, creator, fileType, 0);
}

OSErr FSpCreate(const FSSpec* spec, OSType creator, OSType fileType, ScriptCode /*scriptTag*/) {
    std::string path;
    OSErr err = PathOfSpec(spec, &path);
    if (err != noErr) return err;
    return CreateAt(path, creator, fileType);
}

OSErr FSpDelete(const FSSpec* spec) {
    std::string path;
    OSErr err = PathOfSpec(spec, &path);
    if (err != noErr) return err;
    struct stat st;
    if (lstat(path.c_str(), &st) != 0) return StatusFromErrno(errno);
    int result = S_ISDIR(st.st_mode) ? rmdir(path.c_str()) : unlink(path.c_str());
    if (result != 0) return errno == EEXIST ? (OSErr)fBsyErr : StatusFromErrno(errno);
    CodesWithoutAttributes().erase(path);
    return noErr;
}

OSErr FSpGetFInfo(const FSSpec* spec, FInfo* fndrInfo) {
    if (fndrInfo == nullptr) return paramErr;
    std::string path;
    OSErr err = PathOfSpec(spec, &path);
    if (err != noErr) return err;
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return StatusFromErrno(errno);
    if (!S_ISREG(st.st_mode)) return fnfErr;
    FileCodes codes = LoadCodes(path);
    std::memset(fndrInfo, 0, sizeof *fndrInfo);
    fndrInfo->fdType = codes.type;
    fndrInfo->fdCreator = codes.creator;
    return noErr;
}

OSErr PBHGetFInfoSync(HParmBlkPtr paramBlock) {
    if (paramBlock == nullptr) return paramErr;
    HFileParam* pb = &paramBlock->fileParam;
    pb->ioResult = DescribeFile(pb);
    return pb->ioResult;
}
