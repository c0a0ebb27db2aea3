// Splits arbitrary bytes into a text and a pattern and runs the string search and editing on them:
// the Boyer-Moore search must agree with a plain search, and the string edits must keep the length
// right and never write past a buffer.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "foundation/BoyerMoore.h"
#include "foundation/CString.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    size_t split = data[0] % (size < 64 ? size : 64);
    std::string pattern(reinterpret_cast<const char*>(data) + 1, split > 0 ? split - 1 : 0);
    std::string text(reinterpret_cast<const char*>(data) + (split > 0 ? split : 1),
                     size - (split > 0 ? split : 1));

    BoyerMoore search(pattern.data(), static_cast<short>(pattern.size()), &text[0],
                      static_cast<long>(text.size()));
    long start = static_cast<long>(data[0]) % (static_cast<long>(text.size()) + 1);
    long found = search.Search(start, nullptr, 0);
    size_t expected = pattern.empty() ? std::string::npos : text.find(pattern, start);
    long want = expected == std::string::npos ? -1 : static_cast<long>(expected) - start;
    if (found != want) std::abort();

    std::string plainText(text.c_str());
    std::string plainPattern(pattern.c_str());
    CString s(plainText.c_str());
    s + plainPattern.c_str();
    s.Replace(CString(plainPattern.c_str()), CString(plainText.c_str()));
    s.Contains(plainPattern.c_str());
    char* buffer = const_cast<char*>(static_cast<const char*>(s));
    if (buffer != nullptr) {
        s.Remove(buffer + s.Size() / 2, data[0]);
        buffer = const_cast<char*>(static_cast<const char*>(s));
        s.Insert(buffer + s.Size() / 3, plainPattern.c_str());
    }
    const char* result = s;
    if ((result == nullptr ? 0 : std::strlen(result)) != s.Size()) std::abort();
    return 0;
}
