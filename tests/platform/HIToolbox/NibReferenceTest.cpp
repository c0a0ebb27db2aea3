// Interface-definition references are found among a bundle's resources or refused.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "CoreFoundation/CFURL.h"
#include "HIToolbox/NibReference.h"
#include "testing/FailureInjection.h"

namespace {

class ToolboxNibTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/halyx-nib-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(pattern));
        root_ = pattern;
        const std::string resources = root_ + "/Test.bundle/Contents/Resources";
        for (const std::string& dir : {root_ + "/Test.bundle", root_ + "/Test.bundle/Contents",
                                       resources, resources + "/Panel.nib"}) {
            ASSERT_EQ(0, mkdir(dir.c_str(), 0700));
        }
        const std::string path = root_ + "/Test.bundle";
        CFURLRef url = CFURLCreateFromFileSystemRepresentation(
            nullptr, reinterpret_cast<const UInt8*>(path.c_str()),
            static_cast<CFIndex>(path.size()), true);
        bundle_ = CFBundleCreate(nullptr, url);
        CFRelease(url);
        ASSERT_NE(nullptr, bundle_);
    }

    void TearDown() override {
        if (bundle_ != nullptr) CFRelease(bundle_);
        const std::string resources = root_ + "/Test.bundle/Contents/Resources";
        rmdir((resources + "/Panel.nib").c_str());
        rmdir(resources.c_str());
        rmdir((root_ + "/Test.bundle/Contents").c_str());
        rmdir((root_ + "/Test.bundle").c_str());
        rmdir(root_.c_str());
    }

    std::string root_;
    CFBundleRef bundle_ = nullptr;
};

TEST_F(ToolboxNibTest, ADefinitionIsOpenedOnlyWhenTheBundleHoldsIt) {
    IBNibRef nib = nullptr;
    ASSERT_EQ(noErr, CreateNibReferenceWithCFBundle(bundle_, CFSTR("Panel"), &nib));
    EXPECT_NE(nullptr, nib);
    DisposeNibReference(nib);

    nib = reinterpret_cast<IBNibRef>(&nib);
    EXPECT_EQ(kNibFileNotFoundErr, CreateNibReferenceWithCFBundle(bundle_, CFSTR("Missing"), &nib));
    EXPECT_EQ(nullptr, nib);
    EXPECT_EQ(paramErr, CreateNibReferenceWithCFBundle(nullptr, CFSTR("Panel"), &nib));

    HalyxFailureScope scope;
    HalyxInjectFailures(kHalyxFailAllocation, 0, -1);
    EXPECT_EQ(memFullErr, CreateNibReferenceWithCFBundle(bundle_, CFSTR("Panel"), &nib));
    EXPECT_EQ(nullptr, nib);
}

}  // namespace
