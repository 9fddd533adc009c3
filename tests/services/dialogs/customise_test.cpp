// Customise and Run Command decisions on the built-in configuration: which commands are offered, what a binding
// does to the key map, and that a binding survives a save and a reload.
#include <gtest/gtest.h>

#include <algorithm>

#include "services/config/config_reader.h"
#include "services/config/config_writer.h"
#include "services/dialogs/command_choices.h"
#include "services/dialogs/customise.h"

namespace osk {
namespace {

std::unique_ptr<CConfiguration> loadBuiltin(std::span<const CommandProvider> providers = {}) {
  std::vector<uint8_t> bytes;
  if (readConfigurationFile(OSK_BUILTIN_CONFIG, bytes) != ConfigLoadStatus::kOk) return nullptr;
  return loadConfiguration(bytes, providers).config;
}

// A frame that lists a few commands, one of them taking a parameter and one needing an open document.
CommandProvider frameOf(std::vector<CommandDetails> commands) {
  return [commands](int32_t index, CommandDetails& out) {
    if (index < 0 || static_cast<size_t>(index) >= commands.size()) return false;
    out = commands[index];
    return true;
  };
}

const std::vector<CommandDetails> kFrame = {
    {"SaveFile", 0x8, 0}, {"ClipBuffer", kParameterBit, 0}, {"Exit", 0, 0}, {"Print", 0x4001, 0},
    {"PPNextPage", 0, 77}, {"zeta", 0, 0}};

uint16_t ctrl(int key) { return makeKeyWord(0, key, false, true, false); }

std::vector<std::string> namesOf(const std::vector<CommandChoice>& choices) {
  std::vector<std::string> names;
  for (const auto& c : choices) names.push_back(c.name);
  return names;
}

TEST(RunCommandChoices, OfferEachEnabledNameOnceSortedWithoutCase) {
  CConfiguration cfg;
  cfg.addGroup(1, "General");
  for (auto [name, word, number] : {std::tuple{"Alpha", 0u, 1}, {"ClipBuffer", kParameterBit, 2},
                                     {"ClipBuffer", kParameterBit, 3}, {"Print", 0x4001u, 4}}) {
    auto* c = new CCommand;
    c->group = 1;
    c->number = static_cast<uint16_t>(number);
    c->name = name;
    c->conditionWord = word;
    cfg.appendCommand(c);
  }
  cfg.conditionMask = 0x8;   // a modified document, no editor window
  const CommandProvider providers[] = {frameOf(kFrame)};
  const auto choices = enabledCommands(&cfg, providers, [](std::uintptr_t test) { return test == 77; });
  EXPECT_EQ(namesOf(choices), (std::vector<std::string>{"Alpha", "ClipBuffer", "Exit", "SaveFile", "zeta"}));
  const auto clip = std::find_if(choices.begin(), choices.end(), [](auto& c) { return c.name == "ClipBuffer"; });
  EXPECT_TRUE(clip->takesParameter());

  cfg.conditionMask = 0xFFFFFFFF;
  EXPECT_EQ(enabledCommands(&cfg, providers, nullptr).size(), 7u);
  EXPECT_EQ(allCommands(nullptr, {}).size(), 0u);
}

TEST(RunCommandChoices, ParameterBitIsNotACondition) {
  EXPECT_TRUE(conditionsMet(kParameterBit, 0));
  EXPECT_TRUE(conditionsMet(kParameterBit | 0x1, 0x1));
  EXPECT_FALSE(conditionsMet(0x4001, 0x4000));
  EXPECT_TRUE(conditionsMet(0, 0));
}

TEST(CustomiseBinding, BindingSurvivesSaveAndReload) {
  auto cfg = loadBuiltin();
  ASSERT_TRUE(cfg);
  CustomiseModel model(*cfg, {frameOf(kFrame)});
  ASSERT_FALSE(model.boundTo(ctrl('J'), kContextEditor));
  EXPECT_EQ(model.bind(ctrl('J'), kContextEditor, "Exit", "", true, false), BindResult::kBound);
  // A command string the configuration has no entry for gets one.
  EXPECT_EQ(model.bind(ctrl('7'), kContextNone, "ClipBuffer", "77", false, false), BindResult::kBound);
  EXPECT_TRUE(model.changed());

  std::vector<uint8_t> bytes;
  ASSERT_EQ(serializeConfiguration(*cfg, bytes), ConfigSaveStatus::kOk);
  const CommandProvider providers[] = {frameOf(kFrame)};
  auto reloaded = loadConfiguration(bytes, providers).config;
  ASSERT_TRUE(reloaded);
  auto bound = reloaded->mapKey(ctrl('J'), kContextMarkedEditor);   // found through the editor's fallback
  ASSERT_TRUE(bound);
  EXPECT_EQ(bound->name, "Exit");
  bound = reloaded->mapKey(ctrl('7'), kContextEditor);
  ASSERT_TRUE(bound);
  EXPECT_EQ(bound->name, "ClipBuffer");
  EXPECT_EQ(bound->parameter, "77");
  EXPECT_EQ(reloaded->keyMap.count(), cfg->keyMap.count());
  EXPECT_EQ(reloaded->keyMap.shortcutText(reloaded->keyMap.find(ctrl('J'), kContextEditor, false)->command),
            "Ctrl+J");
}

TEST(CustomiseBinding, ReplacingAnotherCommandNeedsConsent) {
  auto cfg = loadBuiltin();
  ASSERT_TRUE(cfg);
  CustomiseModel model(*cfg, {frameOf(kFrame)});
  const auto before = model.boundTo(ctrl('S'), kContextEditor);
  ASSERT_TRUE(before);
  EXPECT_EQ(model.bind(ctrl('S'), kContextEditor, "Exit", "", false, false), BindResult::kNeedsOverwrite);
  EXPECT_EQ(model.boundTo(ctrl('S'), kContextEditor)->name, before->name);
  EXPECT_FALSE(model.changed());
  // Binding the same command again is no conflict.
  EXPECT_EQ(model.bind(ctrl('S'), kContextEditor, before->name, before->parameter, true, false), BindResult::kBound);
  EXPECT_EQ(model.bind(ctrl('S'), kContextEditor, "Exit", "", false, true), BindResult::kBound);
  EXPECT_EQ(model.boundTo(ctrl('S'), kContextEditor)->name, "Exit");
}

TEST(CustomiseBinding, RefusesWhatCannotBeBound) {
  auto cfg = loadBuiltin();
  ASSERT_TRUE(cfg);
  CustomiseModel model(*cfg, {frameOf(kFrame)});
  const int32_t count = cfg->keyMap.count();
  EXPECT_EQ(model.bind(makeKeyWord(0, 'A', false, false, false), kContextEditor, "Exit", "", false, false),
            BindResult::kKeyNotBindable);
  EXPECT_EQ(model.bind(makeKeyWord(0, kMouseLeftDown, false, false, false), kContextEditor, "Exit", "", false, false),
            BindResult::kWrongContext);
  EXPECT_EQ(model.bind(ctrl('J'), kContextMouseEditor, "Exit", "", false, false), BindResult::kWrongContext);
  EXPECT_EQ(model.bind(ctrl('J'), 99, "Exit", "", false, false), BindResult::kWrongContext);
  EXPECT_EQ(model.bind(ctrl('J'), kContextEditor, "NoSuchCommand", "", false, false), BindResult::kUnknownCommand);
  EXPECT_EQ(model.bind(ctrl('J'), kContextEditor, "", "", false, false), BindResult::kUnknownCommand);
  EXPECT_EQ(model.bind(ctrl('J'), kContextEditor, "Exit", std::string(65, 'p'), false, false),
            BindResult::kTextTooLong);
  EXPECT_EQ(cfg->keyMap.count(), count);
  EXPECT_FALSE(model.changed());
  for (auto r : {BindResult::kKeyNotBindable, BindResult::kWrongContext, BindResult::kUnknownCommand})
    EXPECT_FALSE(bindMessage(r).empty());
}

TEST(CustomiseBinding, UnbindRemovesOnlyThatContext) {
  auto cfg = loadBuiltin();
  ASSERT_TRUE(cfg);
  CustomiseModel model(*cfg, {});
  ASSERT_EQ(model.bind(ctrl('J'), kContextEditor, "SaveFile", "", false, false), BindResult::kBound);
  ASSERT_EQ(model.bind(ctrl('J'), kContextNone, "SaveFile", "", false, false), BindResult::kBound);
  model.markSaved();
  EXPECT_TRUE(model.unbind(ctrl('J'), kContextEditor));
  EXPECT_TRUE(model.changed());
  EXPECT_FALSE(model.boundTo(ctrl('J'), kContextEditor));
  EXPECT_TRUE(model.boundTo(ctrl('J'), kContextNone));
  EXPECT_FALSE(model.unbind(ctrl('J'), kContextEditor));
}

TEST(KeyMapListing, GroupsByContextInListOrder) {
  auto cfg = loadBuiltin();
  ASSERT_TRUE(cfg);
  const auto rows = keyMapRows(*cfg);
  EXPECT_EQ(static_cast<int32_t>(rows.size()), cfg->keyMap.count());
  // Contexts appear in the order the dialogs list them, each once as a block.
  std::vector<uint16_t> order;
  for (const auto& r : rows)
    if (order.empty() || order.back() != r.context) order.push_back(r.context);
  std::vector<uint16_t> listed;
  for (const auto& info : eventContexts()) listed.push_back(info.value);
  std::vector<uint16_t> expected;
  std::copy_if(listed.begin(), listed.end(), std::back_inserter(expected),
               [&](uint16_t v) { return std::find(order.begin(), order.end(), v) != order.end(); });
  EXPECT_EQ(order, expected);
  const auto save = std::find_if(rows.begin(), rows.end(), [](auto& r) { return r.key == "Ctrl+S"; });
  ASSERT_NE(save, rows.end());
  EXPECT_EQ(save->command, "SaveFile");
  const auto clip = std::find_if(rows.begin(), rows.end(), [](auto& r) { return r.key == "Alt+3"; });
  ASSERT_NE(clip, rows.end());
  EXPECT_EQ(clip->command, "ClipBuffer 3");
}

TEST(ConfigurationFiles, ChoicesAndSaveNames) {
  EXPECT_EQ(configurationChoices({"b.cfg", "A.cfg", "c.CFG"}),
            (std::vector<std::string>{"-- Default --", "A.cfg", "b.cfg", "c.CFG"}));
  std::string problem;
  EXPECT_EQ(configurationSaveName("  mine ", problem).value(), "mine.cfg");
  EXPECT_EQ(configurationSaveName("mine.CFG", problem).value(), "mine.CFG");
  for (const char* bad : {"", "   ", "-- Default --", "C:\\x.cfg", "sub/x", "a?b", "dots."}) {
    problem.clear();
    EXPECT_FALSE(configurationSaveName(bad, problem)) << bad;
    EXPECT_FALSE(problem.empty()) << bad;
  }
}

}  // namespace
}  // namespace osk
