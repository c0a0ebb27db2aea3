#include "PPDUtils/HexLanguageExceptions.h"

#include <iterator>

namespace {

const char* const kExceptionLanguages[] = {
    "Japanese",   "ChineseTrad", "ChineseSimp", "Chinese", "Korean",    "Czech",
    "Russian",    "Bulg",        "Estonian",    "Greek",   "Hungarian", "Latvian",
    "Lithuanian", "Polish",      "Romanian",    "Slovak",  "Slovenian",
};

}  // namespace

HexLanguageExceptions::HexLanguageExceptions()
    : mLanguages(std::begin(kExceptionLanguages), std::end(kExceptionLanguages)) {}

HexLanguageExceptions::~HexLanguageExceptions() {}

bool HexLanguageExceptions::IsException(const char* languageVersion) const {
    return languageVersion != nullptr && mLanguages.count(languageVersion) != 0;
}
