// The services instance: which configuration is in force, what keys and command numbers answer through it, and
// which windows give the mouse its context.
#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "services/config/config_reader.h"
#include "services/instance.h"

namespace osk {
namespace {

std::unique_ptr<CConfiguration> loadBuiltin() {
  std::vector<uint8_t> bytes;
  if (readConfigurationFile(OSK_BUILTIN_CONFIG, bytes) != ConfigLoadStatus::kOk) return nullptr;
  return loadConfiguration(bytes, {}).config;
}

// A configuration of one group whose only command is `name`, bound to Ctrl+S for the editor.
std::unique_ptr<CConfiguration> oneCommand(const std::string& name, const std::string& parameter = "") {
  auto cfg = std::make_unique<CConfiguration>();
  cfg->addGroup(1, "General");
  auto* c = new CCommand;
  c->group = 1;
  c->number = 1;
  c->name = name;
  c->parameter = parameter;
  c->helpText = "Help for " + name;
  cfg->appendCommand(c);
  cfg->addKeyMapping(makeKeyWord(0, 'S', false, true, false), kContextEditor, 1, 1);
  return cfg;
}

uint16_t ctrl(int key) { return makeKeyWord(0, key, false, true, false); }

TEST(InstanceConfiguration, AnswersNothingBeforeTheFirstLoad) {
  CInstance instance(nullptr, "C:\\OSK\\OSK.INI");
  EXPECT_EQ(instance.configuration(), nullptr);
  EXPECT_FALSE(instance.mapKeyDown(ctrl('S'), kContextEditor));
  EXPECT_EQ(instance.command(1), nullptr);
  EXPECT_FALSE(instance.install(nullptr));
  EXPECT_EQ(instance.configuration(), nullptr);
}

TEST(InstanceConfiguration, FailedLoadKeepsThePreviousConfigurationInForce) {
  CInstance instance(nullptr, "");
  ASSERT_TRUE(instance.install(oneCommand("SaveFile")));
  const CConfiguration* first = instance.configuration();
  EXPECT_FALSE(instance.install(nullptr));
  EXPECT_EQ(instance.configuration(), first);
  auto bound = instance.mapKeyDown(ctrl('S'), kContextEditor);
  ASSERT_TRUE(bound);
  EXPECT_EQ(bound->name, "SaveFile");
}

TEST(InstanceConfiguration, SuccessfulLoadReplacesTheConfigurationAndClaimsIt) {
  CInstance instance(nullptr, "");
  ASSERT_TRUE(instance.install(oneCommand("SaveFile")));
  ASSERT_TRUE(instance.install(oneCommand("SaveAllFiles")));
  EXPECT_EQ(instance.configuration()->instance, &instance);
  EXPECT_EQ(instance.mapKeyDown(ctrl('S'), kContextEditor)->name, "SaveAllFiles");
}

TEST(InstanceConfiguration, ListenersRebuildFromTheNewConfigurationWhileTheOldOneStillLives) {
  CInstance instance(nullptr, "");
  std::vector<std::string> seen;
  const CConfiguration* current = nullptr;
  instance.addConfigurationListener([&](CConfiguration& cfg) {
    // A tool bar built from the old configuration still reads it while it is being replaced.
    if (current) seen.push_back("old " + current->findCommand(1)->name);
    seen.push_back("new " + cfg.findCommand(1)->name);
    current = &cfg;
  });
  instance.install(oneCommand("Copy"));
  instance.install(nullptr);
  instance.install(oneCommand("Paste"));
  EXPECT_EQ(seen, (std::vector<std::string>{"new Copy", "old Copy", "new Paste"}));
}

TEST(InstanceKeys, BuiltInConfigurationMapsKeysWithTheirFallbacks) {
  CInstance instance(nullptr, "");
  ASSERT_TRUE(instance.install(loadBuiltin()));
  EXPECT_EQ(instance.mapKeyDown(ctrl('S'), kContextEditor)->name, "SaveFile");
  // No mapping for the marked editor: the editor's own one answers.
  EXPECT_EQ(instance.mapKeyDown(ctrl(0x08), kContextMarkedEditor)->name, "DeleteWordLeft");
  // Mapped for the marked editor: that one wins over the editor's.
  EXPECT_EQ(instance.mapKeyDown(makeKeyWord(0, 0x09, false, false, false), kContextMarkedEditor)->name, "Indent");
  // "None" answers every context, and bits 11 to 15 of the word carry nothing.
  auto clip = instance.mapKeyDown(static_cast<uint16_t>(0xF800 | makeKeyWord(0, '3', false, false, true)),
                                  kContextOpenBar);
  ASSERT_TRUE(clip);
  EXPECT_EQ(clip->name, "ClipBuffer");
  EXPECT_EQ(clip->parameter, "3");
  EXPECT_FALSE(instance.mapKeyDown(makeKeyWord(0, 'Q', false, false, false), kContextEditor));
}

TEST(InstanceCommands, NumbersNameCommandsButNeverSeparatorsOrUnknownEntries) {
  CInstance instance(nullptr, "");
  ASSERT_TRUE(instance.install(loadBuiltin()));
  int named = 0;
  for (int32_t n = 0; n <= 0xFFFF; ++n)
    if (instance.command(n)) ++named;
  EXPECT_EQ(named, 177);
  EXPECT_EQ(instance.command(kSeparatorNumber), nullptr);
  EXPECT_EQ(instance.command(-1), nullptr);
  EXPECT_NE(instance.command(177), nullptr);
  EXPECT_EQ(instance.command(178), nullptr);
}

TEST(InstanceCommands, DisabledCommandIsBoundButReportedDisabled) {
  CInstance instance(nullptr, "");
  ASSERT_TRUE(instance.install(oneCommand("SaveFile")));
  instance.configuration()->findCommand(1)->state |= kStateDisabled;
  auto bound = instance.mapKeyDown(ctrl('S'), kContextEditor);
  ASSERT_TRUE(bound);
  EXPECT_FALSE(bound->enabled);
}

TEST(CopyToBuffer, CutsToTheBufferAndAlwaysTerminates) {
  char buffer[8];
  std::memset(buffer, 'x', sizeof buffer);
  copyToBuffer("ExtensionCommandWithALongName", buffer, 6);
  EXPECT_STREQ(buffer, "Exten");
  EXPECT_EQ(buffer[6], 'x');
  copyToBuffer("", buffer, 1);
  EXPECT_STREQ(buffer, "");
  copyToBuffer("abc", buffer, 0);   // no room at all: untouched
  EXPECT_STREQ(buffer, "");
  copyToBuffer("abc", nullptr, 4);
}

// Window handles are only compared, so small numbers stand for windows here.
HWND__* window(uintptr_t n) { return reinterpret_cast<HWND__*>(n); }

class MouseContext : public ::testing::Test {
 protected:
  MouseContext() : instance_(window(1), "") {
    parents_ = {{window(11), window(10)}, {window(12), window(11)}, {window(10), window(1)},
                {window(20), window(1)},  {window(30), window(1)}};
    instance_.addToolBarWindow(window(20), "Default Tool Bar");
    instance_.setOpenBarWindow(window(10));
    instance_.setPrintPreviewWindow(window(30));
  }
  ParentOfWindow parentOf() {
    return [this](HWND__* w) {
      auto it = parents_.find(w);
      return it == parents_.end() ? nullptr : it->second;
    };
  }
  CInstance instance_;
  std::map<HWND__*, HWND__*> parents_;
};

TEST_F(MouseContext, BarsOpenBarAndPreviewGiveTheirContexts) {
  const auto bar = instance_.positionConstraint(window(20), parentOf());
  EXPECT_EQ(bar.context, kContextMouseToolBar);
  EXPECT_EQ(bar.toolBarName, "Default Tool Bar");
  EXPECT_EQ(instance_.positionConstraint(window(10), parentOf()).context, kContextMouseOpenBar);
  // The file list two levels inside the Open Bar.
  EXPECT_EQ(instance_.positionConstraint(window(12), parentOf()).context, kContextMouseOpenBar);
  EXPECT_EQ(instance_.positionConstraint(window(30), parentOf()).context, kContextPrintPreview);
  EXPECT_EQ(instance_.positionConstraint(window(1), parentOf()).context, kContextNone);
  EXPECT_EQ(instance_.positionConstraint(nullptr, parentOf()).context, kContextNone);
}

TEST_F(MouseContext, RemovedBarsAndClearedOpenBarNoLongerAnswer) {
  instance_.removeToolBarWindow(window(20));
  EXPECT_EQ(instance_.positionConstraint(window(20), parentOf()).context, kContextNone);
  instance_.setOpenBarWindow(nullptr);
  EXPECT_FALSE(instance_.isPartOfOpenBar(window(12), parentOf()));
}

TEST_F(MouseContext, ParentChainThatLoopsEndsTheWalk) {
  parents_[window(40)] = window(41);
  parents_[window(41)] = window(40);
  EXPECT_FALSE(instance_.isPartOfOpenBar(window(40), parentOf()));
  EXPECT_TRUE(instance_.isPartOfOpenBar(window(11), parentOf()));
}

}  // namespace
}  // namespace osk
