// The sample PPDs of examples/ loaded as the tool loads them, and their JSON form.
#ifndef HALYX_TESTS_TOOLS_EXAMPLEMODEL_H
#define HALYX_TESTS_TOOLS_EXAMPLEMODEL_H

#include <string>

#include "tools/ModelJson.h"
#include "tools/PPDLoader.h"

inline std::string ExamplePath(const char* name) {
    return std::string(HALYX_SOURCE_DIR) + "/examples/" + name;
}

// The JSON of an example, or null when it cannot be loaded.
inline halyx::tools::Json ExampleJson(const char* name) {
    halyx::tools::PPDLoader loader;
    std::string message;
    const std::string path = ExamplePath(name);
    if (!loader.Load(path.c_str(), &message)) return nullptr;
    return halyx::tools::ModelToJson(*loader.Model(), path);
}

// The control of `keyword` in a model's JSON, or null.
inline halyx::tools::Json ControlOf(const halyx::tools::Json& model, const std::string& keyword) {
    for (const auto& control : model["controls"])
        if (control["keyword"] == keyword) return control;
    return nullptr;
}

inline halyx::tools::Json GroupOf(const halyx::tools::Json& model, const std::string& keyword) {
    for (const auto& group : model["groups"])
        if (group["keyword"] == keyword) return group;
    return nullptr;
}

#endif  // HALYX_TESTS_TOOLS_EXAMPLEMODEL_H
