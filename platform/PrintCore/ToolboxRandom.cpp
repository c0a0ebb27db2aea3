#include "PrintCore/ToolboxRandom.h"

#include <stdint.h>

namespace {

const uint64_t kModulus = 2147483647u;  // 2^31 - 1, a prime
const uint64_t kMultiplier = 16807u;    // 7^5, a primitive root of the modulus

}  // namespace

SInt32 randSeed = 1;

SInt16 Random(void) {
    uint64_t seed = static_cast<uint32_t>(randSeed) % kModulus;
    if (seed == 0) seed = 1;
    seed = seed * kMultiplier % kModulus;
    randSeed = static_cast<SInt32>(seed);
    SInt16 result = static_cast<SInt16>(static_cast<UInt16>(seed & 0xFFFFu));
    return result == -32768 ? 0 : result;
}
