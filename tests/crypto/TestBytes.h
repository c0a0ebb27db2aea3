// Shared by the crypto tests: a repeatable byte source and hexadecimal conversion.
#ifndef HALYX_TESTS_CRYPTO_TESTBYTES_H
#define HALYX_TESTS_CRYPTO_TESTBYTES_H

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace halyx_test {

class RandomBytes {
public:
    explicit RandomBytes(uint32_t seed) : mEngine(seed) {}
    std::vector<unsigned char> Bytes(size_t n) {
        std::vector<unsigned char> out(n);
        for (auto& b : out) b = static_cast<unsigned char>(mEngine());
        return out;
    }
    // Uniform in [lo, hi].
    size_t Between(size_t lo, size_t hi) {
        return lo + static_cast<size_t>(mEngine() % static_cast<uint32_t>(hi - lo + 1));
    }

private:
    std::mt19937 mEngine;
};

inline std::vector<unsigned char> FromHex(const std::string& hex) {
    std::vector<unsigned char> out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        out.push_back(static_cast<unsigned char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return out;
}

inline std::string ToHex(const unsigned char* p, size_t n) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (size_t i = 0; i < n; ++i) {
        out += kDigits[p[i] >> 4];
        out += kDigits[p[i] & 15];
    }
    return out;
}

inline std::string ToHex(const std::vector<unsigned char>& v) {
    return ToHex(v.data(), v.size());
}

}  // namespace halyx_test

#endif  // HALYX_TESTS_CRYPTO_TESTBYTES_H
