#include "tests/corpus/CorpusFiles.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

std::string CorpusFolder() {
    const char* folder = std::getenv("HALYX_PPD_CORPUS");
    if (folder != nullptr && *folder != '\0') return folder;
    return "/var/cache/halyx-ppd-corpus";
}

std::vector<CorpusFile> ListCorpus(const std::string& folder) {
    std::vector<CorpusFile> files;
    if (!std::ifstream(folder + "/complete").good()) return files;
    std::ifstream index(folder + "/index.tsv");
    std::string line;
    while (std::getline(index, line)) {
        size_t tab = line.find('\t');
        if (tab == std::string::npos) continue;
        files.push_back({folder + "/ppd/" + line.substr(0, tab) + ".ppd", line.substr(tab + 1)});
    }
    return files;
}

std::vector<CorpusFile> SampleCorpus(const std::vector<CorpusFile>& files, size_t stride,
                                     size_t largest) {
    if (stride <= 1) return files;
    std::vector<std::pair<std::uintmax_t, size_t>> bySize;
    for (size_t i = 0; i < files.size(); ++i) {
        std::error_code error;
        std::uintmax_t size = std::filesystem::file_size(files[i].path, error);
        bySize.push_back({error ? 0 : size, i});  // an unreadable file counts as empty
    }
    std::sort(bySize.rbegin(), bySize.rend());
    std::vector<bool> keep(files.size(), false);
    for (size_t i = 0; i < files.size(); i += stride) keep[i] = true;
    for (size_t i = 0; i < largest && i < bySize.size(); ++i) keep[bySize[i].second] = true;
    std::vector<CorpusFile> sample;
    for (size_t i = 0; i < files.size(); ++i)
        if (keep[i]) sample.push_back(files[i]);
    return sample;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::vector<std::string> RawHeaderLines(const std::string& bytes, const std::string& keyword) {
    std::vector<std::string> lines;
    const std::string key = keyword + ":";
    size_t at = 0;
    while ((at = bytes.find(key, at)) != std::string::npos) {
        bool lineStart = at == 0 || bytes[at - 1] == '\n' || bytes[at - 1] == '\r';
        size_t value = at + key.size();
        at = value;
        if (!lineStart) continue;
        size_t end = bytes.find_first_of("\r\n", value);
        if (end == std::string::npos) end = bytes.size();
        lines.push_back(bytes.substr(value, end - value));
    }
    return lines;
}
