#include "parser/CStringSoup.h"

#include <new>

#include "foundation/CString.h"

CStringSoup::CStringSoup() {}

CStringSoup::~CStringSoup() {
    Clear();
}

long CStringSoup::Insert(const char* text) {
    if (text == nullptr) return -1;
    long id = Find(text);
    if (id >= 0) return id;
    CString* copy = new (std::nothrow) CString(text);
    if (copy == nullptr) return -1;
    // A copy left without buffer for a non-empty text means memory ran out.
    const char* buffer = *copy;
    if (buffer == nullptr) {
        if (text[0] != '\0') {
            delete copy;
            return -1;
        }
        buffer = "";
    }
    id = static_cast<long>(mStrings.size());
    mStrings.push_back(copy);
    mIds.emplace(std::string_view(buffer, copy->Size()), id);
    return id;
}

const char* CStringSoup::Find(long id) const {
    if (id < 0 || static_cast<unsigned long>(id) >= mStrings.size()) return nullptr;
    const char* text = *mStrings[static_cast<size_t>(id)];
    return text != nullptr ? text : "";
}

long CStringSoup::Find(const char* text) const {
    if (text == nullptr) return -1;
    auto found = mIds.find(std::string_view(text));
    return found == mIds.end() ? -1 : found->second;
}

void CStringSoup::Clear() {
    mIds.clear();
    for (CString* text : mStrings) delete text;
    mStrings.clear();
}
