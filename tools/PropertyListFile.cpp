#include "tools/PropertyListFile.h"

#include <string>

#include "CoreFoundation/CFData.h"

namespace halyx::tools {

CFPropertyListRef ReadPropertyListFile(std::FILE* file, bool* readFailed) {
    std::string bytes;
    char buffer[8192];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, n);
    *readFailed = std::ferror(file) != 0;
    std::fclose(file);
    if (*readFailed) return nullptr;
    CFDataRef data = CFDataCreate(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(bytes.data()),
                                  static_cast<CFIndex>(bytes.size()));
    if (data == nullptr) return nullptr;
    CFPropertyListRef list =
        CFPropertyListCreateWithData(kCFAllocatorDefault, data, 0, nullptr, nullptr);
    CFRelease(data);
    return list;
}

}  // namespace halyx::tools
