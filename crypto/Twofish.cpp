// A rendering of the cipher's published description: the byte permutations q0 and q1 are built
// from their 4-bit tables, and the key schedule uses the Reed-Solomon code for the S-box keys. h()
// runs two ways. On the fly, it takes each byte through the q permutations and the S-box key bytes
// and then the MDS matrix on every call: cheap to key, the way for a key that serves a few blocks.
// With full keying, reKey runs every byte value of each position through that chain once and keeps
// the results (MDS column included) in four tables of the key, and h() is four table reads: the
// way for a key that serves many blocks, such as the fixed key of the user-authentication records.
#include "crypto/Twofish.h"

#include <climits>
#include <cstring>

namespace halyx {
namespace crypto {

const char moduleDescription[] = "Pedagogical C code";
const int numRounds[4] = {0, 16, 16, 16};

namespace {

const DWORD kValidSig = 0x48534946;
const DWORD kRho = 0x01010101;
const unsigned kMdsPoly = 0x169;  // x^8 + x^6 + x^5 + x^3 + 1
const unsigned kRsPoly = 0x14D;   // x^8 + x^6 + x^3 + x^2 + 1

const BYTE kQt[2][4][16] = {
    {{0x8, 0x1, 0x7, 0xD, 0x6, 0xF, 0x3, 0x2, 0x0, 0xB, 0x5, 0x9, 0xE, 0xC, 0xA, 0x4},
     {0xE, 0xC, 0xB, 0x8, 0x1, 0x2, 0x3, 0x5, 0xF, 0x4, 0xA, 0x6, 0x7, 0x0, 0x9, 0xD},
     {0xB, 0xA, 0x5, 0xE, 0x6, 0xD, 0x9, 0x0, 0xC, 0x8, 0xF, 0x3, 0x2, 0x4, 0x7, 0x1},
     {0xD, 0x7, 0xF, 0x4, 0x1, 0x2, 0x6, 0xE, 0x9, 0xB, 0x3, 0x0, 0x8, 0x5, 0xC, 0xA}},
    {{0x2, 0x8, 0xB, 0xD, 0xF, 0x7, 0x6, 0xE, 0x3, 0x1, 0x9, 0x4, 0x0, 0xA, 0xC, 0x5},
     {0x1, 0xE, 0x2, 0xB, 0x4, 0xC, 0x3, 0x7, 0x6, 0xD, 0xA, 0x5, 0xF, 0x9, 0x0, 0x8},
     {0x4, 0xC, 0x7, 0x5, 0x1, 0x6, 0x9, 0xA, 0x0, 0xE, 0xD, 0x8, 0x2, 0xB, 0x3, 0xF},
     {0xB, 0x9, 0x5, 0x1, 0xC, 0x3, 0xD, 0xE, 0x6, 0x4, 0x7, 0xF, 0x2, 0x0, 0x8, 0xA}}};

const BYTE kMds[4][4] = {{0x01, 0xEF, 0x5B, 0x5B},
                         {0x5B, 0xEF, 0xEF, 0x01},
                         {0xEF, 0x5B, 0x01, 0xEF},
                         {0xEF, 0x01, 0xEF, 0x5B}};

const BYTE kRs[4][8] = {{0x01, 0xA4, 0x55, 0x87, 0x5A, 0x58, 0xDB, 0x9E},
                        {0xA4, 0x56, 0x82, 0xF3, 0x1E, 0xC6, 0x68, 0xE5},
                        {0x02, 0xA1, 0xFC, 0xC1, 0x47, 0xAE, 0x3D, 0x19},
                        {0xA4, 0x55, 0x87, 0x5A, 0x58, 0xDB, 0x9E, 0x03}};

BYTE GfMul(BYTE a, BYTE b, unsigned poly) {
    unsigned x = a, result = 0;
    for (unsigned y = b; y != 0; y >>= 1) {
        if (y & 1) result ^= x;
        x <<= 1;
        if (x & 0x100) x ^= poly;
    }
    return static_cast<BYTE>(result);
}

BYTE Ror4(BYTE x) {
    return static_cast<BYTE>(((x >> 1) | (x << 3)) & 0xF);
}

BYTE ComputeQ(int which, BYTE x) {
    BYTE a = x >> 4, b = x & 0xF;
    for (int stage = 0; stage < 2; ++stage) {
        BYTE a1 = a ^ b;
        BYTE b1 = static_cast<BYTE>(a ^ Ror4(b) ^ ((a << 3) & 0xF));
        a = kQt[which][2 * stage][a1];
        b = kQt[which][2 * stage + 1][b1];
    }
    return static_cast<BYTE>((b << 4) | a);
}

// The fixed permutations, and the MDS and Reed-Solomon matrices as one table per column:
// mds[col][y] is MDS column `col` multiplied by the byte y, rs[col][y] the same for the
// Reed-Solomon matrix.
struct QTables {
    BYTE q[2][256];
    DWORD mds[4][256];
    DWORD rs[8][256];
    QTables() {
        for (int which = 0; which < 2; ++which)
            for (int x = 0; x < 256; ++x) q[which][x] = ComputeQ(which, static_cast<BYTE>(x));
        for (int col = 0; col < 4; ++col) {
            for (int y = 0; y < 256; ++y) {
                DWORD z = 0;
                for (int row = 0; row < 4; ++row)
                    z |= static_cast<DWORD>(GfMul(kMds[row][col], static_cast<BYTE>(y), kMdsPoly))
                         << (8 * row);
                mds[col][y] = z;
            }
        }
        for (int col = 0; col < 8; ++col) {
            for (int y = 0; y < 256; ++y) {
                DWORD z = 0;
                for (int row = 0; row < 4; ++row)
                    z |= static_cast<DWORD>(GfMul(kRs[row][col], static_cast<BYTE>(y), kRsPoly))
                         << (8 * row);
                rs[col][y] = z;
            }
        }
    }
};

const QTables& Q() {
    static const QTables tables;
    return tables;
}

bool gTrackTables = false;
unsigned gTableUses[2][256];

// A use of a fixed permutation; `kCount` when table use is being counted.
template <bool kCount>
inline BYTE Qu(const QTables& t, int which, BYTE x) {
    if (kCount) ++gTableUses[which][x];
    return t.q[which][x];
}

BYTE Byte(DWORD w, int n) {
    return static_cast<BYTE>(w >> (8 * n));
}
DWORD Rotl(DWORD x, int n) {
    return (x << n) | (x >> (32 - n));
}
DWORD Rotr(DWORD x, int n) {
    return (x >> n) | (x << (32 - n));
}

int KeyWords(const keyInstance* key) {
    return key->keyLen <= 128 ? 2 : (key->keyLen + 63) / 64;
}

// h() on the fly: the key-dependent S-boxes for a key of k 64-bit words (list L of k words), then
// the MDS matrix.
template <bool kCount>
inline DWORD HWith(const QTables& t, DWORD x, const DWORD* l, int k) {
    auto q = [&t](int which, BYTE v) { return Qu<kCount>(t, which, v); };
    BYTE y[4] = {Byte(x, 0), Byte(x, 1), Byte(x, 2), Byte(x, 3)};
    if (k == 4) {
        y[0] = q(1, y[0]) ^ Byte(l[3], 0);
        y[1] = q(0, y[1]) ^ Byte(l[3], 1);
        y[2] = q(0, y[2]) ^ Byte(l[3], 2);
        y[3] = q(1, y[3]) ^ Byte(l[3], 3);
    }
    if (k >= 3) {
        y[0] = q(1, y[0]) ^ Byte(l[2], 0);
        y[1] = q(1, y[1]) ^ Byte(l[2], 1);
        y[2] = q(0, y[2]) ^ Byte(l[2], 2);
        y[3] = q(0, y[3]) ^ Byte(l[2], 3);
    }
    y[0] = q(1, q(0, q(0, y[0]) ^ Byte(l[1], 0)) ^ Byte(l[0], 0));
    y[1] = q(0, q(0, q(1, y[1]) ^ Byte(l[1], 1)) ^ Byte(l[0], 1));
    y[2] = q(1, q(1, q(0, y[2]) ^ Byte(l[1], 2)) ^ Byte(l[0], 2));
    y[3] = q(0, q(1, q(1, y[3]) ^ Byte(l[1], 3)) ^ Byte(l[0], 3));
    return t.mds[0][y[0]] ^ t.mds[1][y[1]] ^ t.mds[2][y[2]] ^ t.mds[3][y[3]];
}

DWORD H(const QTables& t, DWORD x, const DWORD* l, int k) {
    return gTrackTables ? HWith<true>(t, x, l, k) : HWith<false>(t, x, l, k);
}

// The permutation each byte position goes through at each step of h(), in the order they are
// applied: steps 0 to 3 are each followed by the S-box key bytes of words 3, 2, 1 and 0; step 4 is
// followed by the MDS matrix. A key of k 64-bit words starts at step 4 - k.
const int kSteps[4][5] = {{1, 1, 0, 0, 1}, {0, 1, 1, 0, 0}, {0, 0, 0, 1, 1}, {1, 0, 1, 1, 0}};

// Full keying: every byte value of each position through the steps of h() for this key's S-box
// keys, then its MDS column.
void BuildSBoxes(const QTables& t, keyInstance* key) {
    const DWORD* l = key->sboxKeys;
    int k = KeyWords(key);
    for (int pos = 0; pos < 4; ++pos) {
        BYTE y[256];
        for (int x = 0; x < 256; ++x) y[x] = static_cast<BYTE>(x);
        for (int step = 4 - k; step <= 4; ++step) {
            int which = kSteps[pos][step];
            if (gTrackTables)
                for (BYTE v : y) ++gTableUses[which][v];
            const BYTE* q = t.q[which];
            if (step == 4) {
                for (int x = 0; x < 256; ++x) key->sBox[pos][x] = t.mds[pos][q[y[x]]];
            } else {
                BYTE keyByte = Byte(l[3 - step], pos);
                for (BYTE& v : y) v = q[v] ^ keyByte;
            }
        }
    }
}

// h() of a fully keyed key: four table reads.
struct HTables {
    const keyInstance* key;
    DWORD operator()(DWORD x) const {
        return key->sBox[0][Byte(x, 0)] ^ key->sBox[1][Byte(x, 1)] ^ key->sBox[2][Byte(x, 2)] ^
               key->sBox[3][Byte(x, 3)];
    }
};

// h() on the fly under a key's S-box keys, copied so that they stay in registers.
template <bool kCount>
struct HOnTheFly {
    const QTables& t;
    DWORD l[4];
    int k;
    HOnTheFly(const QTables& tables, const keyInstance* key) : t(tables), k(KeyWords(key)) {
        for (int i = 0; i < 4; ++i) l[i] = key->sboxKeys[i];
    }
    DWORD operator()(DWORD x) const { return HWith<kCount>(t, x, l, k); }
};

// The Reed-Solomon code of two key words (8 key bytes), giving one S-box key word.
DWORD RsEncode(const QTables& t, DWORD even, DWORD odd) {
    DWORD s = 0;
    for (int i = 0; i < 4; ++i) s ^= t.rs[i][Byte(even, i)] ^ t.rs[4 + i][Byte(odd, i)];
    return s;
}

DWORD LoadWord(const BYTE* p) {
    return p[0] | (static_cast<DWORD>(p[1]) << 8) | (static_cast<DWORD>(p[2]) << 16) |
           (static_cast<DWORD>(p[3]) << 24);
}

void StoreWord(DWORD w, BYTE* p) {
    for (int i = 0; i < 4; ++i) p[i] = Byte(w, i);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads `bytes` bytes from 2 * bytes hexadecimal digits; false on a bad digit or a short text.
bool ParseHex(const char* text, int bytes, BYTE* out) {
    for (int i = 0; i < bytes; ++i) {
        int hi = HexDigit(text[2 * i]);
        if (hi < 0) return false;
        int lo = HexDigit(text[2 * i + 1]);
        if (lo < 0) return false;
        out[i] = static_cast<BYTE>(hi * 16 + lo);
    }
    return true;
}

template <class HFunction>
void EncryptWith(const keyInstance* key, HFunction h, const BYTE* in, BYTE* out) {
    DWORD r[4];
    for (int i = 0; i < 4; ++i) r[i] = LoadWord(in + 4 * i) ^ key->subKeys[i];
    for (int round = 0; round < key->numRounds; ++round) {
        DWORD t0 = h(r[0]);
        DWORD t1 = h(Rotl(r[1], 8));
        DWORD f0 = t0 + t1 + key->subKeys[2 * round + 8];
        DWORD f1 = t0 + 2 * t1 + key->subKeys[2 * round + 9];
        DWORD n2 = Rotr(r[2] ^ f0, 1);
        DWORD n3 = Rotl(r[3], 1) ^ f1;
        r[2] = r[0];
        r[3] = r[1];
        r[0] = n2;
        r[1] = n3;
    }
    // Undo the last swap while whitening the output.
    for (int i = 0; i < 4; ++i) StoreWord(r[(i + 2) & 3] ^ key->subKeys[4 + i], out + 4 * i);
}

template <class HFunction>
void DecryptWith(const keyInstance* key, HFunction h, const BYTE* in, BYTE* out) {
    DWORD r[4];
    for (int i = 0; i < 4; ++i) r[(i + 2) & 3] = LoadWord(in + 4 * i) ^ key->subKeys[4 + i];
    for (int round = key->numRounds - 1; round >= 0; --round) {
        DWORD p0 = r[2], p1 = r[3];
        DWORD t0 = h(p0);
        DWORD t1 = h(Rotl(p1, 8));
        DWORD f0 = t0 + t1 + key->subKeys[2 * round + 8];
        DWORD f1 = t0 + 2 * t1 + key->subKeys[2 * round + 9];
        DWORD p2 = Rotl(r[0], 1) ^ f0;
        DWORD p3 = Rotr(r[1] ^ f1, 1);
        r[0] = p0;
        r[1] = p1;
        r[2] = p2;
        r[3] = p3;
    }
    for (int i = 0; i < 4; ++i) StoreWord(r[i] ^ key->subKeys[i], out + 4 * i);
}

void EncryptBlock(const keyInstance* key, const BYTE* in, BYTE* out) {
    if (key->sBoxReady) return EncryptWith(key, HTables{key}, in, out);
    const QTables& t = Q();
    if (gTrackTables) return EncryptWith(key, HOnTheFly<true>(t, key), in, out);
    EncryptWith(key, HOnTheFly<false>(t, key), in, out);
}

void DecryptBlock(const keyInstance* key, const BYTE* in, BYTE* out) {
    if (key->sBoxReady) return DecryptWith(key, HTables{key}, in, out);
    const QTables& t = Q();
    if (gTrackTables) return DecryptWith(key, HOnTheFly<true>(t, key), in, out);
    DecryptWith(key, HOnTheFly<false>(t, key), in, out);
}

int CheckBlockArgs(const cipherInstance* cipher, const keyInstance* key, const BYTE* input,
                   int inputLen, const BYTE* outBuffer) {
    if (cipher == nullptr || key == nullptr) return BAD_PARAMS;
    if (key->keySig != kValidSig) return BAD_KEY_INSTANCE;
    if (cipher->cipherSig != kValidSig) return BAD_CIPHER_STATE;
    if (inputLen < 0 || inputLen % BLOCK_SIZE != 0) return BAD_INPUT_LEN;
    if (inputLen > 0 && (input == nullptr || outBuffer == nullptr)) return BAD_PARAMS;
    return TWOFISH_TRUE;
}

}  // namespace

int reKey(keyInstance* key) {
    if (key == nullptr) return BAD_PARAMS;
    if (key->keySig != kValidSig) return BAD_KEY_INSTANCE;
    const QTables& t = Q();
    int k = KeyWords(key);
    DWORD even[4], odd[4];
    for (int i = 0; i < k; ++i) {
        even[i] = key->key32[2 * i];
        odd[i] = key->key32[2 * i + 1];
        // The S-box keys are used in the reverse order of the key words they come from.
        key->sboxKeys[k - 1 - i] = RsEncode(t, even[i], odd[i]);
    }
    for (int i = 0; i < TOTAL_SUBKEYS / 2; ++i) {
        DWORD a = H(t, 2 * i * kRho, even, k);
        DWORD b = Rotl(H(t, (2 * i + 1) * kRho, odd, k), 8);
        key->subKeys[2 * i] = a + b;
        key->subKeys[2 * i + 1] = Rotl(a + 2 * b, 9);
    }
    key->sBoxReady = 0;
    if (key->fullKeying) {
        BuildSBoxes(t, key);
        key->sBoxReady = 1;
    }
    return TWOFISH_TRUE;
}

int makeKey(keyInstance* key, BYTE direction, int keyLen, const char* keyMaterial) {
    if (key == nullptr) return BAD_PARAMS;
    if (direction != DIR_ENCRYPT && direction != DIR_DECRYPT) return BAD_KEY_DIR;
    if (keyLen <= 0 || keyLen > MAX_KEY_BITS) return BAD_KEY_MAT;
    std::memset(key, 0, sizeof *key);
    key->direction = direction;
    key->keyLen = keyLen <= 128 ? 128 : (keyLen + 63) / 64 * 64;
    key->numRounds = numRounds[(key->keyLen - 1) / 64];
    key->keySig = kValidSig;
    if (keyMaterial == nullptr) return TWOFISH_TRUE;

    int digits = (keyLen + 3) / 4;
    BYTE bytes[MAX_KEY_BITS / 8] = {0};
    for (int i = 0; i < digits; ++i) {
        int d = HexDigit(keyMaterial[i]);
        if (d < 0) return BAD_KEY_MAT;
        bytes[i / 2] |= static_cast<BYTE>(i % 2 == 0 ? d << 4 : d);
    }
    // Bits beyond keyLen are zero, as the cipher pads short keys.
    if (keyLen % 8 != 0) bytes[keyLen / 8] &= static_cast<BYTE>(0xFF << (8 - keyLen % 8));
    std::memcpy(key->keyMaterial, keyMaterial, static_cast<size_t>(digits));
    for (int i = 0; i < MAX_KEY_BITS / 32; ++i) key->key32[i] = LoadWord(bytes + 4 * i);
    return reKey(key);
}

int cipherInit(cipherInstance* cipher, BYTE mode, const char* IV) {
    if (cipher == nullptr) return BAD_PARAMS;
    if (mode != MODE_ECB && mode != MODE_CBC) return BAD_CIPHER_MODE;
    std::memset(cipher, 0, sizeof *cipher);
    cipher->mode = mode;
    if (mode == MODE_CBC && IV != nullptr) {
        if (!ParseHex(IV, MAX_IV_SIZE, cipher->IV)) return BAD_IV_MAT;
        for (int i = 0; i < 4; ++i) cipher->iv32[i] = LoadWord(cipher->IV + 4 * i);
    }
    cipher->cipherSig = kValidSig;
    return TWOFISH_TRUE;
}

int blockEncrypt(cipherInstance* cipher, keyInstance* key, const BYTE* input, int inputLen,
                 BYTE* outBuffer) {
    int status = CheckBlockArgs(cipher, key, input, inputLen, outBuffer);
    if (status != TWOFISH_TRUE) return status;
    for (int done = 0; done < inputLen / 8; done += 16) {
        if (cipher->mode == MODE_CBC) {
            BYTE chained[16];
            for (int i = 0; i < 4; ++i)
                StoreWord(LoadWord(input + done + 4 * i) ^ cipher->iv32[i], chained + 4 * i);
            EncryptBlock(key, chained, outBuffer + done);
            for (int i = 0; i < 4; ++i) cipher->iv32[i] = LoadWord(outBuffer + done + 4 * i);
        } else {
            EncryptBlock(key, input + done, outBuffer + done);
        }
    }
    return inputLen;
}

int blockDecrypt(cipherInstance* cipher, keyInstance* key, const BYTE* input, int inputLen,
                 BYTE* outBuffer) {
    int status = CheckBlockArgs(cipher, key, input, inputLen, outBuffer);
    if (status != TWOFISH_TRUE) return status;
    for (int done = 0; done < inputLen / 8; done += 16) {
        if (cipher->mode == MODE_CBC) {
            DWORD next[4];
            for (int i = 0; i < 4; ++i) next[i] = LoadWord(input + done + 4 * i);
            DecryptBlock(key, input + done, outBuffer + done);
            for (int i = 0; i < 4; ++i) {
                StoreWord(LoadWord(outBuffer + done + 4 * i) ^ cipher->iv32[i],
                          outBuffer + done + 4 * i);
                cipher->iv32[i] = next[i];
            }
        } else {
            DecryptBlock(key, input + done, outBuffer + done);
        }
    }
    return inputLen;
}

int TableOp(int op) {
    switch (op) {
        case TAB_DISABLE:
            gTrackTables = false;
            return TWOFISH_TRUE;
        case TAB_ENABLE:
            gTrackTables = true;
            return TWOFISH_TRUE;
        case TAB_RESET:
            std::memset(gTableUses, 0, sizeof gTableUses);
            return TWOFISH_TRUE;
        case TAB_QUERY:
        case TAB_MIN_QUERY: {
            unsigned least = UINT_MAX;
            for (const auto& table : gTableUses)
                for (unsigned uses : table) least = uses < least ? uses : least;
            if (op == TAB_QUERY) return least > 0 ? TWOFISH_TRUE : 0;
            return least > INT_MAX ? INT_MAX : static_cast<int>(least);
        }
        default:
            return BAD_PARAMS;
    }
}

}  // namespace crypto
}  // namespace halyx
