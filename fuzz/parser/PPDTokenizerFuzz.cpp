// Feeds arbitrary bytes to the PPD line reading, the tokenizer and the header parse: as a stream in
// memory, and as a file read whole and in chunks. Nothing may crash, leak or write past a buffer.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "CoreFoundation/CFArray.h"
#include "CoreFoundation/CFString.h"
#include "Files/FileRecords.h"
#include "parser/PPDFile.h"
#include "parser/PPDFileStream.h"
#include "parser/PPDStream.h"
#include "parser/PPDX.h"

namespace {

class FuzzPPDX : public PPDX {
public:
    FuzzPPDX() {}
    FuzzPPDX(const FSSpec& spec, CFArrayRef names) : PPDX(spec, names) {}
    void Parse() override {}
    PPDXPopupControl* PPDCreatePopupMenu(const char*, const char*, const char*, PointerList&,
                                         CString*) override {
        return nullptr;
    }
    bool PPDReconcilePopupMenu(const char*, const char*, PointerList&, CString*) override {
        return false;
    }

    // The walk as the parser makes it: a keyword per line, then the header keywords; lines with a
    // quote also go through both value readers.
    void Walk(PPDStream& file) {
        CurrentStream(&file);
        char first[kTokenBufferSize];
        if (NextToken(file, first, " \t:", true) && std::strcmp(first, "*PPD-Adobe") == 0) {
            char value[kMaxQuotedValue];
            GetQuotedString(file, value, kMaxQuotedValue);
        }
        char line[PPDFileStream::kJoinedLineBufferSize];
        while (NextLine(file, line)) {
            long length = static_cast<long>(std::strlen(line));
            PPDStream lineStream(line, length);
            char keyword[kTokenBufferSize];
            if (!NextToken(lineStream, keyword, " \t:", true)) continue;
            PPDStream copy(lineStream);
            ParsePSKeywords(lineStream, keyword);
            if (std::strchr(line, '"') != nullptr) {
                static char postscript[kMaxPostScriptValue];
                if (keyword[1] == 'J')
                    GetPostscriptString(copy, postscript, kMaxPostScriptValue);
                else
                    GetQuotedString(copy, postscript, 64);
            }
            char rest[kTokenBufferSize];
            ParseMainKeyword(keyword, rest);
        }
        CurrentStream(nullptr);
    }
};

// Every input is written to a file and read back: on a memory file system when there is one.
std::string TempPath() {
    const char* folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    char path[64];
    std::snprintf(path, sizeof path, "%s/halyx-fuzz-ppd-%d", folder, static_cast<int>(getpid()));
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    {
        FuzzPPDX ppd;
        PPDStream memory(bytes, static_cast<long>(size));
        ppd.Walk(memory);
    }

    static const std::string path = TempPath();
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return 0;
    if (size > 0) std::fwrite(data, 1, size, f);
    std::fclose(f);
    FSSpec spec;
    if (HalyxFSSpecFromPath(path.c_str(), &spec) == noErr) {
        CFStringRef name = CFStringCreateWithCString(nullptr, "HALYX01.PPD", kCFStringEncodingUTF8);
        CFArrayRef names = CFArrayCreate(nullptr, reinterpret_cast<const void**>(&name), 1,
                                         &kCFTypeArrayCallBacks);
        FuzzPPDX ppd(spec, names);
        CFRelease(names);
        CFRelease(name);
        for (bool chunked : {true, false}) {
            PPDFile file(spec);
            PPDFileStream stream(&file, chunked);
            if (!stream.Bad()) ppd.Walk(stream);
        }
    }
    std::remove(path.c_str());
    return 0;
}
