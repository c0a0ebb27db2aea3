// Runs a fuzz target without libFuzzer: every file given on the command line (or found in a folder
// given there) is fed to LLVMFuzzerTestOneInput as is, then a fixed number of deterministic mutations
// of each (bit flips, truncations, insertions, splices). This keeps every target exercised by the
// ordinary test runs, under the sanitizers too; real fuzzing uses the NAME_fuzzer binaries.
//
// Environment: HALYX_FUZZ_MUTATIONS sets the mutations per input (default 200).
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

bool ReadFile(const std::string& path, std::string* out) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return false;
    char buf[65536];
    size_t n;
    out->clear();
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out->append(buf, n);
    std::fclose(f);
    return true;
}

void Collect(const std::string& path, std::vector<std::string>* files) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return;
    if (!S_ISDIR(st.st_mode)) {
        files->push_back(path);
        return;
    }
    DIR* d = opendir(path.c_str());
    if (d == nullptr) return;
    std::vector<std::string> names;
    while (struct dirent* e = readdir(d)) {
        std::string name = e->d_name;
        if (name != "." && name != "..") names.push_back(path + "/" + name);
    }
    closedir(d);
    std::sort(names.begin(), names.end());
    for (const std::string& n : names) Collect(n, files);
}

// A small fixed generator so that runs are repeatable.
struct Rng {
    uint64_t s;
    uint32_t Next() {
        s ^= s << 13;
        s ^= s >> 7;
        s ^= s << 17;
        return static_cast<uint32_t>(s);
    }
    size_t Below(size_t n) { return n == 0 ? 0 : Next() % n; }
};

std::string Mutate(const std::string& in, const std::string& other, Rng& rng) {
    std::string s = in;
    int steps = 1 + static_cast<int>(rng.Below(4));
    for (int i = 0; i < steps; ++i) {
        switch (rng.Below(6)) {
            case 0:  // flip a bit
                if (!s.empty()) s[rng.Below(s.size())] ^= static_cast<char>(1u << rng.Below(8));
                break;
            case 1:  // truncate
                s.resize(rng.Below(s.size() + 1));
                break;
            case 2:  // insert random bytes
            {
                size_t at = rng.Below(s.size() + 1);
                std::string ins(1 + rng.Below(16), '\0');
                for (char& c : ins) c = static_cast<char>(rng.Next());
                s.insert(at, ins);
                break;
            }
            case 3:  // replace a byte with an interesting one
                if (!s.empty()) {
                    static const char kBytes[] = {'\0', '\n', '\r', '"', '<', '>', ':', '*',
                                                  '/',  '%',  '\xff', '\x80', ' ', '\t'};
                    s[rng.Below(s.size())] = kBytes[rng.Below(sizeof kBytes)];
                }
                break;
            case 4:  // splice with another input
                if (!other.empty()) {
                    size_t from = rng.Below(other.size());
                    s.insert(rng.Below(s.size() + 1), other.substr(from, rng.Below(256)));
                }
                break;
            default:  // duplicate a range
                if (!s.empty()) {
                    size_t from = rng.Below(s.size());
                    s.insert(rng.Below(s.size() + 1), s.substr(from, rng.Below(512)));
                }
                break;
        }
    }
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) Collect(argv[i], &files);
    std::vector<std::string> inputs;
    inputs.push_back(std::string());
    for (const std::string& f : files) {
        std::string data;
        if (ReadFile(f, &data)) inputs.push_back(data);
    }
    int mutations = 200;
    if (const char* env = std::getenv("HALYX_FUZZ_MUTATIONS")) mutations = std::atoi(env);

    Rng rng{0x9e3779b97f4a7c15ull};
    size_t runs = 0;
    for (size_t i = 0; i < inputs.size(); ++i) {
        const std::string& in = inputs[i];
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(in.data()), in.size());
        ++runs;
        const std::string& other = inputs[(i + 1) % inputs.size()];
        for (int m = 0; m < mutations; ++m) {
            std::string mutated = Mutate(in, other, rng);
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(mutated.data()),
                                   mutated.size());
            ++runs;
        }
    }
    std::printf("replayed %zu inputs from %zu files\n", runs, files.size());
    return 0;
}
