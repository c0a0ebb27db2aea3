// The fixed keys shared with the print server: three DES keys for job notes and one 256-bit Twofish
// key for user-authentication records.
//
// The values come from one file chosen when the project is configured: -DHALYX_KEYS_FILE=path names
// a file laid out like crypto/PlaceholderKeys.inc; without it the placeholders are built in, and
// what they protect cannot be read by a real print server.
#ifndef HALYX_CRYPTO_KEYS_H
#define HALYX_CRYPTO_KEYS_H

namespace halyx {
namespace crypto {

const int kNoteKeyCount = 3;
const int kNoteKeySize = 8;
const int kUserAuthKeySize = 32;

// The 8 bytes of note key `which` (1, 2 or 3); any other number gives the first key.
const unsigned char* NoteKey(int which);

// The 32 bytes of the fixed user-authentication key.
const unsigned char* UserAuthKey();

}  // namespace crypto
}  // namespace halyx

#endif  // HALYX_CRYPTO_KEYS_H
