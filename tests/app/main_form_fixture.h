#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <memory>

#include "app/main_form.h"
#include "support/scripted_prompter.h"
#include "support/temp_folder.h"

namespace vistrel::app {

// A main window shown on its own settings, with a folder of photos to list.
class MainFormFixture : public ::testing::Test {
 protected:
  vistrel::test::IsolatedUser user;
  vistrel::test::TempFolder folder;
  vistrel::test::TempFolder photos;
  platform::SettingsStore store{folder / "settings.reg"};
  vistrel::test::ScriptedPrompter prompter;
  std::unique_ptr<TMainForm> form;

  void SetUp() override {
    form = std::make_unique<TMainForm>(store, prompter, folder.path());
    form->show();
    QCoreApplication::processEvents();
  }

  // Lists the photos folder.
  void list() {
    form->setCurrentFolder(photos.path().string());
    form->listFolder();
  }
};

}  // namespace vistrel::app
