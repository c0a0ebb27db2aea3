#include "filter/JobOptions.h"

#include <cups/cups.h>

#include <cstring>

JobOptions JobOptions::FromText(const char* text) {
    JobOptions result;
    cups_option_t* options = nullptr;
    int count = text != nullptr ? cupsParseOptions(text, 0, &options) : 0;
    size_t prefix = std::strlen(kPiecesPrefix);
    for (int i = 0; i < count; ++i) {
        const char* name = options[i].name;
        const char* value = options[i].value != nullptr ? options[i].value : "";
        if (std::strcmp(name, "job-originating-host-name") == 0) {
            result.origin = value;
        } else if (std::strncmp(name, kPiecesPrefix, prefix) == 0 && name[prefix] != '\0') {
            if (result.hasPieces) {
                ++result.otherPiecesOptions;
                continue;
            }
            result.hasPieces = true;
            result.piecesOption = name;
            result.piecesPath = value;
        }
    }
    cupsFreeOptions(count, options);
    return result;
}
