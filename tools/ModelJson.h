// The parsed model as one JSON object: the file, its validity, header values, errors, pages,
// groups, controls, shortcuts, constraints and requires.
//
// Every collection is walked in its own order with every member shown (DISPLAY_ALL for the time
// of the walk); absent texts are null; every text is UTF-8 (see PPDText.h).
#ifndef HALYX_TOOLS_MODELJSON_H
#define HALYX_TOOLS_MODELJSON_H

#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>

#include "CoreFoundation/CFString.h"

class ORBPPD;
class PPDXControl;

namespace halyx::tools {

// Keys stay in the order they are written, so the output reads in the order of the layout.
typedef nlohmann::ordered_json Json;

// The whole model; `file` is the path the model was read from.
Json ModelToJson(ORBPPD& model, const std::string& file);

// The text of ModelToJson's object written to `out` member by member, without the whole object
// or text ever held: what JsonText(ModelToJson(model, file)) gives, byte for byte. False when
// writing failed.
bool WriteModelJson(ORBPPD& model, const std::string& file, std::FILE* out);

// One control with its kind's fields; `encoding` is the PPD's (see EncodingOfPPD).
Json ControlToJson(PPDXControl& control, CFStringEncoding encoding);

// The words of a job note's flag set, in bit order.
Json JobNoteFlagWords(UInt32 flags);

// The text form of `json`: two-space indents, invalid UTF-8 replaced rather than refused.
std::string JsonText(const Json& json);

}  // namespace halyx::tools

#endif  // HALYX_TOOLS_MODELJSON_H
