// Loads arbitrary bytes as a resource file and reads from whatever map results.
#include <cstddef>
#include <cstdint>
#include <string>

#include "Resources/ResourceMap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    halyx::resources::ResourceMap map;
    if (map.Load(data, size) != noErr) return 0;
    std::string text;
    for (SInt16 id : {(SInt16)-8900, (SInt16)128, (SInt16)0}) {
        for (SInt16 index = 0; index < 4; ++index) {
            if (map.IndString(id, index, &text) && text.size() > 255) __builtin_trap();
        }
    }
    return 0;
}
