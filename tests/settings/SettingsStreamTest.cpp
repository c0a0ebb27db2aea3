#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "CoreFoundation/CFData.h"
#include "Memory/MacMemory.h"
#include "settings/CFDataStream.h"
#include "settings/Settings.h"
#include "testing/FailureInjection.h"

namespace {

// A stream whose writes and reads can be inspected or made to fail.
class RecordingStream : public DataStream {
public:
    explicit RecordingStream(bool valid) { mValid = valid; }
    bool out(const void* bytes, SInt32 count) override {
        ++outCalls;
        written.append(static_cast<const char*>(bytes), static_cast<size_t>(count));
        mSize += count;
        return true;
    }
    bool in(void*, SInt32, SInt32* read, OSErr* error) override {
        *read = 0;
        *error = ioErr;
        return false;
    }
    std::string written;
    int outCalls = 0;
};

CFDataRef DataOf(const CFDataStream& stream) {
    return CFDataCreate(kCFAllocatorDefault, CFDataGetBytePtr(stream.data()),
                        CFDataGetLength(stream.data()));
}

TEST(SettingsStream, SavedStoreReadsBackIntoANewStore) {
    Settings s;
    SInt32 count = 3;
    ASSERT_EQ(s.Add(5000, 5002, &count, sizeof count), noErr);
    ASSERT_EQ(s.Add(HALYX_FOUR_CHAR('S', 't', 'C', 't'), 6001, "Booklet", 7), noErr);
    ASSERT_EQ(s.Add(1000, 1003, "", 0), noErr);
    ASSERT_EQ(s.Lock(5000, 5002), noErr);

    CFDataStream out;
    ASSERT_TRUE(out.valid());
    EXPECT_FALSE(out.dataExists());
    ASSERT_EQ(s.Save(&out), noErr);
    EXPECT_TRUE(out.dataExists());
    EXPECT_EQ(out.dataSize(), static_cast<SInt32>(CFDataGetLength(out.data())));
    // Written in place into the stream, the form is the store's flattened form, byte for byte.
    Handle flat = nullptr;
    ASSERT_EQ(s.GetSettingsHandle(&flat), noErr);
    EXPECT_EQ(std::string(*flat, static_cast<size_t>(GetHandleSize(flat))),
              std::string(reinterpret_cast<const char*>(CFDataGetBytePtr(out.data())),
                          static_cast<size_t>(CFDataGetLength(out.data()))));
    DisposeHandle(flat);

    CFDataRef data = DataOf(out);
    CFDataStream in(data);
    CFRelease(data);
    ASSERT_TRUE(in.valid());
    Settings back;
    ASSERT_EQ(back.Read(&in, 0), noErr);
    ASSERT_EQ(back.Count(), 3);

    FourCharCode tagA, tagB;
    SInt32 idA, idB, lenA, lenB, attrA, attrB;
    OSStatus a = s.First(&tagA, &idA, &lenA, &attrA);
    OSStatus b = back.First(&tagB, &idB, &lenB, &attrB);
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(a, noErr);
        ASSERT_EQ(b, noErr);
        EXPECT_EQ(tagA, tagB);
        EXPECT_EQ(idA, idB);
        EXPECT_EQ(lenA, lenB);
        EXPECT_EQ(attrA, attrB);
        a = s.Next(&tagA, &idA, &lenA, &attrA);
        b = back.Next(&tagB, &idB, &lenB, &attrB);
    }
    EXPECT_EQ(a, kSettingsEndErr);
    EXPECT_EQ(b, kSettingsEndErr);
    char text[8] = {};
    SInt32 length = sizeof text;
    EXPECT_EQ(back.Get(HALYX_FOUR_CHAR('S', 't', 'C', 't'), 6001, text, &length), noErr);
    EXPECT_STREQ(text, "Booklet");
}

TEST(SettingsStream, SaveAndReadCheckTheStreamFirst) {
    Settings s;
    RecordingStream invalid(false);
    EXPECT_EQ(s.Save(nullptr), kSettingsNoStreamErr);
    EXPECT_EQ(s.Save(&invalid), kSettingsNoStreamErr);
    EXPECT_EQ(s.Read(nullptr, 0), kSettingsNoStreamErr);
    EXPECT_EQ(s.Read(&invalid, 10), kSettingsNoStreamErr);
    EXPECT_EQ(s.LastError(), kSettingsNoStreamErr);

    Settings none(static_cast<Collection>(nullptr));
    RecordingStream valid(true);
    EXPECT_EQ(none.Save(&valid), kSettingsNoCollectionErr);
    EXPECT_EQ(valid.outCalls, 0);

    // The whole form goes out in one call, even for an empty store.
    ASSERT_EQ(s.Save(&valid), noErr);
    EXPECT_EQ(valid.outCalls, 1);
    EXPECT_FALSE(valid.written.empty());
    // A failing read reports the stream's own error.
    EXPECT_EQ(s.Read(&valid, 4), ioErr);
}

TEST(SettingsStream, EmptyDataReadsNothing) {
    CFDataRef empty = CFDataCreate(kCFAllocatorDefault, nullptr, 0);
    CFDataStream fromEmpty(empty);
    CFRelease(empty);
    EXPECT_FALSE(fromEmpty.valid());
    EXPECT_EQ(fromEmpty.dataSize(), 0);
    CFDataStream fromNull(nullptr);
    EXPECT_FALSE(fromNull.valid());
    SInt32 read = 5;
    OSErr error = noErr;
    char buf[4];
    EXPECT_FALSE(fromNull.in(buf, 1, &read, &error));
    EXPECT_EQ(read, 0);

    // An output stream that was never written is valid and empty: reading it adds nothing.
    CFDataStream nothing;
    Settings s;
    ASSERT_EQ(s.Add(1, 1, "keep", 4), noErr);
    EXPECT_EQ(s.Read(&nothing, 0), noErr);
    EXPECT_EQ(s.Count(), 1);
    // A stream made from empty data is not valid at all.
    EXPECT_EQ(s.Read(&fromEmpty, 0), kSettingsNoStreamErr);
    EXPECT_EQ(s.Count(), 1);
}

TEST(SettingsStream, ShortReadsCopyWhatIsThereAndNeverPassTheEnd) {
    const UInt8 bytes[] = {1, 2, 3, 4, 5};
    CFDataRef data = CFDataCreate(kCFAllocatorDefault, bytes, sizeof bytes);
    CFDataStream in(data);
    CFRelease(data);
    ASSERT_TRUE(in.valid());
    EXPECT_EQ(in.dataSize(), 5);

    UInt8 buf[8] = {};
    SInt32 read = 0;
    OSErr error = 1;
    EXPECT_TRUE(in.in(buf, 2, &read, &error));
    EXPECT_EQ(read, 2);
    EXPECT_EQ(error, noErr);
    std::memset(buf, 0xee, sizeof buf);
    EXPECT_FALSE(in.in(buf, 8, &read, &error));
    EXPECT_EQ(read, 3);
    EXPECT_EQ(error, eofErr);
    EXPECT_EQ(buf[0], 3);
    EXPECT_EQ(buf[2], 5);
    EXPECT_EQ(buf[3], 0xee);
    EXPECT_FALSE(in.in(buf, 1, &read, &error));
    EXPECT_EQ(read, 0);
    EXPECT_EQ(error, eofErr);
    EXPECT_TRUE(in.in(buf, 0, &read, &error));
    EXPECT_FALSE(in.in(buf, -1, &read, &error));
    EXPECT_EQ(error, paramErr);
    // The stream reads the caller's bytes in place and never writes to them.
    EXPECT_FALSE(in.out(bytes, 1));
    EXPECT_EQ(CFDataGetLength(in.data()), 5);
}

TEST(SettingsStream, ReadOfDamagedOrShortDataLeavesTheStoreAsItWas) {
    Settings source;
    ASSERT_EQ(source.Add(2000, 2001, "1.2", 3), noErr);
    CFDataStream out;
    ASSERT_EQ(source.Save(&out), noErr);
    std::string form(reinterpret_cast<const char*>(CFDataGetBytePtr(out.data())),
                     static_cast<size_t>(CFDataGetLength(out.data())));

    Settings target;
    ASSERT_EQ(target.Add(9, 9, "mine", 4), noErr);

    std::string damaged = form;
    damaged[damaged.size() / 2] ^= 0x01;
    CFDataRef bad =
        CFDataCreate(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(damaged.data()),
                     static_cast<CFIndex>(damaged.size()));
    CFDataStream badIn(bad);
    CFRelease(bad);
    EXPECT_EQ(target.Read(&badIn, 0), collectionVersionErr);
    EXPECT_EQ(target.Count(), 1);

    // Asking for more than the stream holds gives its end-of-data status.
    CFDataRef good = CFDataCreate(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(form.data()),
                                  static_cast<CFIndex>(form.size()));
    CFDataStream longIn(good);
    EXPECT_EQ(target.Read(&longIn, static_cast<SInt32>(form.size()) + 1), eofErr);
    EXPECT_EQ(target.Count(), 1);
    // Part of the form is not a form.
    CFDataStream partIn(good);
    EXPECT_EQ(target.Read(&partIn, static_cast<SInt32>(form.size()) - 1), collectionVersionErr);
    CFDataStream wholeIn(good);
    CFRelease(good);
    EXPECT_EQ(target.Read(&wholeIn, 0), noErr);
    EXPECT_EQ(target.Count(), 2);
}

TEST(SettingsStream, SaveAndReadWithoutMemoryFail) {
    HalyxFailureScope scope;
    Settings s;
    ASSERT_EQ(s.Add(1, 1, "x", 1), noErr);
    RecordingStream valid(true);
    HalyxInjectFailures(kHalyxFailAllocation, 0, 2);
    EXPECT_EQ(s.Save(&valid), memFullErr);
    EXPECT_EQ(valid.outCalls, 0);

    CFDataStream out;
    ASSERT_EQ(s.Save(&out), noErr);
    CFDataRef data = DataOf(out);
    CFDataStream in(data);
    CFRelease(data);
    Settings target;
    HalyxInjectFailures(kHalyxFailAllocation, 0, 2);
    EXPECT_EQ(target.Read(&in, 0), memFullErr);
    EXPECT_EQ(target.Count(), 0);
}

}  // namespace
