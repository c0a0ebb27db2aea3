// Making error values from inside the value library (internal).
#ifndef HALYX_PLATFORM_COREFOUNDATION_CFERROROBJECT_H
#define HALYX_PLATFORM_COREFOUNDATION_CFERROROBJECT_H

#include <string>

#include "CoreFoundation/CFError.h"

namespace halyxcf {

// A new error whose description is `text` (UTF-8).
CFErrorRef NewError(CFStringRef domain, CFIndex code, const std::string& text);

}  // namespace halyxcf

#endif  // HALYX_PLATFORM_COREFOUNDATION_CFERROROBJECT_H
