#include "PPDObjects/Controls/PPDXUserAuthLib.h"

#include <gtest/gtest.h>
#include <ifaddrs.h>
#include <stdlib.h>
#include <linux/if_packet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "IOKit/IOKitLib.h"
#include "TestBytes.h"
#include "UserAuthRecords.h"
#include "testing/FailureInjection.h"

namespace {

using halyx_test::BE32;
using halyx_test::Bytes;
using halyx_test::OpenedRecord;

const UInt8 kGuid[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};

std::string Pack(const char* user, const char* pass, const char* domain = "",
                 UAL_DomainType type = kUAL_DomainTypeDefault, const UInt8* guid = kGuid) {
    char* text = nullptr;
    EXPECT_EQ(0, UAL_PackAndEncrypt(user, pass, domain, type, guid, &text));
    std::string out = text != nullptr ? text : "";
    AUTH_freeBuffer(&text);
    EXPECT_EQ(nullptr, text);
    return out;
}

struct Unpacked {
    int status = -1;
    std::string user, pass, domain;
    UAL_DomainType type = 0;
    Bytes guid = Bytes(16);
};

Unpacked Unpack(const std::string& text) {
    Unpacked u;
    char* user = reinterpret_cast<char*>(1);
    char* pass = reinterpret_cast<char*>(1);
    char* domain = reinterpret_cast<char*>(1);
    u.status = UAL_UnpackAndDecrypt(text.c_str(), &user, &pass, &domain, &u.type, u.guid.data());
    if (u.status == 0) {
        u.user = user;
        u.pass = pass;
        u.domain = domain;
    } else {
        EXPECT_EQ(nullptr, user);
        EXPECT_EQ(nullptr, pass);
        EXPECT_EQ(nullptr, domain);
    }
    std::free(user != reinterpret_cast<char*>(1) ? user : nullptr);
    std::free(pass != reinterpret_cast<char*>(1) ? pass : nullptr);
    std::free(domain != reinterpret_cast<char*>(1) ? domain : nullptr);
    return u;
}

size_t ExpectedTextLength(size_t total) {
    size_t l2 = (total + 60) / 16 * 16 + 16 + 48;
    return (l2 + 2) / 3 * 4;
}

TEST(UserAuthPacking, LayoutReadByAnIndependentImplementation) {
    std::string text = Pack("alice", "secret");
    ASSERT_EQ(172u, text.size());

    OpenedRecord r = OpenedRecord::Open(text);
    ASSERT_EQ(128u, r.outer.size());  // L2
    EXPECT_EQ(1u, BE32(r.outer, 0));
    EXPECT_EQ(80u, BE32(r.outer, 4));  // L1
    for (size_t i = 120; i < 128; ++i) EXPECT_EQ(0, r.outer[i]);

    // Session key words: r1, process id, r2, time, r3, address, r4, r1 again.
    auto word = [&](int i) {
        const unsigned char* p = r.outer.data() + 8 + 4 * i;
        return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) |
               (uint32_t(p[3]) << 24);
    };
    EXPECT_EQ(uint32_t(getpid()), word(1));
    EXPECT_LE(std::labs(long(word(3)) - long(std::time(nullptr) & 0xFFFFFFFF)), 5);
    EXPECT_EQ(word(0), word(7));

    ASSERT_EQ(47u, BE32(r.sealed, 0));  // dataSize
    const unsigned char* record = r.sealed.data() + 4;
    Bytes fields(record, record + 47);
    EXPECT_EQ(1u, BE32(fields, 0));
    EXPECT_EQ(5u, BE32(fields, 4));
    EXPECT_EQ(6u, BE32(fields, 8));
    EXPECT_EQ(0u, BE32(fields, 12));
    EXPECT_EQ(2u, BE32(fields, 16));
    EXPECT_EQ(0, std::memcmp(record + 20, kGuid, 16));
    EXPECT_EQ("alicesecret", std::string(record + 36, record + 47));
    EXPECT_EQ(halyx_test::StoredDigest(record, 47), Bytes(record + 47, record + 67));
    for (size_t i = 4 + 47 + 20; i < r.sealed.size(); ++i) EXPECT_EQ(0, r.sealed[i]);

    // Every record has a session key of its own.
    OpenedRecord again = OpenedRecord::Open(Pack("alice", "secret"));
    EXPECT_NE(Bytes(r.outer.begin() + 8, r.outer.begin() + 40),
              Bytes(again.outer.begin() + 8, again.outer.begin() + 40));
}

TEST(UserAuthPacking, TextLengthFollowsTheTotalOfTheThreeTexts) {
    EXPECT_EQ(152u, Pack("", "").size());
    for (size_t total = 0; total <= 100; ++total) {
        std::string user(total / 2, 'u'), pass(total - total / 2, 'p');
        ASSERT_EQ(ExpectedTextLength(total), Pack(user.c_str(), pass.c_str()).size()) << total;
    }
    EXPECT_EQ(ExpectedTextLength(9), Pack("ab", "cd", "efghi").size());
}

TEST(UserAuthPacking, RandomValuesSurviveTheRoundTrip) {
    halyx_test::RandomBytes random(10);
    for (int i = 0; i < 200; ++i) {
        auto text = [&](size_t n) {
            std::string s;
            for (unsigned char b : random.Bytes(n)) s += char(b == 0 ? 1 : b);
            return s;
        };
        std::string user = text(random.Between(0, 255)), pass = text(random.Between(0, 255));
        std::string domain = text(random.Between(0, 40));
        Bytes guid = random.Bytes(16);
        UAL_DomainType type = UAL_DomainType(random.Between(0, 5));
        Unpacked u = Unpack(Pack(user.c_str(), pass.c_str(), domain.c_str(), type, guid.data()));
        ASSERT_EQ(0, u.status);
        EXPECT_EQ(user, u.user);
        EXPECT_EQ(pass, u.pass);
        EXPECT_EQ(domain, u.domain);
        EXPECT_EQ(type, u.type);
        EXPECT_EQ(guid, u.guid);
    }
}

TEST(UserAuthPacking, NullArguments) {
    char* text = reinterpret_cast<char*>(1);
    EXPECT_EQ(-1, UAL_PackAndEncrypt(nullptr, "p", "", 2, kGuid, &text));
    EXPECT_EQ(nullptr, text);
    EXPECT_EQ(-1, UAL_PackAndEncrypt("u", nullptr, "", 2, kGuid, &text));
    EXPECT_EQ(-1, UAL_PackAndEncrypt("u", "p", "", 2, kGuid, nullptr));
    // A null domain and GUID pack as empty and zero.
    ASSERT_EQ(0, UAL_PackAndEncrypt("u", "p", nullptr, 2, nullptr, &text));
    Unpacked u = Unpack(text);
    AUTH_freeBuffer(&text);
    EXPECT_EQ("", u.domain);
    EXPECT_EQ(Bytes(16, 0), u.guid);

    char* s = nullptr;
    UAL_DomainType type;
    UInt8 guid[16];
    std::string good = Pack("u", "p");
    EXPECT_EQ(-1, UAL_UnpackAndDecrypt(nullptr, &s, &s, &s, &type, guid));
    EXPECT_EQ(-1, UAL_UnpackAndDecrypt(good.c_str(), &s, &s, &s, &type, nullptr));
    EXPECT_EQ(-1, UAL_UnpackAndDecrypt(good.c_str(), nullptr, &s, &s, &type, guid));
    AUTH_freeBuffer(nullptr);
    AUTH_freeBuffer(&s);
}

TEST(UserAuthUnpacking, RefusesAlteredRecords) {
    std::string text = Pack("bob", "hunter2", "", 2, kGuid);
    ASSERT_EQ(0, Unpack(text).status);

    auto refused = [&](void (*alter)(OpenedRecord*)) {
        OpenedRecord r = OpenedRecord::Open(text);
        alter(&r);
        return Unpack(r.Seal()).status == -1;
    };
    // Resealing an unaltered record gives a text that still unpacks.
    EXPECT_EQ(0, Unpack(OpenedRecord::Open(text).Seal()).status);

    EXPECT_TRUE(refused([](OpenedRecord* r) { halyx_test::PutBE32(&r->outer, 0, 2); }));
    EXPECT_TRUE(refused([](OpenedRecord* r) { r->sealed[4 + 36] ^= 1; }));  // digest mismatch
    EXPECT_TRUE(refused([](OpenedRecord* r) { r->sealed[4 + 40] ^= 0x80; }));
    EXPECT_TRUE(refused([](OpenedRecord* r) {
        halyx_test::PutBE32(&r->sealed, 4, 2);  // inner version, with a matching digest
        r->Redigest();
    }));
    EXPECT_TRUE(refused([](OpenedRecord* r) {
        halyx_test::PutBE32(&r->sealed, 8, 200);  // user name longer than the record
        r->Redigest();
    }));
    EXPECT_TRUE(refused([](OpenedRecord* r) { halyx_test::PutBE32(&r->sealed, 0, 4000); }));
    EXPECT_TRUE(refused([](OpenedRecord* r) { halyx_test::PutBE32(&r->sealed, 0, 10); }));
    EXPECT_TRUE(refused([](OpenedRecord* r) { halyx_test::PutBE32(&r->outer, 4, 4000); }));  // L1
    EXPECT_TRUE(refused([](OpenedRecord* r) { halyx_test::PutBE32(&r->outer, 4, 0xFFFFFFF0u); }));
    EXPECT_TRUE(refused([](OpenedRecord* r) { halyx_test::PutBE32(&r->outer, 4, 17); }));
    EXPECT_TRUE(refused([](OpenedRecord* r) { halyx_test::PutBE32(&r->outer, 4, 0); }));
}

TEST(UserAuthUnpacking, BadTextIsRefused) {
    std::string good = Pack("carol", "pa55");
    halyx_test::RandomBytes random(11);
    EXPECT_EQ(-1, Unpack("").status);
    EXPECT_EQ(-1, Unpack("====").status);
    EXPECT_EQ(-1, Unpack("not base64 at all!").status);
    for (size_t cut = 0; cut < good.size(); cut += 7)
        EXPECT_EQ(-1, Unpack(good.substr(0, cut)).status) << cut;
    // Characters outside the alphabet are skipped: strangers inside a good text change nothing,
    // strangers replacing characters break it.
    std::string spaced = good.substr(0, 50) + " \n\t#" + good.substr(50);
    EXPECT_EQ(0, Unpack(spaced).status);
    std::string replaced = good;
    replaced[20] = '#';
    EXPECT_EQ(-1, Unpack(replaced).status);
    for (int i = 0; i < 300; ++i) {
        Bytes noise = random.Bytes(random.Between(1, 400));
        std::string text;
        for (unsigned char b : noise) text += char(b == 0 ? 'A' : b);
        EXPECT_EQ(-1, Unpack(text).status);
        EXPECT_EQ(-1, Unpack(halyx_test::EncodeBase64(noise)).status);
    }
}

TEST(UserAuthPacking, EveryAllocationFailureIsReported) {
    HalyxFailureScope scope;
    for (int skip = 0;; ++skip) {
        HalyxResetFailures();
        HalyxInjectFailures(kHalyxFailAllocation, skip, 1);
        char* text = reinterpret_cast<char*>(1);
        int status = UAL_PackAndEncrypt("dave", "pw", "", 2, kGuid, &text);
        bool failed = HalyxInjectedFailureCount(kHalyxFailAllocation) > 0;
        EXPECT_EQ(failed ? -1 : 0, status) << skip;
        if (failed) {
            EXPECT_EQ(nullptr, text);
            continue;
        }
        AUTH_freeBuffer(&text);
        break;
    }
    HalyxResetFailures();
    std::string good = Pack("dave", "pw", "dom");
    for (int skip = 0;; ++skip) {
        HalyxResetFailures();
        HalyxInjectFailures(kHalyxFailAllocation, skip, 1);
        Unpacked u = Unpack(good);
        bool failed = HalyxInjectedFailureCount(kHalyxFailAllocation) > 0;
        EXPECT_EQ(failed ? -1 : 0, u.status) << skip;
        if (!failed) break;
    }
}

// A registry with one Ethernet interface whose address starts with `first`.
class UserAuthWithInterface : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(&mNode, 0, sizeof mNode);
        std::memset(&mLink, 0, sizeof mLink);
        mLink.sll_family = AF_PACKET;
        mLink.sll_ifindex = 3;
        mLink.sll_halen = 6;
        for (int i = 0; i < 6; ++i) mLink.sll_addr[i] = (unsigned char)(0xA0 + i);
        mNode.ifa_name = const_cast<char*>("eth0");
        mNode.ifa_addr = reinterpret_cast<struct sockaddr*>(&mLink);
        HalyxIOKitUseInterfaceList(&mNode);
    }
    void TearDown() override {
        HalyxIOKitUseInterfaceList(nullptr);
        UAL_SetClockForTesting(nullptr);
        EXPECT_EQ(0, HalyxIOKitLiveObjectCount());
    }
    struct ifaddrs mNode;
    struct sockaddr_ll mLink;
};

long gClockSeconds, gClockMicroseconds;
void FixedClock(long* s, long* us) {
    *s = gClockSeconds;
    *us = gClockMicroseconds;
}

TEST_F(UserAuthWithInterface, MacAddressIsReadAndReportedOnlyWhenAskedFor) {
    UInt8* mac = nullptr;
    unsetenv("HALYX_DIAGNOSTICS");
    testing::internal::CaptureStderr();
    EXPECT_EQ(0, goGetMACAddress(&mac));
    std::string said = testing::internal::GetCapturedStderr();
    ASSERT_NE(nullptr, mac);
    EXPECT_EQ(Bytes({0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5}), Bytes(mac, mac + 6));
    EXPECT_EQ("", said);  // the machine's address is nobody's business on standard error
    setenv("HALYX_DIAGNOSTICS", "1", 1);
    testing::internal::CaptureStderr();
    EXPECT_EQ(0, goGetMACAddress(&mac));
    said = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(said.empty());  // the address is dumped for a developer

    // No interface: status 5, the buffer is handed out cleared.
    mLink.sll_halen = 0;
    EXPECT_EQ(5, goGetMACAddress(&mac));
    EXPECT_EQ(Bytes(6, 0), Bytes(mac, mac + 6));

    HalyxFailureScope scope;
    HalyxInjectFailures(kHalyxFailAllocation, 0, 1);
    UInt8* untouched = nullptr;
    testing::internal::CaptureStderr();
    EXPECT_EQ(kIOReturnNoMemory, goGetMACAddress(&untouched));
    said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(nullptr, untouched);
    EXPECT_EQ(
        "IOServiceGetMatchingServices returned 0xe00002bd\n"
        "FindEthernetInterfaces returned 0xe00002bd\n",
        said);
    unsetenv("HALYX_DIAGNOSTICS");
}

TEST_F(UserAuthWithInterface, GuidHoldsTheAddressAndTheTimeStamp) {
    UAL_SetClockForTesting(FixedClock);
    gClockSeconds = 0x12345678;
    gClockMicroseconds = 0xABC;
    UInt8 guid[16];
    testing::internal::CaptureStderr();
    ASSERT_TRUE(CreateGUID(guid));
    // Seconds << 4 = 0x23456780, bits 24-27 from the microseconds' bits 8-11 (0xA).
    EXPECT_EQ(Bytes({0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0x80, 0x67, 0x45, 0x2A, 0, 0, 0, 0, 0, 0}),
              Bytes(guid, guid + 16));

    // Without an interface the address bytes are zero.
    mLink.sll_halen = 0;
    gClockSeconds = 1;
    ASSERT_TRUE(CreateGUID(guid));
    EXPECT_EQ(Bytes(6, 0), Bytes(guid, guid + 6));
    testing::internal::GetCapturedStderr();
    EXPECT_FALSE(CreateGUID(nullptr));
}

TEST_F(UserAuthWithInterface, GuidsFromOneMicrosecondGetDistinctTimes) {
    UAL_SetClockForTesting(FixedClock);
    UInt8 a[16], b[16], c[16];
    testing::internal::CaptureStderr();
    // The clock stands still in the middle of a 256-microsecond step: one more microsecond would
    // leave the stamp as it was, so the second identifier moves on to the next step.
    gClockSeconds = 1000;
    gClockMicroseconds = 0x123;
    CreateGUID(a);
    CreateGUID(b);
    CreateGUID(c);
    EXPECT_NE(Bytes(a + 6, a + 10), Bytes(b + 6, b + 10));
    EXPECT_NE(Bytes(b + 6, b + 10), Bytes(c + 6, c + 10));
    EXPECT_EQ(0x1, (a[9] & 0x0F));  // microseconds 0x123: bits 8-11 = 1
    EXPECT_EQ(0x2, (b[9] & 0x0F));  // moved on to 0x200
    // At the last microsecond of a second the next identifier carries into the seconds.
    gClockMicroseconds = 999999;
    CreateGUID(a);
    CreateGUID(b);
    EXPECT_NE(Bytes(a + 6, a + 10), Bytes(b + 6, b + 10));
    EXPECT_EQ(Bytes({0x90, 0x3E, 0, 0}), Bytes(b + 6, b + 10));  // 1001 << 4, microsecond 0
    // A clock that moves on by itself is taken as it is.
    gClockMicroseconds = 0x500;
    CreateGUID(a);
    EXPECT_EQ(0x5, (a[9] & 0x0F));
    testing::internal::GetCapturedStderr();
}

TEST_F(UserAuthWithInterface, SystemPackingCarriesTheMachineGuidAndFixedFields) {
    char* text = nullptr;
    testing::internal::CaptureStderr();
    ASSERT_EQ(0, AUTH_packAndEncrypt("erin", "pw1", "ignored", 2, 0, &text));
    Unpacked u = Unpack(text);
    AUTH_freeBuffer(&text);
    EXPECT_EQ("erin", u.user);
    EXPECT_EQ("pw1", u.pass);
    EXPECT_EQ("", u.domain);
    EXPECT_EQ(2, u.type);
    EXPECT_EQ(Bytes({0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5}),
              Bytes(u.guid.begin(), u.guid.begin() + 6));
    EXPECT_EQ(Bytes(6, 0), Bytes(u.guid.begin() + 10, u.guid.end()));

    // Other types, an empty user name or a null password pack both texts empty.
    for (int type : {1, 3}) {
        ASSERT_EQ(0, AUTH_packAndEncrypt("erin", "pw1", "", type, 0, &text));
        EXPECT_EQ(152u, std::strlen(text));
        u = Unpack(text);
        AUTH_freeBuffer(&text);
        EXPECT_EQ("", u.user);
        EXPECT_EQ("", u.pass);
        EXPECT_EQ(2, u.type);
    }
    ASSERT_EQ(0, AUTH_packAndEncrypt("", "pw1", "", 2, 0, &text));
    EXPECT_EQ("", Unpack(text).pass);
    AUTH_freeBuffer(&text);
    ASSERT_EQ(0, AUTH_packAndEncrypt("erin", nullptr, "", 2, 0, &text));
    EXPECT_EQ("", Unpack(text).user);
    AUTH_freeBuffer(&text);

    // Long values are cut to 255 bytes.
    std::string longUser(300, 'U'), longPass(256, 'P');
    ASSERT_EQ(0, AUTH_packAndEncrypt(longUser.c_str(), longPass.c_str(), "", 2, 0, &text));
    u = Unpack(text);
    AUTH_freeBuffer(&text);
    EXPECT_EQ(longUser.substr(0, 255), u.user);
    EXPECT_EQ(longPass.substr(0, 255), u.pass);

    EXPECT_EQ(-1, AUTH_packAndEncrypt("erin", "pw1", "", 2, 0, nullptr));
    testing::internal::GetCapturedStderr();
}

}  // namespace
