#include "Files/FileNodes.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "Files/FileStatus.h"

namespace halyx::files {

namespace {

// Ids below this are kept free, as the original catalog kept its low ids for itself.
const SInt32 kFirstNodeId = 16;
const UInt32 kRefMarker = HALYX_FOUR_CHAR('H', 'x', 'R', 'f');

struct NodeTable {
    std::unordered_map<std::string, SInt32> ids;
    std::unordered_map<SInt32, std::string> paths;
    SInt32 next = kFirstNodeId;
};

NodeTable& Table() {
    static NodeTable table;
    return table;
}

}  // namespace

bool NormalizePath(const std::string& path, std::string* normalized) {
    std::string full;
    if (path.empty() || path[0] != '/') {
        std::vector<char> cwd(4096);
        while (getcwd(cwd.data(), cwd.size()) == nullptr) {
            if (errno != ERANGE) return false;
            cwd.resize(cwd.size() * 2);
        }
        full = std::string(cwd.data()) + "/" + path;
    } else {
        full = path;
    }
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= full.size()) {
        size_t slash = full.find('/', start);
        if (slash == std::string::npos) slash = full.size();
        std::string part = full.substr(start, slash - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = slash + 1;
    }
    normalized->clear();
    for (const std::string& part : parts) *normalized += "/" + part;
    if (normalized->empty()) *normalized = "/";
    return true;
}

SInt32 InternPath(const std::string& normalized) {
    if (normalized == "/") return fsRtDirID;
    NodeTable& table = Table();
    auto found = table.ids.find(normalized);
    if (found != table.ids.end()) return found->second;
    SInt32 id = table.next++;
    table.ids.emplace(normalized, id);
    table.paths.emplace(id, normalized);
    return id;
}

bool PathOfId(SInt32 id, std::string* path) {
    if (id == fsRtDirID) {
        *path = "/";
        return true;
    }
    NodeTable& table = Table();
    auto found = table.paths.find(id);
    if (found == table.paths.end()) return false;
    *path = found->second;
    return true;
}

std::string ParentOf(const std::string& normalized) {
    size_t slash = normalized.rfind('/');
    if (slash == 0 || slash == std::string::npos) return "/";
    return normalized.substr(0, slash);
}

std::string LastComponentOf(const std::string& normalized) {
    if (normalized == "/") return "/";
    return normalized.substr(normalized.rfind('/') + 1);
}

std::string RecordNameOf(const std::string& normalized) {
    std::string name = LastComponentOf(normalized);
    if (name.size() <= kHalyxMaxFileName) return name;
    char tail[16];
    const int tailLength =
        std::snprintf(tail, sizeof tail, "#%X", (unsigned)InternPath(normalized));
    size_t keep = kHalyxMaxFileName - (size_t)tailLength;
    // The kept start ends on a whole UTF-8 character, so the record's name still reads as text.
    while (keep > 0 && ((unsigned char)name[keep] & 0xC0) == 0x80) --keep;
    return name.substr(0, keep) + tail;
}

bool LongNameOfRecordName(const std::string& directory, const std::string& name,
                          std::string* path) {
    const size_t hash = name.rfind('#');
    if (hash == std::string::npos || hash + 1 >= name.size() || name.size() - hash > 9) {
        return false;
    }
    SInt32 id = 0;
    for (size_t i = hash + 1; i < name.size(); ++i) {
        const char c = name[i];
        const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (digit < 0) return false;
        id = (SInt32)(((UInt32)id << 4) | (UInt32)digit);
    }
    std::string found;
    if (!PathOfId(id, &found) || ParentOf(found) != directory) return false;
    if (LastComponentOf(found).size() <= kHalyxMaxFileName || RecordNameOf(found) != name) {
        return false;
    }
    *path = found;
    return true;
}

OSErr SpecOfPath(const std::string& normalized, FSSpec* spec) {
    std::string parent = ParentOf(normalized);
    if (LastComponentOf(normalized).size() > kHalyxMaxComponent) return bdNamErr;
    std::string name = RecordNameOf(normalized);
    SInt32 parID = fsRtParID;
    if (normalized != "/") {
        struct stat st;
        if (stat(parent.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return dirNFErr;
        parID = InternPath(parent);
    }
    spec->vRefNum = kHalyxVolumeRefNum;
    spec->parID = parID;
    std::memset(spec->name, 0, sizeof spec->name);
    spec->name[0] = (unsigned char)name.size();
    std::memcpy(spec->name + 1, name.data(), name.size());
    struct stat st;
    if (stat(normalized.c_str(), &st) == 0) return noErr;
    return errno == ENOENT ? (OSErr)fnfErr : StatusFromErrno(errno);
}

OSErr PathOfSpec(const FSSpec* spec, std::string* path) {
    if (spec == nullptr) return paramErr;
    if (spec->vRefNum != kHalyxVolumeRefNum && spec->vRefNum != 0) return nsvErr;
    std::string name((const char*)spec->name + 1, spec->name[0]);
    if (spec->parID == fsRtParID) {
        if (name != "/") return dirNFErr;
        *path = "/";
        return noErr;
    }
    std::string directory;
    if (!PathOfId(spec->parID, &directory)) return dirNFErr;
    if (name.empty() || name.find_first_of(std::string("/\0", 2)) != std::string::npos ||
        name == "." || name == "..") {
        return bdNamErr;
    }
    if (LongNameOfRecordName(directory, name, path)) return noErr;
    *path = directory == "/" ? "/" + name : directory + "/" + name;
    return noErr;
}

void MakeRef(SInt32 id, FSRef* ref) {
    std::memset(ref->hidden, 0, sizeof ref->hidden);
    std::memcpy(ref->hidden, &kRefMarker, sizeof kRefMarker);
    std::memcpy(ref->hidden + sizeof kRefMarker, &id, sizeof id);
}

bool IdOfRef(const FSRef* ref, SInt32* id) {
    if (ref == nullptr) return false;
    UInt32 marker;
    std::memcpy(&marker, ref->hidden, sizeof marker);
    if (marker != kRefMarker) return false;
    std::memcpy(id, ref->hidden + sizeof marker, sizeof *id);
    std::string path;
    return PathOfId(*id, &path);
}

OSErr CopyPathOut(const std::string& text, char* buffer, UInt32 size) {
    if (buffer == nullptr || text.size() + 1 > size) return paramErr;
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return noErr;
}

}  // namespace halyx::files
