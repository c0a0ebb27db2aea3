// Twofish (128-bit blocks, keys of up to 256 bits, 16 rounds) behind the block-cipher programming
// interface of the advanced-encryption-standard candidates: a key instance made by makeKey (and
// re-keyed by reKey after its key words are changed), a cipher instance made by cipherInit (mode
// and IV), and blockEncrypt / blockDecrypt over whole blocks.
//
// Key material and IVs are given as hexadecimal text, two digits per byte in byte order. Key words
// and blocks use the cipher's little-endian byte order: key32[0] holds key bytes 0..3, byte 0
// lowest. Every call returns TWOFISH_TRUE (1) on success, or one of the negative BAD_... codes;
// blockEncrypt and blockDecrypt return the number of bits processed instead.
#ifndef HALYX_CRYPTO_TWOFISH_H
#define HALYX_CRYPTO_TWOFISH_H

#include <cstdint>

namespace halyx {
namespace crypto {

typedef unsigned char BYTE;
typedef uint32_t DWORD;

enum {
    DIR_ENCRYPT = 0,
    DIR_DECRYPT = 1,

    MODE_ECB = 1,
    MODE_CBC = 2,

    TWOFISH_TRUE = 1,
    BAD_KEY_DIR = -1,
    BAD_KEY_MAT = -2,
    BAD_KEY_INSTANCE = -3,
    BAD_CIPHER_MODE = -4,
    BAD_CIPHER_STATE = -5,
    BAD_INPUT_LEN = -6,
    BAD_PARAMS = -7,
    BAD_IV_MAT = -8,

    BLOCK_SIZE = 128,    // bits
    MAX_KEY_BITS = 256,  // longer keys are refused
    MAX_KEY_SIZE = 64,   // hexadecimal digits of the longest key
    MAX_IV_SIZE = 16,    // bytes
    TOTAL_SUBKEYS = 40,  // 8 whitening words and 2 per round

    // TableOp's operations (see there).
    TAB_DISABLE = 0,
    TAB_ENABLE = 1,
    TAB_RESET = 2,
    TAB_QUERY = 3,
    TAB_MIN_QUERY = 50
};

struct keyInstance {
    BYTE direction;  // DIR_ENCRYPT or DIR_DECRYPT; the schedule is the same for both
    int keyLen;      // bits, as asked: 1 to 256; the cipher pads it with zeros to 128, 192 or 256
    DWORD keySig;    // set by makeKey; other calls refuse an instance without it
    int numRounds;
    char keyMaterial[MAX_KEY_SIZE + 4];
    DWORD key32[MAX_KEY_BITS / 32];
    DWORD sboxKeys[MAX_KEY_BITS / 64];
    DWORD subKeys[TOTAL_SUBKEYS];
    // Nonzero asks reKey to build the full key-dependent S-box tables below, so that h() in the
    // rounds is four table reads. Building them costs about as much as enciphering ten blocks on
    // the fly, and each block is then about four times cheaper: worth it for a key that serves
    // many blocks (or is kept), not for one that serves a few. makeKey clears it.
    int fullKeying;
    int sBoxReady;  // set by reKey when sBox holds the tables of the current key words
    // sBox[i][x]: the byte x in position i through the q permutations and the S-box key bytes of
    // that position, then multiplied by MDS column i.
    DWORD sBox[4][256];
};

struct cipherInstance {
    BYTE mode;  // MODE_ECB or MODE_CBC
    BYTE IV[MAX_IV_SIZE];
    DWORD cipherSig;
    DWORD
    iv32[BLOCK_SIZE / 32];  // the chaining value; CBC calls carry it from one call to the next
};

// The module's description and its rounds for keys of up to 64, 128, 192 and 256 bits.
extern const char moduleDescription[];
extern const int numRounds[4];

// Sets up `key` for `keyLen` bits. With `keyMaterial` (keyLen / 4 hexadecimal digits, more are
// ignored) the key words are loaded and the schedule built; with NULL the key words are zero and
// the caller loads key32 and calls reKey. BAD_KEY_DIR for a bad direction, BAD_KEY_MAT for a bad
// length or digit, BAD_PARAMS for a null `key`.
int makeKey(keyInstance* key, BYTE direction, int keyLen, const char* keyMaterial);

// Sets up `cipher` for `mode`. CBC takes its IV from 32 hexadecimal digits (NULL: zero IV); ECB
// ignores `IV`. BAD_CIPHER_MODE for another mode, BAD_IV_MAT for a bad digit.
int cipherInit(cipherInstance* cipher, BYTE mode, const char* IV);

// Enciphers or deciphers `inputLen` bits (a multiple of 128) from `input` to `outBuffer` (which may
// be `input`). Returns the number of bits processed; BAD_INPUT_LEN, BAD_PARAMS, BAD_KEY_INSTANCE or
// BAD_CIPHER_STATE on bad arguments.
int blockEncrypt(cipherInstance* cipher, keyInstance* key, const BYTE* input, int inputLen,
                 BYTE* outBuffer);
int blockDecrypt(cipherInstance* cipher, keyInstance* key, const BYTE* input, int inputLen,
                 BYTE* outBuffer);

// Rebuilds the S-box keys and subkeys from key32 and keyLen, and the S-box tables too when
// fullKeying is set.
int reKey(keyInstance* key);

// Table-use tracking for tests of the cipher itself. TAB_ENABLE / TAB_DISABLE switch counting of
// the uses of each entry of the two fixed byte permutations on or off, TAB_RESET clears the counts;
// TAB_QUERY answers TWOFISH_TRUE when every entry was used at least once, else 0; TAB_MIN_QUERY
// answers the smallest count. A key with full keying uses the permutations while its tables are
// built, not in its blocks. Process-wide, not guarded. Unknown operations give BAD_PARAMS.
int TableOp(int op);

}  // namespace crypto
}  // namespace halyx

#endif  // HALYX_CRYPTO_TWOFISH_H
