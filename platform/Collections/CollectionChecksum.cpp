// Two ways to the same checksum. Eight tables take eight bytes a step anywhere. Where the processor
// multiplies without carries, long runs are folded sixteen bytes at a time into a 128-bit
// remainder (four lanes of them over every 64 bytes), which is then reduced to 32 bits; the
// constants are powers of x modulo the polynomial, bit-reflected like the checksum itself.
#include "Collections/CollectionChecksum.h"

#include <cstdint>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define HALYX_CRC_FOLDING 1
#endif

namespace halyx_collections {

namespace {

// entries[0] is the byte-wise table, entries[k][i] the remainder of byte i followed by k zero
// bytes.
struct CrcTable {
    UInt32 entries[8][256];
    CrcTable() {
        for (UInt32 i = 0; i < 256; ++i) {
            UInt32 c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xedb88320u ^ (c >> 1) : c >> 1;
            entries[0][i] = c;
        }
        for (int k = 1; k < 8; ++k)
            for (UInt32 i = 0; i < 256; ++i)
                entries[k][i] = (entries[k - 1][i] >> 8) ^ entries[0][entries[k - 1][i] & 0xff];
    }
};

UInt32 Little32(const UInt8* p) {
    return static_cast<UInt32>(p[0]) | static_cast<UInt32>(p[1]) << 8 |
           static_cast<UInt32>(p[2]) << 16 | static_cast<UInt32>(p[3]) << 24;
}

// Advances the running remainder `crc` (not inverted) over the bytes, by the tables.
UInt32 TableStep(UInt32 crc, const UInt8* p, size_t n) {
    static const CrcTable table;
    const UInt32(&t)[8][256] = table.entries;
    for (; n >= 8; p += 8, n -= 8) {
        const UInt32 low = crc ^ Little32(p);
        const UInt32 high = Little32(p + 4);
        crc = t[7][low & 0xff] ^ t[6][(low >> 8) & 0xff] ^ t[5][(low >> 16) & 0xff] ^
              t[4][low >> 24] ^ t[3][high & 0xff] ^ t[2][(high >> 8) & 0xff] ^
              t[1][(high >> 16) & 0xff] ^ t[0][high >> 24];
    }
    for (; n > 0; ++p, --n) crc = t[0][(crc ^ *p) & 0xff] ^ (crc >> 8);
    return crc;
}

#ifdef HALYX_CRC_FOLDING

// Folding starts from 64 bytes; shorter runs are not worth the set-up.
const size_t kFoldMinimum = 64;

__attribute__((target("pclmul,sse4.1"))) __m128i Fold(__m128i x, __m128i k, __m128i next) {
    const __m128i low = _mm_clmulepi64_si128(x, k, 0x00);
    const __m128i high = _mm_clmulepi64_si128(x, k, 0x11);
    return _mm_xor_si128(_mm_xor_si128(low, high), next);
}

// Advances the remainder over `n` bytes, n a multiple of 16 and at least kFoldMinimum.
__attribute__((target("pclmul,sse4.1"))) UInt32 FoldStep(UInt32 crc, const UInt8* p, size_t n) {
    // x^(4*128+32) and x^(4*128-32), then x^(128+32) and x^(128-32), x^64, and for the final
    // reduction the polynomial with its Barrett quotient.
    const __m128i k1k2 = _mm_set_epi64x(0x1c6e41596, 0x154442bd4);
    const __m128i k3k4 = _mm_set_epi64x(0x0ccaa009e, 0x1751997d0);
    const __m128i k5 = _mm_set_epi64x(0, 0x163cd6124);
    const __m128i poly = _mm_set_epi64x(0x1f7011641, 0x1db710641);
    const __m128i mask32 = _mm_set_epi32(0, 0, 0, -1);
    auto load = [](const UInt8* at) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    };

    __m128i x1 = _mm_xor_si128(load(p), _mm_cvtsi32_si128(static_cast<int>(crc)));
    __m128i x2 = load(p + 16);
    __m128i x3 = load(p + 32);
    __m128i x4 = load(p + 48);
    p += 64;
    n -= 64;
    for (; n >= 64; p += 64, n -= 64) {
        x1 = Fold(x1, k1k2, load(p));
        x2 = Fold(x2, k1k2, load(p + 16));
        x3 = Fold(x3, k1k2, load(p + 32));
        x4 = Fold(x4, k1k2, load(p + 48));
    }
    x1 = Fold(x1, k3k4, x2);
    x1 = Fold(x1, k3k4, x3);
    x1 = Fold(x1, k3k4, x4);
    for (; n >= 16; p += 16, n -= 16) x1 = Fold(x1, k3k4, load(p));

    // 128 bits to 64, 64 to 32, then the Barrett reduction.
    x1 = _mm_xor_si128(_mm_clmulepi64_si128(x1, k3k4, 0x10), _mm_srli_si128(x1, 8));
    x1 = _mm_xor_si128(_mm_clmulepi64_si128(_mm_and_si128(x1, mask32), k5, 0x00),
                       _mm_srli_si128(x1, 4));
    __m128i t = _mm_clmulepi64_si128(_mm_and_si128(x1, mask32), poly, 0x10);
    t = _mm_clmulepi64_si128(_mm_and_si128(t, mask32), poly, 0x00);
    return static_cast<UInt32>(_mm_extract_epi32(_mm_xor_si128(x1, t), 1));
}

bool CanFold() {
    static const bool can = __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
    return can;
}

#endif  // HALYX_CRC_FOLDING

}  // namespace

UInt32 Crc32(const UInt8* p, size_t n) {
    UInt32 crc = 0xffffffffu;
#ifdef HALYX_CRC_FOLDING
    if (n >= kFoldMinimum + 16 && CanFold()) {
        // The table takes the bytes up to a 16-byte boundary and whatever the folding leaves.
        const size_t lead = (16 - (reinterpret_cast<uintptr_t>(p) & 15)) & 15;
        crc = TableStep(crc, p, lead);
        p += lead;
        n -= lead;
        const size_t folded = n & ~static_cast<size_t>(15);
        crc = FoldStep(crc, p, folded);
        p += folded;
        n -= folded;
    }
#endif
    return TableStep(crc, p, n) ^ 0xffffffffu;
}

}  // namespace halyx_collections
