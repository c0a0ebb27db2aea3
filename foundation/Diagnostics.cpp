#include "foundation/Diagnostics.h"

#include <cstdlib>
#include <cstring>

bool HalyxDiagnosticsWanted() {
    const char* value = std::getenv("HALYX_DIAGNOSTICS");
    return value != nullptr && *value != '\0' && std::strcmp(value, "0") != 0;
}
