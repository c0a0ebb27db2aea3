// DES (the 56-bit-key block cipher on 8-byte blocks), in the shape of the classic public-domain
// routines: one current key schedule per process, loaded by deskey or usekey, used by des.
//
// A schedule is 32 words: two per round, each holding 24 bits of that round's 48-bit subkey in the
// order the rounds use them (a decryption schedule is the encryption one in reverse round order).
// The schedule is process-wide and not guarded: everything runs on one thread.
#ifndef HALYX_CRYPTO_DES_H
#define HALYX_CRYPTO_DES_H

#include <cstdint>

namespace halyx {
namespace crypto {

enum { EN0 = 0, DE1 = 1 };  // deskey's mode: encipher, decipher

const int kDESBlockSize = 8;
const int kDESKeySize = 8;
const int kDESScheduleWords = 32;

// Builds the schedule for the 8-byte `key` (parity bits ignored) and makes it current. `edf` is EN0
// or DE1; any other value is taken as EN0.
void deskey(const unsigned char* key, short edf);

// Makes a copy of the 32-word `from` the current schedule.
void usekey(const uint32_t* from);

// Copies the current schedule into the 32 words at `into`.
void cpkey(uint32_t* into);

// Runs one 8-byte block through the current schedule; `from` and `into` may be the same block.
void des(const unsigned char* from, unsigned char* into);

}  // namespace crypto
}  // namespace halyx

#endif  // HALYX_CRYPTO_DES_H
