// Enciphering of job-note values for the print job: DES in ECB mode under one of the three note
// keys, with PKCS #5 padding, written as upper-case hexadecimal text.
#ifndef HALYX_CRYPTO_NOTECIPHER_H
#define HALYX_CRYPTO_NOTECIPHER_H

namespace halyx {
namespace crypto {

// The output buffer's size, terminator included.
const int kNoteOutputSize = 256;
// The longest value enciphered whole: 119 bytes pad to 120, whose 240 digits fit the output. Longer
// values are cut to this length, so the output always keeps its terminator.
const int kNoteMaxPlainLength = 119;

// The note key chosen by the value of the PPD's special option "*UseSpecialKey": "2" and "3" choose
// the second and third keys; anything else, null included, the first.
int NoteKeyIndex(const char* useSpecialKeyValue);

// Enciphers the NUL-terminated `plain` (null counts as empty) under note key `keyIndex` into the
// kNoteOutputSize bytes of `output`: 2 * m hexadecimal digits for m = n + 8 rounded down to a
// multiple of 8, then zeros. Always true.
bool EncryptNoteHex(const char* plain, int keyIndex, char* output);

}  // namespace crypto
}  // namespace halyx

#endif  // HALYX_CRYPTO_NOTECIPHER_H
