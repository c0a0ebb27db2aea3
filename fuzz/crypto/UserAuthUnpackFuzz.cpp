// Feeds arbitrary text to the user-authentication unpacker. The first byte picks how deep the input
// reaches: 0 passes the rest as the text itself; 1 enciphers the rest as an outer record under the
// fixed key, so the record's own checks see it; 2 builds a well-formed outer record around the
// rest, whose first four bytes give the sealed-block length it claims, so the sealed block's checks
// see it. Every input must be refused or unpacked without a fault, and nothing may leak.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "PPDObjects/Controls/PPDXUserAuthLib.h"
#include "crypto/Base64Encoder.h"
#include "crypto/Keys.h"
#include "crypto/Twofish.h"

namespace {

namespace tf = halyx::crypto;

const size_t kMaxInput = 1 << 16;

void Encipher(const unsigned char* key, std::vector<unsigned char>* data) {
    data->resize((data->size() + 15) / 16 * 16);
    std::string hex;
    static const char kDigits[] = "0123456789ABCDEF";
    for (int i = 0; i < 32; ++i) {
        hex += kDigits[key[i] >> 4];
        hex += kDigits[key[i] & 15];
    }
    tf::keyInstance k;
    tf::cipherInstance c;
    tf::makeKey(&k, tf::DIR_ENCRYPT, 256, hex.c_str());
    tf::cipherInit(&c, tf::MODE_ECB, nullptr);
    int bits = static_cast<int>(data->size() * 8);
    if (bits > 0) tf::blockEncrypt(&c, &k, data->data(), bits, data->data());
}

std::string ToText(const std::vector<unsigned char>& data) {
    std::string text(static_cast<size_t>(tf::Base64Encoder::EncodedLength(int(data.size()), false)),
                     '\0');
    tf::Base64Encoder::Encode(data.data(), int(data.size()), &text[0], false);
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0 || size > kMaxInput) return 0;
    std::vector<unsigned char> rest(data + 1, data + size);
    std::string text;
    switch (data[0] % 3) {
        case 0:
            text.assign(rest.begin(), rest.end());
            break;
        case 1:
            Encipher(tf::UserAuthKey(), &rest);
            text = ToText(rest);
            break;
        default: {
            std::vector<unsigned char> outer(40, 0);
            outer[3] = 1;  // version
            for (size_t i = 0; i < 4 && i < rest.size(); ++i) outer[4 + i] = rest[i];
            static const unsigned char kSessionKey[32] = {7};
            std::memcpy(outer.data() + 8, kSessionKey, sizeof kSessionKey);
            std::vector<unsigned char> sealed(rest.size() > 4 ? rest.begin() + 4 : rest.end(),
                                              rest.end());
            Encipher(kSessionKey, &sealed);
            outer.insert(outer.end(), sealed.begin(), sealed.end());
            outer.insert(outer.end(), 8, 0);
            Encipher(tf::UserAuthKey(), &outer);
            text = ToText(outer);
            break;
        }
    }
    char* user = nullptr;
    char* password = nullptr;
    char* domain = nullptr;
    UAL_DomainType type = 0;
    UInt8 guid[kUAL_GUIDSize];
    if (UAL_UnpackAndDecrypt(text.c_str(), &user, &password, &domain, &type, guid) == 0) {
        // What unpacks packs again.
        char* again = nullptr;
        if (UAL_PackAndEncrypt(user, password, domain, type, guid, &again) != 0) std::abort();
        AUTH_freeBuffer(&again);
    } else if (user != nullptr || password != nullptr || domain != nullptr) {
        std::abort();
    }
    std::free(user);
    std::free(password);
    std::free(domain);
    return 0;
}
