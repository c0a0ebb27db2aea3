// Bit positions in the tables count from 1 at the most significant bit, as DES is usually written.
#include "crypto/DES.h"

#include <cstring>

namespace halyx {
namespace crypto {
namespace {

const unsigned char kIP[64] = {58, 50, 42, 34, 26, 18, 10, 2, 60, 52, 44, 36, 28, 20, 12, 4,
                               62, 54, 46, 38, 30, 22, 14, 6, 64, 56, 48, 40, 32, 24, 16, 8,
                               57, 49, 41, 33, 25, 17, 9,  1, 59, 51, 43, 35, 27, 19, 11, 3,
                               61, 53, 45, 37, 29, 21, 13, 5, 63, 55, 47, 39, 31, 23, 15, 7};

const unsigned char kP[32] = {16, 7, 20, 21, 29, 12, 28, 17, 1,  15, 23, 26, 5,  18, 31, 10,
                              2,  8, 24, 14, 32, 27, 3,  9,  19, 13, 30, 6,  22, 11, 4,  25};

const unsigned char kPC1[56] = {57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18,
                                10, 2,  59, 51, 43, 35, 27, 19, 11, 3,  60, 52, 44, 36,
                                63, 55, 47, 39, 31, 23, 15, 7,  62, 54, 46, 38, 30, 22,
                                14, 6,  61, 53, 45, 37, 29, 21, 13, 5,  28, 20, 12, 4};

const unsigned char kPC2[48] = {14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 10, 23, 19, 12, 4,
                                26, 8,  16, 7,  27, 20, 13, 2,  41, 52, 31, 37, 47, 55, 30, 40,
                                51, 45, 33, 48, 44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32};

const unsigned char kShifts[16] = {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1};

const unsigned char kSBox[8][64] = {
    {14, 4,  13, 1, 2,  15, 11, 8, 3, 10, 6, 12, 5,  9,  0,  7,  0,  15, 7,  4,  14, 2,
     13, 1,  10, 6, 12, 11, 9,  5, 3, 8,  4, 1,  14, 8,  13, 6,  2,  11, 15, 12, 9,  7,
     3,  10, 5,  0, 15, 12, 8,  2, 4, 9,  1, 7,  5,  11, 3,  14, 10, 0,  6,  13},
    {15, 1,  8,  14, 6,  11, 3,  4, 9,  7,  2, 13, 12, 0,  5,  10, 3,  13, 4,  7, 15, 2,
     8,  14, 12, 0,  1,  10, 6,  9, 11, 5,  0, 14, 7,  11, 10, 4,  13, 1,  5,  8, 12, 6,
     9,  3,  2,  15, 13, 8,  10, 1, 3,  15, 4, 2,  11, 6,  7,  12, 0,  5,  14, 9},
    {10, 0,  9,  14, 6, 3,  15, 5,  1,  13, 12, 7, 11, 4,  2,  8,  13, 7, 0,  9, 3, 4,
     6,  10, 2,  8,  5, 14, 12, 11, 15, 1,  13, 6, 4,  9,  8,  15, 3,  0, 11, 1, 2, 12,
     5,  10, 14, 7,  1, 10, 13, 0,  6,  9,  8,  7, 4,  15, 14, 3,  11, 5, 2,  12},
    {7, 13, 14, 3, 0, 6,  9, 10, 1,  2, 8,  5, 11, 12, 4,  15, 13, 8,  11, 5, 6, 15,
     0, 3,  4,  7, 2, 12, 1, 10, 14, 9, 10, 6, 9,  0,  12, 11, 7,  13, 15, 1, 3, 14,
     5, 2,  8,  4, 3, 15, 0, 6,  10, 1, 13, 8, 9,  4,  5,  11, 12, 7,  2,  14},
    {2,  12, 4, 1,  7,  10, 11, 6, 8, 5,  3, 15, 13, 0,  14, 9,  14, 11, 2,  12, 4,  7,
     13, 1,  5, 0,  15, 10, 3,  9, 8, 6,  4, 2,  1,  11, 10, 13, 7,  8,  15, 9,  12, 5,
     6,  3,  0, 14, 11, 8,  12, 7, 1, 14, 2, 13, 6,  15, 0,  9,  10, 4,  5,  3},
    {12, 1,  10, 15, 9,  2,  6, 8,  0, 13, 3,  4,  14, 7,  5, 11, 10, 15, 4, 2, 7, 12,
     9,  5,  6,  1,  13, 14, 0, 11, 3, 8,  9,  14, 15, 5,  2, 8,  12, 3,  7, 0, 4, 10,
     1,  13, 11, 6,  4,  3,  2, 12, 9, 5,  15, 10, 11, 14, 1, 7,  6,  0,  8, 13},
    {4, 11, 2,  14, 15, 0,  8,  13, 3, 12, 9,  7, 5,  10, 6,  1,  13, 0,  11, 7,  4, 9,
     1, 10, 14, 3,  5,  12, 2,  15, 8, 6,  1,  4, 11, 13, 12, 3,  7,  14, 10, 15, 6, 8,
     0, 5,  9,  2,  6,  11, 13, 8,  1, 4,  10, 7, 9,  5,  0,  15, 14, 2,  3,  12},
    {13, 2, 8,  4, 6, 15, 11, 1,  10, 9,  3, 14, 5,  0,  12, 7,  1,  15, 13, 8, 10, 3,
     7,  4, 12, 5, 6, 11, 0,  14, 9,  2,  7, 11, 4,  1,  9,  12, 14, 2,  0,  6, 10, 13,
     15, 3, 5,  8, 2, 1,  14, 7,  4,  10, 8, 13, 15, 12, 9,  0,  3,  5,  6,  11}};

// Moves bit table[i] of the `inBits`-wide `in` to bit i + 1 of the `n`-wide result.
uint64_t Permute(uint64_t in, int inBits, const unsigned char* table, int n) {
    uint64_t out = 0;
    for (int i = 0; i < n; ++i) out = (out << 1) | ((in >> (inBits - table[i])) & 1u);
    return out;
}

// The round function's S-boxes merged with the P permutation, and the final permutation (the
// inverse of IP), built once on first use.
struct Tables {
    uint32_t sp[8][64];
    unsigned char fp[64];
    Tables() {
        for (int box = 0; box < 8; ++box) {
            for (int six = 0; six < 64; ++six) {
                int row = ((six >> 4) & 2) | (six & 1);
                int column = (six >> 1) & 15;
                uint64_t s = static_cast<uint64_t>(kSBox[box][row * 16 + column]) << (28 - 4 * box);
                sp[box][six] = static_cast<uint32_t>(Permute(s, 32, kP, 32));
            }
        }
        for (int i = 0; i < 64; ++i) fp[kIP[i] - 1] = static_cast<unsigned char>(i + 1);
    }
};

const Tables& GetTables() {
    static const Tables tables;
    return tables;
}

uint32_t gSchedule[kDESScheduleWords];

uint32_t Rotl(uint32_t x, int n) {
    return n == 0 ? x : (x << n) | (x >> (32 - n));
}

uint32_t RoundFunction(const Tables& t, uint32_t r, uint32_t k0, uint32_t k1) {
    uint32_t f = 0;
    for (int box = 0; box < 8; ++box) {
        // Expansion: group `box` is the six bits starting one before bit 4 * box, wrapping round.
        uint32_t six = (Rotl(r, (4 * box + 31) & 31) >> 26) & 63;
        uint32_t key = box < 4 ? k0 >> (18 - 6 * box) : k1 >> (18 - 6 * (box - 4));
        f |= t.sp[box][(six ^ key) & 63];
    }
    return f;
}

}  // namespace

void deskey(const unsigned char* key, short edf) {
    uint64_t k = 0;
    for (int i = 0; i < kDESKeySize; ++i) k = (k << 8) | key[i];
    uint64_t cd = Permute(k, 64, kPC1, 56);
    uint32_t c = static_cast<uint32_t>(cd >> 28) & 0x0FFFFFFF;
    uint32_t d = static_cast<uint32_t>(cd) & 0x0FFFFFFF;
    uint32_t schedule[kDESScheduleWords];
    for (int round = 0; round < 16; ++round) {
        for (int s = 0; s < kShifts[round]; ++s) {
            c = ((c << 1) | (c >> 27)) & 0x0FFFFFFF;
            d = ((d << 1) | (d >> 27)) & 0x0FFFFFFF;
        }
        uint64_t sub = Permute((static_cast<uint64_t>(c) << 28) | d, 56, kPC2, 48);
        int slot = edf == DE1 ? 15 - round : round;
        schedule[2 * slot] = static_cast<uint32_t>(sub >> 24) & 0xFFFFFF;
        schedule[2 * slot + 1] = static_cast<uint32_t>(sub) & 0xFFFFFF;
    }
    usekey(schedule);
}

void usekey(const uint32_t* from) {
    std::memcpy(gSchedule, from, sizeof gSchedule);
}

void cpkey(uint32_t* into) {
    std::memcpy(into, gSchedule, sizeof gSchedule);
}

void des(const unsigned char* from, unsigned char* into) {
    const Tables& t = GetTables();
    uint64_t block = 0;
    for (int i = 0; i < kDESBlockSize; ++i) block = (block << 8) | from[i];
    block = Permute(block, 64, kIP, 64);
    uint32_t l = static_cast<uint32_t>(block >> 32);
    uint32_t r = static_cast<uint32_t>(block);
    for (int round = 0; round < 16; ++round) {
        uint32_t next = l ^ RoundFunction(t, r, gSchedule[2 * round], gSchedule[2 * round + 1]);
        l = r;
        r = next;
    }
    // The halves are not swapped after the last round.
    block = Permute((static_cast<uint64_t>(r) << 32) | l, 64, t.fp, 64);
    for (int i = kDESBlockSize - 1; i >= 0; --i) {
        into[i] = static_cast<unsigned char>(block);
        block >>= 8;
    }
}

}  // namespace crypto
}  // namespace halyx
