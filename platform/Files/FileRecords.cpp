#include "Files/FileRecords.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "Files/FileNodes.h"
#include "Files/FileStatus.h"

using namespace halyx::files;

namespace {

// The path of an existing object named by a reference; fnfErr once it is gone.
OSErr ExistingPathOfRef(const FSRef* ref, std::string* path, struct stat* st) {
    SInt32 id;
    if (!IdOfRef(ref, &id)) return paramErr;
    PathOfId(id, path);
    if (stat(path->c_str(), st) != 0) return StatusFromErrno(errno);
    return noErr;
}

// Decodes the host's UTF-8 name into UTF-16; a byte that starts no valid sequence stands for the
// character of the same number, so every name yields some text.
void NameToUniStr(const std::string& name, HFSUniStr255* out) {
    UInt16 n = 0;
    size_t i = 0;
    while (i < name.size() && n < 255) {
        unsigned char c = (unsigned char)name[i];
        UInt32 code = c;
        size_t length = 1;
        if (c >= 0xC0 && c < 0xF8) {
            length = c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
            code = c & (0x3F >> (length - 1));
            for (size_t k = 1; k < length; ++k) {
                unsigned char next = i + k < name.size() ? (unsigned char)name[i + k] : 0;
                if ((next & 0xC0) != 0x80) {
                    length = 1;
                    code = c;
                    break;
                }
                code = (code << 6) | (next & 0x3F);
            }
        }
        if (code >= 0x10000) {
            if (n + 2 > 255) break;
            code -= 0x10000;
            out->unicode[n++] = (UniChar)(0xD800 | (code >> 10));
            out->unicode[n++] = (UniChar)(0xDC00 | (code & 0x3FF));
        } else {
            out->unicode[n++] = (UniChar)code;
        }
        i += length;
    }
    out->length = n;
}

}  // namespace

OSErr FSMakeFSSpec(SInt16 vRefNum, SInt32 dirID, ConstStr255Param fileName, FSSpec* spec) {
    if (spec == nullptr) return paramErr;
    if (vRefNum != kHalyxVolumeRefNum && vRefNum != 0) return nsvErr;
    std::string name;
    if (fileName != nullptr) name.assign((const char*)fileName + 1, fileName[0]);
    if (name.find('\0') != std::string::npos) return bdNamErr;
    std::string base;
    if (dirID == 0) {
        base = ".";
    } else if (dirID == fsRtParID) {
        base = "/";
        if (name.empty()) return dirNFErr;
    } else if (!PathOfId(dirID, &base)) {
        return dirNFErr;
    }
    std::string target = name.empty() ? base : (name[0] == '/' ? name : base + "/" + name);
    std::string normalized;
    if (!NormalizePath(target, &normalized)) return ioErr;
    std::string longPath;
    if (!name.empty() && name.find('/') == std::string::npos &&
        LongNameOfRecordName(ParentOf(normalized), name, &longPath)) {
        normalized = longPath;
    }
    return SpecOfPath(normalized, spec);
}

OSErr HalyxFSSpecFromPath(const char* path, FSSpec* spec) {
    if (path == nullptr || spec == nullptr || *path == '\0') return paramErr;
    std::string normalized;
    if (!NormalizePath(path, &normalized)) return ioErr;
    return SpecOfPath(normalized, spec);
}

OSErr HalyxPathFromFSSpec(const FSSpec* spec, char* path, UInt32 maxPathSize) {
    std::string text;
    OSErr err = PathOfSpec(spec, &text);
    if (err != noErr) return err;
    return CopyPathOut(text, path, maxPathSize);
}

OSErr FSpMakeFSRef(const FSSpec* spec, FSRef* ref) {
    if (ref == nullptr) return paramErr;
    std::string path;
    OSErr err = PathOfSpec(spec, &path);
    if (err != noErr) return err;
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return StatusFromErrno(errno);
    MakeRef(InternPath(path), ref);
    return noErr;
}

OSErr FSPathMakeRef(const UInt8* path, FSRef* ref, Boolean* isDirectory) {
    if (path == nullptr || ref == nullptr || *path == '\0') return paramErr;
    std::string normalized;
    if (!NormalizePath((const char*)path, &normalized)) return ioErr;
    struct stat st;
    if (stat(normalized.c_str(), &st) != 0) return StatusFromErrno(errno);
    MakeRef(InternPath(normalized), ref);
    if (isDirectory != nullptr) *isDirectory = S_ISDIR(st.st_mode) ? 1 : 0;
    return noErr;
}

OSErr FSRefMakePath(const FSRef* ref, UInt8* path, UInt32 maxPathSize) {
    std::string text;
    struct stat st;
    OSErr err = ExistingPathOfRef(ref, &text, &st);
    if (err != noErr) return err;
    return CopyPathOut(text, (char*)path, maxPathSize);
}

OSErr FSGetCatalogInfo(const FSRef* ref, FSCatalogInfoBitmap /*whichInfo*/,
                       FSCatalogInfo* catalogInfo, HFSUniStr255* outName, FSSpec* fsSpec,
                       FSRef* parentRef) {
    std::string path;
    struct stat st;
    OSErr err = ExistingPathOfRef(ref, &path, &st);
    if (err != noErr) return err;
    bool isRoot = path == "/";
    SInt32 parentId = isRoot ? (SInt32)fsRtParID : InternPath(ParentOf(path));
    if (catalogInfo != nullptr) {
        std::memset(catalogInfo, 0, sizeof *catalogInfo);
        catalogInfo->nodeFlags = S_ISDIR(st.st_mode) ? kFSNodeIsDirectoryMask : 0;
        catalogInfo->volume = kHalyxVolumeRefNum;
        catalogInfo->parentDirID = (UInt32)parentId;
        catalogInfo->nodeID = (UInt32)InternPath(path);
        if (!S_ISDIR(st.st_mode)) {
            catalogInfo->dataLogicalSize = (UInt64)st.st_size;
            catalogInfo->dataPhysicalSize = (UInt64)st.st_blocks * 512;
        }
    }
    if (outName != nullptr) NameToUniStr(LastComponentOf(path), outName);
    if (fsSpec != nullptr) {
        err = SpecOfPath(path, fsSpec);
        if (err != noErr) return err;
    }
    if (parentRef != nullptr) {
        if (isRoot) {
            std::memset(parentRef, 0, sizeof *parentRef);
        } else {
            MakeRef(parentId, parentRef);
        }
    }
    return noErr;
}
