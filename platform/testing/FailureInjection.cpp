#include "testing/FailureInjection.h"

namespace {

struct Arming {
    int skip = 0;
    int count = 0;  // failures left; -1 = without end
    int failed = 0;
};

Arming sArming[kHalyxFailureKindCount];

bool ValidKind(HalyxFailureKind kind) { return kind >= 0 && kind < kHalyxFailureKindCount; }

}  // namespace

extern "C" void HalyxInjectFailures(HalyxFailureKind kind, int skip, int count) {
    if (!ValidKind(kind)) return;
    sArming[kind].skip = skip < 0 ? 0 : skip;
    sArming[kind].count = count < -1 ? 0 : count;
}

extern "C" int HalyxShouldFail(HalyxFailureKind kind) {
    if (!ValidKind(kind)) return 0;
    Arming& a = sArming[kind];
    if (a.count == 0) return 0;
    if (a.skip > 0) {
        --a.skip;
        return 0;
    }
    if (a.count > 0) --a.count;
    ++a.failed;
    return 1;
}

extern "C" int HalyxInjectedFailureCount(HalyxFailureKind kind) {
    return ValidKind(kind) ? sArming[kind].failed : 0;
}

extern "C" void HalyxResetFailures(void) {
    for (Arming& a : sArming) a = Arming();
}
