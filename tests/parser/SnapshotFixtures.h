// Helpers of the snapshot tests: a model parsed from a file, a store carried through its flattened
// form as the print settings carry it, file locations and the model's JSON form without the parts
// a snapshot does not hold (the parse errors and the constraint lines).
#ifndef HALYX_TESTS_PARSER_SNAPSHOTFIXTURES_H
#define HALYX_TESTS_PARSER_SNAPSHOTFIXTURES_H

#include <memory>
#include <string>

#include "CoreFoundation/CFURL.h"
#include "parser/ORBPPD.h"
#include "settings/CFDataStream.h"
#include "settings/Settings.h"
#include "tools/ModelJson.h"

// A counted model released when the holder goes.
struct ModelRelease {
    void operator()(ORBPPD* model) const {
        if (model != nullptr) model->Release();
    }
};
typedef std::unique_ptr<ORBPPD, ModelRelease> ModelRef;

inline ModelRef Held(ORBPPD* model) {
    model->Retain();
    return ModelRef(model);
}

// A platform file URL for `path`, released by the caller.
inline CFURLRef FileURL(const std::string& path) {
    CFStringRef text = CFStringCreateWithCString(nullptr, path.c_str(), kCFStringEncodingUTF8);
    CFURLRef url = CFURLCreateWithFileSystemPath(nullptr, text, kCFURLPOSIXPathStyle, false);
    CFRelease(text);
    return url;
}

// `store` flattened into a data stream and read back into a new store, as the ticket code
// carries a snapshot through the print settings. Null when a step fails.
inline std::unique_ptr<Settings> Carried(Settings& store) {
    CFDataStream out;
    if (store.Save(&out) != noErr) return nullptr;
    CFDataStream in(out.data());
    std::unique_ptr<Settings> copy(new Settings());
    if (copy->Read(&in, 0) != noErr) return nullptr;
    return copy;
}

// The model as JSON without what a snapshot leaves out.
inline halyx::tools::Json SnapshotView(ORBPPD& model) {
    halyx::tools::Json json = halyx::tools::ModelToJson(model, "");
    json.erase("errors");
    json.erase("constraints");
    json.erase("requires");
    return json;
}

#endif  // HALYX_TESTS_PARSER_SNAPSHOTFIXTURES_H
