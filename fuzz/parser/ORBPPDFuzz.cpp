// Parses arbitrary bytes as a PPD file with the extension keywords, then walks everything the
// model offers: its JSON form (every collection, every control's PostScript), the constraint and
// requires queries of every control and the constraint dump. Nothing may crash, leak or read
// outside a buffer.
//
// The first byte also chooses the parse: XORed with '*' (so that a real PPD gets the pane's
// settings), bits 0-1 flip the parse options, bit 2 counts every error as fatal, bit 3 gives an
// accepted-names list, bits 4-5 narrow the supported extensions.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "CoreFoundation/CFArray.h"
#include "CoreFoundation/CFString.h"
#include "Files/FileRecords.h"
#include "PPDObjects/ModelOptions.h"
#include "PPDObjects/PPDXControls.h"
#include "parser/ORBPPD.h"
#include "parser/SharedConstraintRec.h"
#include "tools/ModelJson.h"

namespace {

// Every input is written to a file and read back: on a memory file system when there is one.
std::string TempPath() {
    const char* folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    char path[64];
    std::snprintf(path, sizeof path, "%s/halyx-fuzz-orbppd-%d", folder, static_cast<int>(getpid()));
    return path;
}

CFArrayRef AcceptedNames() {
    CFStringRef name = CFStringCreateWithCString(nullptr, "HALYX01.PPD", kCFStringEncodingUTF8);
    CFArrayRef names =
        CFArrayCreate(nullptr, reinterpret_cast<const void**>(&name), 1, &kCFTypeArrayCallBacks);
    CFRelease(name);
    return names;
}

void Query(ORBPPD& ppd) {
    PPDXControls* controls = ppd.GetControls();
    if (controls == nullptr) return;
    DisplayOptionsScope all(DISPLAY_ALL);
    for (PPDXControl* c = controls->First(nullptr); c != nullptr; c = controls->Next(nullptr)) {
        for (long value = -1; value <= 2; ++value) {
            SharedConstraintRec* list = nullptr;
            ppd.GetConstraintList(c, value, &list);
            ORBPPD::ReleaseConstraintList(list);
        }
        SharedConstraintRec* requires = nullptr;
        ppd.GetRequiresList(c, &requires);
        ORBPPD::ReleaseRequiresList(requires);
    }
    static FILE* sink = std::fopen("/dev/null", "w");
    if (sink != nullptr) {
        char title[] = "constraints";
        ppd.DumpConstraintMap(sink, ppd.GetConstraints(), title);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = TempPath();
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return 0;
    if (size > 0) std::fwrite(data, 1, size, f);
    std::fclose(f);

    const unsigned config = size > 0 ? static_cast<unsigned>(data[0] ^ '*') : 0;
    const _PARSE_OPTIONS_ options =
        (ORBPPD::kParseOrphans | ORBPPD::kParseHidden) ^ static_cast<_PARSE_OPTIONS_>(config & 3);
    static const _EXTENSIONS_SUPPORT_ kMasks[] = {ModelOptions::kAllExtensions, 0, 1, 2};
    ORBPPD::SetExtensions(kMasks[(config >> 4) & 3]);

    FSSpec spec;
    if (HalyxFSSpecFromPath(path.c_str(), &spec) == noErr) {
        CFArrayRef names = (config & 8) != 0 ? AcceptedNames() : nullptr;
        ORBPPD* ppd = new ORBPPD(spec, options, names, (config & 4) != 0);
        if (names != nullptr) CFRelease(names);
        ppd->Retain();
        const std::string text = halyx::tools::JsonText(halyx::tools::ModelToJson(*ppd, path));
        if (text.empty()) std::abort();
        Query(*ppd);
        ppd->Release();
    }
    ORBPPD::SetExtensions(ModelOptions::kAllExtensions);
    std::remove(path.c_str());
    return 0;
}
