// The factory, its instance's base interface, the pane interface object's Retain and Release with
// the interface-definition reference, and Prologue, all reached as the print dialog reaches them.
#include <string.h>

#include "CoreFoundation/CFPlugIn.h"
#include "PrintCore/PMErrors.h"
#include "testing/FailureInjection.h"
#include "plugin/PluginTestSupport.h"

namespace plugintest {
namespace {

using PluginInterfaceTest = PluginTest;

TEST_F(PluginInterfaceTest, QueryInterfaceCountsReferencesAndRefusesUnknownInterfaces) {
    void* instance = NewInstance();
    ASSERT_NE(nullptr, instance);
    HalyxPlugInInstance* plugIn = static_cast<HalyxPlugInInstance*>(instance);
    EXPECT_EQ(&plugIn->table, plugIn->interface);
    EXPECT_EQ(nullptr, plugIn->table.reserved);
    EXPECT_EQ(1u, plugIn->refCount);
    CFUUIDRef factory =
        CFUUIDCreateFromString(nullptr, CFSTR("C7E33B59-AF92-41E1-A45E-0425A66FC625"));
    EXPECT_EQ(1, HalyxPlugInInstanceCountForFactory(factory));

    void* answer = nullptr;
    EXPECT_EQ(0, Base(instance)->QueryInterface(
                     instance, CFUUIDGetUUIDBytes(kPMPlugInBaseInterfaceID), &answer));
    EXPECT_EQ(instance, answer);
    EXPECT_EQ(2u, plugIn->refCount);

    answer = &answer;
    EXPECT_EQ(kPMPlugInNoInterface, Base(instance)->QueryInterface(
                                        instance, CFUUIDGetUUIDBytes(kPMPDEPlugInTypeID), &answer));
    EXPECT_EQ(nullptr, answer);
    EXPECT_EQ(2u, plugIn->refCount);

    PMPDEInterface* object = QueryPane(instance);
    ASSERT_NE(nullptr, object);
    EXPECT_EQ(1u, object->refCount);
    void* const* entries = reinterpret_cast<void* const*>(object->vtable);
    for (int slot = 0; slot < 10; ++slot) EXPECT_NE(nullptr, entries[slot]) << "slot " << slot;
    object->vtable->Release(&object);
    EXPECT_EQ(nullptr, object);

    EXPECT_EQ(0u, Base(instance)->AddRef(nullptr));
    EXPECT_EQ(0u, Base(instance)->Release(nullptr));
    PMPlugInBaseVTable* base = Base(instance);
    EXPECT_EQ(1u, base->Release(instance));
    EXPECT_EQ(1, HalyxPlugInInstanceCountForFactory(factory));
    EXPECT_EQ(0u, base->Release(instance));
    EXPECT_EQ(0, HalyxPlugInInstanceCountForFactory(factory));
    CFRelease(factory);

    // A type the bundle does not list makes nothing.
    EXPECT_EQ(nullptr, HalyxJobNotesPluginFactory(nullptr, kPMPDEInterfaceID));
}

TEST_F(PluginInterfaceTest, RetainOpensTheInterfaceDefinitionOncePerProcess) {
    void* instance = NewInstance();
    ASSERT_NE(nullptr, instance);
    PMPDEInterface* object = QueryPane(instance);
    ASSERT_NE(nullptr, object);
    PMPDEVTable* table = object->vtable;
    EXPECT_EQ(nullptr, PDEInterfaceNibReference());

    EXPECT_EQ(noErr, table->Retain(object));
    IBNibRef opened = PDEInterfaceNibReference();
    EXPECT_NE(nullptr, opened);
    EXPECT_EQ(noErr, table->Retain(object));
    EXPECT_EQ(opened, PDEInterfaceNibReference());
    EXPECT_EQ(3u, object->refCount);

    PMPDEInterface* reference = object;
    EXPECT_EQ(noErr, table->Release(&reference));
    EXPECT_EQ(nullptr, reference);
    reference = object;
    table->Release(&reference);
    EXPECT_NE(nullptr, PDEInterfaceNibReference());
    PMPDEInterface* none = nullptr;
    EXPECT_EQ(noErr, table->Release(&none));
    EXPECT_EQ(noErr, table->Release(nullptr));
    reference = object;
    table->Release(&reference);
    EXPECT_EQ(nullptr, PDEInterfaceNibReference());

    // A new object after the last release opens the definition anew.
    PMPDEInterface* second = QueryPane(instance);
    ASSERT_NE(nullptr, second);
    EXPECT_EQ(noErr, second->vtable->Retain(second));
    EXPECT_NE(nullptr, PDEInterfaceNibReference());
    PMPDEInterface* secondReference = second;
    second->vtable->Release(&secondReference);
    secondReference = second;
    second->vtable->Release(&secondReference);
    EXPECT_EQ(nullptr, PDEInterfaceNibReference());
    Base(instance)->Release(instance);
}

TEST_F(PluginInterfaceTest, PrologueDescribesThePaneAndEntriesRefuseANullContext) {
    Pane made;
    ASSERT_NE(nullptr, made.object);
    EXPECT_EQ(noErr, made.retainStatus);
    ASSERT_EQ(noErr, made.prologueStatus);
    ASSERT_NE(nullptr, made.context);
    EXPECT_EQ(525u, made.width);
    EXPECT_EQ(450u, made.height);
    EXPECT_EQ(HALYX_FOUR_CHAR('O', 'R', 'B', '0'), made.creator);
    ASSERT_NE(nullptr, made.kind);
    EXPECT_TRUE(
        CFEqual(made.kind, CFSTR("com.halyx.print.pde.C7E33B59-AF92-41E1-A45E-0425A66FC625.HJbn")));
    // The title stays the pane's.
    ASSERT_NE(nullptr, made.title);
    EXPECT_TRUE(CFEqual(made.title, CFSTR("Halyx Job Notes")));
    EXPECT_EQ(made.title, made.Object()->Title());

    PMPDEAPIVersion version;
    memset(&version, 0xFF, sizeof version);
    EXPECT_EQ(noErr, made.table->GetAPIVersion(made.object, &version));
    EXPECT_EQ(1u, version.buildVersionMajor);
    EXPECT_EQ(0u, version.buildVersionMinor);
    EXPECT_EQ(1u, version.baseVersionMajor);
    EXPECT_EQ(0u, version.baseVersionMinor);

    PMPDEFlags flags = 0;
    CFArrayRef titles = nullptr;
    CFArrayRef summaries = nullptr;
    EXPECT_EQ(kPMInvalidPDEContext, made.table->Initialize(nullptr, &flags, pane, pane, session));
    EXPECT_EQ(kPMInvalidPDEContext, made.table->Sync(nullptr, session, false));
    EXPECT_EQ(kPMInvalidPDEContext, made.table->GetSummaryText(nullptr, &titles, &summaries));
    EXPECT_EQ(kPMInvalidPDEContext, made.table->Open(nullptr));
    EXPECT_EQ(kPMInvalidPDEContext, made.table->Close(nullptr));
    EXPECT_EQ(kPMInvalidPDEContext, made.table->Terminate(nullptr, noErr));
    EXPECT_EQ(noErr, made.table->Open(made.context));
    EXPECT_EQ(noErr, made.table->Close(made.context));
}

TEST_F(PluginInterfaceTest, AllocationFailuresHandOutNothingAndLeaveNothingBehind) {
    HalyxFailureScope failures;
    HalyxInjectFailures(kHalyxFailAllocation, 0, 1);
    EXPECT_EQ(nullptr, NewInstance());
    void* instance = NewInstance();
    ASSERT_NE(nullptr, instance);
    // The object itself, then its table.
    for (int skip = 0; skip < 2; ++skip) {
        HalyxInjectFailures(kHalyxFailAllocation, skip, 1);
        void* answer = &answer;
        EXPECT_EQ(0, Base(instance)->QueryInterface(instance, CFUUIDGetUUIDBytes(kPMPDEInterfaceID),
                                                    &answer));
        EXPECT_EQ(nullptr, answer) << "skip " << skip;
    }
    Base(instance)->Release(instance);
}

TEST_F(PluginInterfaceTest, WithoutItsBundleNothingIsMade) {
    HalyxBundleResetRegistry();
    EXPECT_EQ(nullptr, NewInstance());
    HalyxBundleAddSearchFolder("/nonexistent");
    PMPDEInterface* object = CreatePDEInterface();
    ASSERT_NE(nullptr, object);
    PMPDEContext context = &object;
    EXPECT_EQ(kPMInvalidPDEContext,
              object->vtable->Prologue(&context, nullptr, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(nullptr, context);
    object->vtable->Release(&object);
}

}  // namespace
}  // namespace plugintest
