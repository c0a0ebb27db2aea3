// Packing and unpacking user-authentication records, and enciphering job notes.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "PPDObjects/Controls/PPDXUserAuthLib.h"
#include "crypto/NoteCipher.h"

namespace {

const UInt8 kGuid[kUAL_GUIDSize] = {2, 0, 0, 0, 0, 1, 0x10, 0x20, 0x30, 0x40};

// Unpacks `text` and lets the strings go; false when the record does not unpack.
bool UnpackOnce(const char* text) {
    char *u = nullptr, *p = nullptr, *d = nullptr;
    UAL_DomainType type;
    UInt8 guid[kUAL_GUIDSize];
    const bool unpacked = UAL_UnpackAndDecrypt(text, &u, &p, &d, &type, guid) == 0;
    benchmark::DoNotOptimize(u);
    std::free(u);
    std::free(p);
    std::free(d);
    return unpacked;
}

// One record of a user name and password of state.range(0) bytes each, packed then unpacked.
void BM_PackAndUnpack(benchmark::State& state) {
    std::string user(static_cast<size_t>(state.range(0)), 'u');
    std::string pass(static_cast<size_t>(state.range(0)), 'p');
    for (auto _ : state) {
        char* text = nullptr;
        if (UAL_PackAndEncrypt(user.c_str(), pass.c_str(), "", kUAL_DomainTypeDefault, kGuid,
                               &text) != 0) {
            state.SkipWithError("packing failed");
            break;
        }
        if (!UnpackOnce(text)) state.SkipWithError("unpacking failed");
        AUTH_freeBuffer(&text);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PackAndUnpack)->Arg(8)->Arg(64)->Arg(255);

// One pack alone: the record of a job note with a user name and password of 8 bytes each, as the
// print writes one per user-password note.
void BM_Pack(benchmark::State& state) {
    for (auto _ : state) {
        char* text = nullptr;
        if (UAL_PackAndEncrypt("username", "password", "", kUAL_DomainTypeDefault, kGuid, &text) !=
            0) {
            state.SkipWithError("packing failed");
            break;
        }
        benchmark::DoNotOptimize(text);
        AUTH_freeBuffer(&text);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Pack);

// One unpack alone, of the same record.
void BM_Unpack(benchmark::State& state) {
    char* text = nullptr;
    if (UAL_PackAndEncrypt("username", "password", "", kUAL_DomainTypeDefault, kGuid, &text) != 0) {
        state.SkipWithError("packing failed");
        return;
    }
    for (auto _ : state) {
        if (!UnpackOnce(text)) {
            state.SkipWithError("unpacking failed");
            break;
        }
    }
    AUTH_freeBuffer(&text);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Unpack);

void BM_EncryptNote(benchmark::State& state) {
    std::string note(static_cast<size_t>(state.range(0)), 'n');
    char out[halyx::crypto::kNoteOutputSize];
    for (auto _ : state) {
        halyx::crypto::EncryptNoteHex(note.c_str(), 1, out);
        benchmark::DoNotOptimize(out);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EncryptNote)->Arg(7)->Arg(119);

}  // namespace

BENCHMARK_MAIN();
