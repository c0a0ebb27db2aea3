// A scratch directory for one test, removed with everything in it when the test ends.
#ifndef HALYX_TESTS_PLATFORM_FILES_TEMPDIRECTORY_H
#define HALYX_TESTS_PLATFORM_FILES_TEMPDIRECTORY_H

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "Base/MacTypes.h"

class TempDirectory {
public:
    TempDirectory() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "halyx-files-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) mPath = pattern;
    }
    ~TempDirectory() {
        std::error_code ignored;
        if (!mPath.empty()) std::filesystem::remove_all(mPath, ignored);
    }
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    const std::string& Path() const { return mPath; }
    std::string Join(const std::string& name) const { return mPath + "/" + name; }

    // Writes `bytes` to the file `name` inside the directory; true on success.
    bool Write(const std::string& name, const std::string& bytes) const {
        FILE* f = std::fopen(Join(name).c_str(), "wb");
        if (f == nullptr) return false;
        bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
        return std::fclose(f) == 0 && ok;
    }

private:
    std::string mPath;
};

// A length-prefixed copy of `text` (at most 255 bytes).
inline std::basic_string<unsigned char> Pascal(const std::string& text) {
    std::basic_string<unsigned char> out(1, (unsigned char)text.size());
    out.append(text.begin(), text.end());
    return out;
}

#endif  // HALYX_TESTS_PLATFORM_FILES_TEMPDIRECTORY_H
