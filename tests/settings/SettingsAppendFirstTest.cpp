// A store made with kAppendFirst against an ordinary one given the same calls: the same statuses,
// the same count along the way and, at the end, the same flattened form byte for byte.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Memory/MacMemory.h"
#include "settings/CFDataStream.h"
#include "settings/Settings.h"
#include "testing/FailureInjection.h"

namespace {

const FourCharCode kTag = HALYX_FOUR_CHAR('S', 't', 'C', 't');

enum Kind { kAdd, kBadAdd, kGet, kLock, kRemove, kCopy, kClearWithoutMemory };
struct Call {
    Kind kind;
    FourCharCode tag;
    SInt32 id;
    std::string text;
};

// Writes through the stream's `out`, as a stream that keeps no bytes in memory does.
class OutStream : public DataStream {
public:
    OutStream() { mValid = true; }
    bool out(const void* bytes, SInt32 count) override {
        written.append(static_cast<const char*>(bytes), static_cast<size_t>(count));
        return true;
    }
    bool in(void*, SInt32, SInt32*, OSErr*) override { return false; }
    std::string written;
};

OSStatus Apply(Settings& s, const Call& c) {
    switch (c.kind) {
        case kAdd:
            return s.Add(c.tag, c.id, c.text.data(), static_cast<SInt32>(c.text.size()));
        case kBadAdd:
            return s.Add(c.tag, c.id, nullptr, 4);
        case kGet: {
            SInt32 length = 0;
            return s.Get(c.tag, c.id, nullptr, &length);
        }
        case kLock:
            return s.Lock(c.tag, c.id);
        case kRemove:
            return s.Remove(c.tag, c.id);
        case kClearWithoutMemory: {
            // Fails for memory (the work handle, then its temporary stand-in) and keeps every
            // record.
            OutStream out;
            HalyxFailureScope scope;
            HalyxInjectFailures(kHalyxFailAllocation, 0, 2);
            return s.SaveAndClear(&out);
        }
        case kCopy: {
            Settings copy(s);
            Settings assigned;
            assigned = s;
            return copy.Count() == s.Count() && assigned.Count() == s.Count() ? copy.LastError()
                                                                              : paramErr;
        }
    }
    return paramErr;
}

std::string HandleForm(Settings& s) {
    Handle h = nullptr;
    if (s.GetSettingsHandle(&h) != noErr) return "<none>";
    std::string form(*h, static_cast<size_t>(GetHandleSize(h)));
    DisposeHandle(h);
    return form;
}

std::string StreamForm(Settings& s, bool clear) {
    CFDataStream out;
    if ((clear ? s.SaveAndClear(&out) : s.Save(&out)) != noErr) return "<none>";
    return std::string(reinterpret_cast<const char*>(CFDataGetBytePtr(out.data())),
                       static_cast<size_t>(CFDataGetLength(out.data())));
}

// Many new keys, enough for several chunks and for the key set to grow a few times.
std::vector<Call> ManyRecords() {
    std::vector<Call> calls;
    for (SInt32 i = 0; i < 3000; ++i)
        calls.push_back(
            {kAdd, 1000u * (3 + i % 3), i, std::string(static_cast<size_t>(i % 23), 'r')});
    return calls;
}

std::vector<Call> WithRepeat(std::vector<Call> calls) {
    calls.push_back({kAdd, 4000, 2998, "replaced after thousands"});
    return calls;
}

const struct {
    const char* name;
    std::vector<Call> calls;
} kCases[] = {
    {"new keys of every size, the zero key and the last key",
     {{kAdd, 0, 0, "zero"},
      {kAdd, kTag, 1, ""},
      {kAdd, kTag, 2, "8 bytes!"},
      {kAdd, 0xFFFFFFFFu, -1, std::string(300, 'w')},
      {kAdd, kTag, 3, std::string(9000, 'x')},
      {kAdd, kTag, 4, "after a chunk of its own"},
      {kBadAdd, kTag, 5, ""},
      {kAdd, kTag, 5, "a key refused once"}}},
    {"a repeated key keeps its place and takes the new bytes",
     {{kAdd, kTag, 1, "first"},
      {kAdd, kTag, 2, "second"},
      {kAdd, kTag, 1, "replaced, longer than before"},
      {kAdd, 0, 0, "zero"},
      {kAdd, 0, 0, "zero again"},
      {kAdd, kTag, 3, "third"}}},
    {"attributes and a lock midway",
     {{kAdd, kTag, 1, "locked"},
      {kLock, kTag, 1, ""},
      {kAdd, kTag, 1, "refused"},
      {kLock, kTag, 9, ""},
      {kAdd, kTag, 2, "after the lock"}}},
    {"a read, a removal and copies midway",
     {{kCopy, 0, 0, ""},
      {kAdd, kTag, 1, "one"},
      {kAdd, kTag, 2, "two"},
      {kCopy, 0, 0, ""},
      {kGet, kTag, 3, ""},
      {kRemove, kTag, 1, ""},
      {kAdd, kTag, 1, "back at the end"}}},
    {"thousands of new keys", ManyRecords()},
    {"a save that ran out of memory, then a repeated key and a new one",
     [] {
         std::vector<Call> calls = ManyRecords();
         calls.push_back({kClearWithoutMemory, 0, 0, ""});
         calls.push_back({kAdd, 3000, 2997, "repeated"});
         calls.push_back({kAdd, kTag, 1, "new"});
         return calls;
     }()},
    {"thousands of new keys, then a repeated one", WithRepeat(ManyRecords())},
};

TEST(SettingsAppendFirst, BehavesAndFlattensAsAnOrdinaryStore) {
    for (const auto& c : kCases) {
        Settings ordinary;
        Settings appended(Settings::kAppendFirst);
        for (size_t i = 0; i < c.calls.size(); ++i) {
            EXPECT_EQ(Apply(appended, c.calls[i]), Apply(ordinary, c.calls[i]))
                << c.name << " " << i;
            EXPECT_EQ(appended.LastError(), ordinary.LastError()) << c.name << " " << i;
            EXPECT_EQ(appended.Count(), ordinary.Count()) << c.name << " " << i;
        }
        const std::string form = HandleForm(ordinary);
        Settings copy(appended);
        EXPECT_EQ(HandleForm(copy), form) << c.name;
        OutStream out;
        ASSERT_EQ(appended.Save(&out), noErr) << c.name;
        EXPECT_EQ(out.written, form) << c.name;
        EXPECT_EQ(HandleForm(appended), form) << c.name;
        EXPECT_EQ(StreamForm(appended, false), form) << c.name;
        EXPECT_EQ(StreamForm(appended, true), form) << c.name;
        EXPECT_EQ(StreamForm(ordinary, true), form) << c.name;
        EXPECT_TRUE(appended.Empty()) << c.name;
        EXPECT_TRUE(ordinary.Empty()) << c.name;
        EXPECT_EQ(HandleForm(appended), HandleForm(ordinary)) << c.name;
    }
}

// Memory running out at any allocation fails only the call that needed it: every call that
// succeeded is in the form, and nothing of a failed one.
TEST(SettingsAppendFirst, MemoryRunningOutLeavesOnlyWholeCalls) {
    std::vector<Call> calls = ManyRecords();
    calls.resize(400);
    calls.push_back({kAdd, kTag, 7, std::string(5000, 'b')});
    calls.push_back({kAdd, 5000, 2, "a repeated key: the store turns ordinary"});
    calls.push_back({kAdd, kTag, 8, "after the turn"});
    HalyxFailureScope scope;
    bool failedOnce = false;
    for (int skip = 0;; ++skip) {
        Settings reference;
        Settings appended(Settings::kAppendFirst);
        ASSERT_TRUE(appended.Valid());
        HalyxInjectFailures(kHalyxFailAllocation, skip, 1);
        std::vector<OSStatus> statuses;
        for (const Call& call : calls) statuses.push_back(Apply(appended, call));
        const bool injected = HalyxInjectedFailureCount(kHalyxFailAllocation) > 0;
        HalyxResetFailures();
        for (size_t i = 0; i < calls.size(); ++i) {
            if (statuses[i] == memFullErr) {
                failedOnce = true;
                continue;
            }
            EXPECT_EQ(statuses[i], Apply(reference, calls[i])) << skip << " " << i;
        }
        EXPECT_EQ(HandleForm(appended), HandleForm(reference)) << skip;
        if (!injected) break;
        ASSERT_LT(skip, 1000);
    }
    EXPECT_TRUE(failedOnce);
}

}  // namespace
