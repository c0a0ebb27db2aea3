#include "crypto/Keys.h"

namespace halyx {
namespace crypto {
namespace {

#ifdef HALYX_KEYS_FILE
#include HALYX_KEYS_FILE
#else
#include "crypto/PlaceholderKeys.inc"
#endif

static_assert(sizeof kNoteKeys == kNoteKeyCount * kNoteKeySize, "three 8-byte note keys");
static_assert(sizeof kUserAuthKey == kUserAuthKeySize, "a 32-byte user-authentication key");

}  // namespace

const unsigned char* NoteKey(int which) {
    if (which < 1 || which > kNoteKeyCount) which = 1;
    return kNoteKeys[which - 1];
}

const unsigned char* UserAuthKey() {
    return kUserAuthKey;
}

}  // namespace crypto
}  // namespace halyx
