#pragma once

#include <gtest/gtest.h>

#include "platform/settings_store.h"
#include "support/scripted_prompter.h"
#include "support/temp_folder.h"

namespace vistrel::test {

// A window under test keeps its settings in a store of its own and gets its
// questions answered from a script.
class FormTest : public ::testing::Test {
 protected:
  TempFolder folder;
  platform::SettingsStore store{folder / "settings.reg"};
  ScriptedPrompter prompter;
};

}  // namespace vistrel::test
