#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Files/FileForks.h"
#include "Resources/ResourceMap.h"
#include "Resources/ResourceStatus.h"
#include "Resources/Resources.h"

using halyx::resources::ResourceMap;

namespace {

struct ResourceFile {
    ResFileRefNum refNum;
    std::string path;
    ResourceMap map;
};

// Open files oldest first. The data forks behind them are closed by the file service at exit.
struct ResourceChain {
    std::vector<std::unique_ptr<ResourceFile>> files;
    ResFileRefNum current = 0;
    OSErr lastError = noErr;
};

ResourceChain& Chain() {
    static ResourceChain chain;
    return chain;
}

ResFileRefNum Fail(OSErr err) {
    Chain().lastError = err;
    return -1;
}

// Position of an open file in the chain; files.size() when it is not open.
size_t Find(ResFileRefNum refNum) {
    const auto& files = Chain().files;
    for (size_t i = 0; i < files.size(); ++i) {
        if (files[i]->refNum == refNum) return i;
    }
    return files.size();
}

// Reads the whole fork `refNum` into `bytes`.
OSErr ReadFork(FSIORefNum refNum, std::string* bytes) {
    SInt32 length = 0;
    OSErr err = GetEOF(refNum, &length);
    if (err != noErr) return err;
    bytes->resize((size_t)length);
    SInt32 count = length;
    err = FSRead(refNum, &count, bytes->data());
    if (err == eofErr) err = noErr;
    bytes->resize((size_t)count);
    return err;
}

}  // namespace

namespace halyx::resources {
void SetResError(OSErr err) {
    Chain().lastError = err;
}
}  // namespace halyx::resources

OSErr ResError(void) {
    return Chain().lastError;
}

ResFileRefNum FSpOpenResFile(const FSSpec* spec, SInt8 /*permission*/) {
    char path[4096];
    OSErr err = HalyxPathFromFSSpec(spec, path, sizeof path);
    if (err != noErr) return Fail(err);
    ResourceChain& chain = Chain();
    for (const auto& file : chain.files) {
        if (file->path == path) {
            chain.current = file->refNum;
            chain.lastError = noErr;
            return file->refNum;
        }
    }

    FSIORefNum refNum = 0;
    err = FSpOpenDF(spec, fsRdPerm, &refNum);
    if (err != noErr) return Fail(err);
    auto file = std::make_unique<ResourceFile>();
    std::string bytes;
    err = ReadFork(refNum, &bytes);
    if (err == noErr) err = file->map.Load((const UInt8*)bytes.data(), bytes.size());
    if (err != noErr) {
        FSClose(refNum);
        return Fail(err);
    }
    file->refNum = refNum;
    file->path = path;
    chain.files.push_back(std::move(file));
    chain.current = refNum;
    chain.lastError = noErr;
    return refNum;
}

void CloseResFile(ResFileRefNum refNum) {
    ResourceChain& chain = Chain();
    chain.lastError = noErr;
    if (refNum == 0) return;
    size_t at = Find(refNum);
    if (at == chain.files.size()) {
        chain.lastError = resFNotFound;
        return;
    }
    if (chain.current == refNum) chain.current = at > 0 ? chain.files[at - 1]->refNum : 0;
    FSClose(refNum);
    chain.files.erase(chain.files.begin() + (long)at);
}

void UseResFile(ResFileRefNum refNum) {
    ResourceChain& chain = Chain();
    if (refNum != 0 && Find(refNum) == chain.files.size()) {
        chain.lastError = resFNotFound;
        return;
    }
    chain.current = refNum;
    chain.lastError = noErr;
}

ResFileRefNum CurResFile(void) {
    Chain().lastError = noErr;
    return Chain().current;
}

void GetIndString(Str255 theString, SInt16 strListID, SInt16 index) {
    ResourceChain& chain = Chain();
    if (theString == nullptr) {
        chain.lastError = paramErr;
        return;
    }
    theString[0] = 0;
    chain.lastError = resNotFound;
    if (chain.current == 0) return;
    // The current file, then the ones opened before it, newest first. The first file that has the
    // list answers, whether or not the list has the entry.
    for (size_t i = Find(chain.current) + 1; i-- > 0;) {
        const ResourceMap& map = chain.files[i]->map;
        if (!map.HasStringList(strListID)) continue;
        std::string text;
        if (map.IndString(strListID, index, &text)) {
            theString[0] = (unsigned char)text.size();
            std::memcpy(theString + 1, text.data(), text.size());
            chain.lastError = noErr;
        }
        return;
    }
}
