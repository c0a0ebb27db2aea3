// The readable outline of a model that `show` prints without --json: the same facts as the JSON
// object (see ModelJson.h), one line per page, group, control, shortcut and constraint.
#ifndef HALYX_TOOLS_MODELOUTLINE_H
#define HALYX_TOOLS_MODELOUTLINE_H

#include <string>

#include "tools/ModelJson.h"

namespace halyx::tools {

// The outline of the object ModelToJson makes.
std::string ModelOutline(const Json& model);

}  // namespace halyx::tools

#endif  // HALYX_TOOLS_MODELOUTLINE_H
