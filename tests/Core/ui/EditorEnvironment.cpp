// Every editor test reads its messages from the assembled bundle.
#include "EditorHarness.h"

namespace {

::testing::Environment* const gBundleEnvironment =
    ::testing::AddGlobalTestEnvironment(new editortest::BundleEnvironment);

}  // namespace
