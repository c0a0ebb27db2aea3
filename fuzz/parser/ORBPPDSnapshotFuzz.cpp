// Reads arbitrary bytes as the flattened snapshot store that the print settings carry, then
// rebuilds the model from it as the ticket code does (store read from a data stream, model built
// for a PPD file on disk, checked against a printer list). Nothing may crash, leak or read outside
// a buffer, and a rebuilt model must be usable like a parsed one. Aborts when:
// - a refused model (no valid PPD or printer name) still holds controls;
// - a model accepted once, saved again and rebuilt, is refused or has another number of pages,
//   groups or controls.
//
// The first byte chooses the form: bit 0 clear repairs the store's section length and checksum
// (so that mutations reach the records instead of being refused whole), bit 1 gives a printer
// list that accepts the PPD, bit 2 one that refuses it.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "CoreFoundation/CFArray.h"
#include "CoreFoundation/CFData.h"
#include "CoreFoundation/CFString.h"
#include "CoreFoundation/CFURL.h"
#include "PPDObjects/ModelOptions.h"
#include "PPDObjects/PPDXControls.h"
#include "PPDObjects/PPDXGroups.h"
#include "PPDObjects/PPDXProperties.h"
#include "parser/ORBPPD.h"
#include "settings/CFDataStream.h"
#include "settings/Settings.h"
#include "tools/ModelJson.h"

namespace {

// The flattened form: 4 magic bytes, version, item count and section length (big-endian), the
// section, then a big-endian checksum of everything before it.
const size_t kHeaderBytes = 16;
const size_t kSectionField = 12;
const size_t kTrailerBytes = 4;

const char kPPD[] =
    "*PPD-Adobe: \"4.3\"\n*LanguageVersion: English\n*LanguageEncoding: ISOLatin1\n"
    "*PCFileName: \"HALYX01.PPD\"\n";

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "snapshot rebuild invariant broken: %s\n", what);
    std::abort();
}

// The repair is the harness's own work, not code under test: it goes a byte at a time through a
// table made once, and is left out of the coverage the engine sees, so that its branches neither
// slow every run nor count as new behaviour.
#if defined(__clang__)
#define HALYX_NOT_COVERED __attribute__((no_sanitize("coverage")))
#else
#define HALYX_NOT_COVERED
#endif

struct CrcTable {
    UInt32 entries[256];
    CrcTable() {
        for (UInt32 n = 0; n < 256; ++n) {
            UInt32 crc = n;
            for (int k = 0; k < 8; ++k) crc = (crc & 1) ? 0xedb88320u ^ (crc >> 1) : crc >> 1;
            entries[n] = crc;
        }
    }
};

HALYX_NOT_COVERED UInt32 Crc32(const uint8_t* p, size_t n) {
    static const CrcTable table;
    UInt32 crc = 0xffffffffu;
    for (size_t i = 0; i < n; ++i) crc = table.entries[(crc ^ p[i]) & 0xffu] ^ (crc >> 8);
    return crc ^ 0xffffffffu;
}

void Put32(uint8_t* p, UInt32 value) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(value >> (24 - 8 * i));
}

// The PPD file every rebuild is checked against, written once per process.
CFURLRef PPDLocation() {
    static CFURLRef url = [] {
        char path[64];
        std::snprintf(path, sizeof path, "/tmp/halyx-fuzz-snapshot-%d.ppd",
                      static_cast<int>(getpid()));
        FILE* f = std::fopen(path, "wb");
        if (f != nullptr) {
            std::fwrite(kPPD, 1, sizeof kPPD - 1, f);
            std::fclose(f);
        }
        CFStringRef text = CFStringCreateWithCString(nullptr, path, kCFStringEncodingUTF8);
        CFURLRef made = CFURLCreateWithFileSystemPath(nullptr, text, kCFURLPOSIXPathStyle, false);
        CFRelease(text);
        return made;
    }();
    return url;
}

CFArrayRef NameList(const char* name) {
    CFStringRef text = CFStringCreateWithCString(nullptr, name, kCFStringEncodingUTF8);
    CFArrayRef names =
        CFArrayCreate(nullptr, reinterpret_cast<const void**>(&text), 1, &kCFTypeArrayCallBacks);
    CFRelease(text);
    return names;
}

struct Shape {
    UInt32 pages = 0;
    UInt32 groups = 0;
    UInt32 controls = 0;
    bool operator==(const Shape& o) const {
        return pages == o.pages && groups == o.groups && controls == o.controls;
    }
};

Shape ShapeOf(ORBPPD& model) {
    DisplayOptionsScope all(DISPLAY_ALL);
    Shape shape;
    if (model.GetProperties() != nullptr) shape.pages = model.GetProperties()->Count();
    if (model.GetGroups() != nullptr) shape.groups = model.GetGroups()->Count();
    PPDXControls* controls = model.GetControls();
    if (controls != nullptr)
        for (PPDXControl* c = controls->First(nullptr); c != nullptr; c = controls->Next(nullptr))
            ++shape.controls;
    return shape;
}

// The store read from `bytes` through a data stream; false when the read fails.
bool ReadStore(const uint8_t* bytes, size_t size, Settings& store) {
    CFDataRef data = CFDataCreate(nullptr, bytes, static_cast<CFIndex>(size));
    if (data == nullptr) return false;
    CFDataStream in(data);
    CFRelease(data);
    return in.valid() && store.Read(&in, 0) == noErr;
}

ORBPPD* Rebuild(Settings& store, CFArrayRef names) {
    ORBPPD* model = new ORBPPD(store, PPDLocation(), names);
    model->Retain();
    return model;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const uint8_t mode = data[0];
    std::vector<uint8_t> form(data + 1, data + size);
    if ((mode & 1) == 0 && form.size() >= kHeaderBytes + kTrailerBytes) {
        Put32(&form[kSectionField],
              static_cast<UInt32>(form.size() - kHeaderBytes - kTrailerBytes));
        Put32(&form[form.size() - kTrailerBytes], Crc32(form.data(), form.size() - kTrailerBytes));
    }
    CFArrayRef names = nullptr;
    if (mode & 2)
        names = NameList("HALYX01.PPD");
    else if (mode & 4)
        names = NameList("HALYX99.PPD");

    Settings store;
    if (!form.empty() && ReadStore(form.data(), form.size(), store)) {
        const _DISPLAY_OPTIONS_ before = ORBPPD::Options();
        ORBPPD* model = Rebuild(store, names);
        if (!model->IsValidPPD() || !model->IsValidPrinterName()) {
            // A model is refused either before its controls are read, or because the rebuild
            // had to skip one of them.
            const PPDXControls* controls = model->GetControls();
            Check(ShapeOf(*model).controls == 0 ||
                      (controls != nullptr && !controls->RebuildComplete()),
                  "a refused model holds controls");
        } else {
            halyx::tools::JsonText(halyx::tools::ModelToJson(*model, ""));
            model->Restore(store);
            Settings again;
            if (model->Save(again)) {
                ORBPPD* second = Rebuild(again, nullptr);
                Check(second->IsValidPPD(), "a saved rebuilt model is refused");
                Check(ShapeOf(*second) == ShapeOf(*model), "a second rebuild changed shape");
                second->Release();
            }
        }
        Check(ORBPPD::Options() == before, "display options not put back");
        model->Release();
    }
    if (names != nullptr) CFRelease(names);
    return 0;
}
