#include "crypto/NoteCipher.h"

#include <cstring>

#include "crypto/DES.h"
#include "crypto/Keys.h"

namespace halyx {
namespace crypto {

int NoteKeyIndex(const char* useSpecialKeyValue) {
    if (useSpecialKeyValue != nullptr && std::strcmp(useSpecialKeyValue, "2") == 0) return 2;
    if (useSpecialKeyValue != nullptr && std::strcmp(useSpecialKeyValue, "3") == 0) return 3;
    return 1;
}

bool EncryptNoteHex(const char* plain, int keyIndex, char* output) {
    static const char kHex[] = "0123456789ABCDEF";
    char text[kNoteOutputSize];
    unsigned char block[kNoteMaxPlainLength + 1];
    std::memset(output, 0, kNoteOutputSize);
    std::memset(text, 0, sizeof text);

    int n = 0;
    if (plain != nullptr)
        while (n < kNoteMaxPlainLength && plain[n] != '\0') ++n;
    int padded = (n + kDESBlockSize) / kDESBlockSize * kDESBlockSize;
    unsigned char pad = static_cast<unsigned char>(padded - n);
    std::memset(block, 0, sizeof block);
    if (n > 0) std::memcpy(block, plain, static_cast<size_t>(n));
    std::memset(block + n, pad, static_cast<size_t>(pad));

    deskey(NoteKey(keyIndex), EN0);
    for (int i = 0; i < padded; i += kDESBlockSize) des(block + i, block + i);

    for (int i = 0; i < padded; ++i) {
        text[2 * i] = kHex[block[i] >> 4];
        text[2 * i + 1] = kHex[block[i] & 15];
    }
    std::memcpy(output, text, kNoteOutputSize);
    return true;
}

}  // namespace crypto
}  // namespace halyx
