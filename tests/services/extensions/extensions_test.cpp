// Extension libraries: loading from the settings, binding the entry points, merging their commands into a
// configuration, running them, their menus, and what happens with libraries that misbehave.
#include <gtest/gtest.h>

#include "fake_extensions.h"
#include "services/config/config_reader.h"
#include "services/config/config_writer.h"
#include "services/extensions/instance_extensions.h"
#include "services/memory_settings.h"

namespace osk {
namespace {

using test::Endless;
using test::FakeLoader;
using test::FakeModule;
using test::Library;
using test::MemorySettings;

using LibA = Library<1>;
using LibB = Library<2>;

constexpr const char* kIni = "C:\\OSK\\OSK.INI";

class Extensions : public ::testing::Test {
 protected:
  void SetUp() override {
    LibA::reset();
    LibB::reset();
    Endless::reset();
    a = LibA::module();
    b = LibB::module();
    endless = Endless::module();
    incomplete = LibA::module();
    incomplete.entries.erase("EXT_IsMacroEnabled");
    LibA::commands = {{"SortLines", "&Sort Lines"},
                      {"InsertNumber", "Insert &Number", kParameterBit, "1"},
                      {"", ""},
                      {"", "&Tidy"},
                      {"StripBlanks", "Strip &Blanks"}};
  }
  std::unique_ptr<FakeLoader> loader() {
    return std::make_unique<FakeLoader>(std::map<std::string, FakeModule*>{
        {"C:\\Ext\\Alpha.dll", &a},
        {"C:\\Ext\\Beta.dll", &b},
        {"C:\\Ext\\Endless.dll", &endless},
        {"C:\\Ext\\Incomplete.dll", &incomplete},
        {"D:\\Long\\AVeryLongLibraryName.dll", &a}});
  }
  // A configuration with one ordinary command, "SaveFile", number 1, bound to Ctrl+S.
  static std::unique_ptr<CConfiguration> plainConfiguration() {
    auto cfg = std::make_unique<CConfiguration>();
    cfg->addGroup(1, "General");
    auto* c = new CCommand;
    c->group = 1;
    c->number = 1;
    c->name = "SaveFile";
    cfg->appendCommand(c);
    cfg->nextFreeNumber = 2;
    return cfg;
  }
  static std::vector<const CCommand*> extensionCommands(const CConfiguration& cfg) {
    std::vector<const CCommand*> out;
    for (const CCommand& c : cfg.commands)
      if (c.state & kStateExtension) out.push_back(&c);
    return out;
  }
  static const CCommand* named(const CConfiguration& cfg, const std::string& name) {
    for (const CCommand& c : cfg.commands)
      if (c.name == name) return &c;
    return nullptr;
  }

  FakeModule a, b, endless, incomplete;
};

TEST(ExtensionShortName, IsTheFileNameCutToSixteenCharacters) {
  EXPECT_EQ(extensionShortName("C:\\OSK\\Ext\\Sample.dll"), "Sample.dll");
  EXPECT_EQ(extensionShortName("C:Sample.dll"), "Sample.dll");
  EXPECT_EQ(extensionShortName("C:/tools/Sample.dll"), "Sample.dll");
  EXPECT_EQ(extensionShortName("Sample.dll"), "Sample.dll");
  EXPECT_EQ(extensionShortName("C:\\AVeryLongLibraryName.dll"), "AVeryLongLibrary");
  EXPECT_EQ(extensionLoadFailureText("C:\\x.dll"), "Failed to load extension DLL \"C:\\x.dll\"");
}

TEST_F(Extensions, LibraryLackingAnEntryPointIsRefusedAndFreed) {
  auto l = loader();
  EXPECT_EQ(CExtensionDLL::load(*l, "C:\\Ext\\Incomplete.dll"), nullptr);
  EXPECT_EQ(incomplete.loads, 1);
  EXPECT_EQ(incomplete.frees, 1);
  EXPECT_EQ(CExtensionDLL::load(*l, "C:\\Ext\\Missing.dll"), nullptr);
  auto dll = CExtensionDLL::load(*l, "C:\\Ext\\Alpha.dll");
  ASSERT_NE(dll, nullptr);
  EXPECT_EQ(dll->shortName(), "Alpha.dll");
  EXPECT_EQ(dll->description(), "A test library");
  dll.reset();
  EXPECT_EQ(a.frees, 1);
}

TEST_F(Extensions, SettingsListEndsAtTheFirstEmptyKeyAndFailuresAreReported) {
  MemorySettings ini;
  ini.sections["Extended"] = {{"ExtDLL0", "C:\\Ext\\Alpha.dll"},
                              {"ExtDLL1", "C:\\Ext\\Incomplete.dll"},
                              {"ExtDLL2", "C:\\Ext\\Beta.dll"},
                              {"ExtDLL3", ""},
                              {"ExtDLL4", "C:\\Ext\\Endless.dll"}};
  CExtensionList list(loader());
  std::vector<std::string> failed;
  list.loadFromSettings(ini, kIni, [&](const std::string& path) { failed.push_back(path); });
  ASSERT_EQ(list.count(), 2u);
  EXPECT_EQ(list.at(0).shortName(), "Alpha.dll");
  EXPECT_EQ(list.at(1).shortName(), "Beta.dll");
  EXPECT_EQ(failed, std::vector<std::string>{"C:\\Ext\\Incomplete.dll"});
  EXPECT_EQ(endless.loads, 0);
  EXPECT_EQ(LibA::settingsLoads, std::vector<std::string>{kIni});

  // Loading again starts from an empty list: every library is freed first.
  list.loadFromSettings(ini, kIni, nullptr);
  EXPECT_EQ(list.count(), 2u);
  EXPECT_EQ(a.frees, 1);
}

TEST_F(Extensions, SavingWritesTheListAndAnEmptyKeyAfterIt) {
  MemorySettings ini;
  ini.sections["Extended"] = {{"ExtDLL0", "C:\\Ext\\Alpha.dll"}, {"ExtDLL1", "C:\\Ext\\Beta.dll"},
                              {"ExtDLL2", "C:\\Ext\\Endless.dll"}};
  CExtensionList list(loader());
  list.loadFromSettings(ini, kIni, nullptr);
  list.remove(2);
  list.remove(1);
  list.saveToSettings(ini, kIni);
  EXPECT_EQ(ini.sections["Extended"]["ExtDLL0"], "C:\\Ext\\Alpha.dll");
  EXPECT_EQ(ini.sections["Extended"]["ExtDLL1"], "");
  EXPECT_EQ(LibA::settingsSaves, std::vector<std::string>{kIni});
  EXPECT_TRUE(LibB::settingsSaves.empty());
  list.loadFromSettings(ini, kIni, nullptr);
  EXPECT_EQ(list.count(), 1u);
}

TEST_F(Extensions, CommandRunsInTheFirstLibraryThatAnswersIt) {
  LibB::commands = {{"SortLines", "Sort"}, {"OnlyInB", "B"}};
  CExtensionList list(loader());
  ASSERT_EQ(list.add("C:\\Ext\\Alpha.dll", kIni), CExtensionList::AddResult::kAdded);
  ASSERT_EQ(list.add("C:\\Ext\\Beta.dll", kIni), CExtensionList::AddResult::kAdded);
  EXPECT_EQ(list.runCommand("SortLines", "x"), 1);
  EXPECT_EQ(list.runCommand("OnlyInB", ""), 2);
  EXPECT_EQ(list.runCommand("sortlines", ""), 0);   // names compare exactly
  EXPECT_EQ(LibA::ran, std::vector<std::string>{"SortLines|x"});
  EXPECT_EQ(LibB::ran, std::vector<std::string>{"OnlyInB|"});
}

TEST_F(Extensions, AddingTheSameLibraryTwiceIsRefused) {
  CExtensionList list(loader());
  EXPECT_EQ(list.add("C:\\Ext\\Alpha.dll", kIni), CExtensionList::AddResult::kAdded);
  EXPECT_EQ(list.add("c:/ext/ALPHA.DLL", kIni), CExtensionList::AddResult::kAlreadyLoaded);
  // Another path to the same module.
  EXPECT_EQ(list.add("D:\\Long\\AVeryLongLibraryName.dll", kIni), CExtensionList::AddResult::kAlreadyLoaded);
  EXPECT_EQ(a.loads - a.frees, 1);
  EXPECT_EQ(list.add("C:\\Ext\\Incomplete.dll", kIni), CExtensionList::AddResult::kFailed);
  EXPECT_EQ(list.count(), 1u);
}

TEST_F(Extensions, UnknownLibraryGetsAnEntryAndItsCommandsInGroup999) {
  CExtensionList list(loader());
  list.add("C:\\Ext\\Alpha.dll", kIni);
  auto cfg = plainConfiguration();
  list.mergeInto(*cfg);

  ASSERT_NE(cfg->findGroup(kExtensionGroup), nullptr);
  EXPECT_EQ(cfg->findGroup(kExtensionGroup)->name, "Extensions");
  ASSERT_EQ(cfg->extensions.count(), 1);
  EXPECT_EQ(cfg->extensions.head()->name, "Alpha.dll");
  EXPECT_EQ(cfg->extensions.head()->loaded, 1);
  EXPECT_EQ(cfg->extensions.head()->notSaved, 0);

  const auto added = extensionCommands(*cfg);
  ASSERT_EQ(added.size(), 5u);
  EXPECT_EQ(added[0]->name, "SortLines");
  EXPECT_EQ(added[0]->number, 2);
  EXPECT_EQ(added[0]->group, kExtensionGroup);
  EXPECT_EQ(added[0]->imageIndex, -1);
  EXPECT_FALSE(added[0]->isTopLevel());
  EXPECT_EQ(added[1]->conditionWord, kParameterBit);
  EXPECT_EQ(added[1]->parameter, "1");
  EXPECT_TRUE(added[2]->isSeparator());
  EXPECT_TRUE(added[3]->isTopLevel());
  EXPECT_EQ(added[3]->specialListOptions(), 0);
  EXPECT_EQ(added[4]->number, 5);
  EXPECT_EQ(cfg->nextFreeNumber, 6);
}

TEST_F(Extensions, ListedLibraryAddsNothingAndMissingOnesAreLeftOutOfTheNextSave) {
  CExtensionList list(loader());
  list.add("C:\\Ext\\Alpha.dll", kIni);
  auto cfg = plainConfiguration();
  cfg->extensions.append(new CConfigExtensionDLL("Alpha.dll"));
  cfg->extensions.append(new CConfigExtensionDLL("Gone.dll"));
  list.mergeInto(*cfg);
  EXPECT_TRUE(extensionCommands(*cfg).empty());
  EXPECT_EQ(cfg->findGroup(kExtensionGroup), nullptr);
  ASSERT_EQ(cfg->extensions.count(), 2);
  EXPECT_EQ(cfg->extensions.head()->notSaved, 0);
  EXPECT_EQ(cfg->extensions.tail()->notSaved, 1);
}

TEST_F(Extensions, LongFileNameMatchesTheEntryByItsFirstSixteenCharacters) {
  CExtensionList list(loader());
  list.add("D:\\Long\\AVeryLongLibraryName.dll", kIni);
  auto cfg = plainConfiguration();
  cfg->extensions.append(new CConfigExtensionDLL("AVeryLongLibrary"));
  list.mergeInto(*cfg);
  EXPECT_EQ(cfg->extensions.count(), 1);
  EXPECT_EQ(cfg->extensions.head()->notSaved, 0);
  EXPECT_TRUE(extensionCommands(*cfg).empty());
}

TEST_F(Extensions, MergingAgainKeepsNumbersAndBindingsAndDropsWhatIsGone) {
  MemorySettings ini;
  ini.sections["Extended"] = {{"ExtDLL0", "C:\\Ext\\Alpha.dll"}};
  CInstance instance(nullptr, kIni);
  CInstanceExtensions extensions(instance, loader());
  extensions.loadSettings(ini, nullptr);
  instance.install(plainConfiguration());
  CConfiguration& cfg = *instance.configuration();
  const CCommand* strip = named(cfg, "StripBlanks");
  ASSERT_NE(strip, nullptr);
  const int32_t stripNumber = strip->number;
  cfg.addKeyMapping(makeKeyWord(0, 'Q', false, true, false), kContextEditor, 1, stripNumber);
  cfg.toolBars.append(new CToolBarObject("Bar"))->elements.append(new CToolBarElement(stripNumber));

  // A second library joins: the first library's commands are made again with the numbers they had.
  ASSERT_EQ(extensions.add("C:\\Ext\\Beta.dll"), CExtensionList::AddResult::kAdded);
  EXPECT_EQ(extensionCommands(cfg).size(), 5u);
  EXPECT_EQ(cfg.extensions.count(), 2);
  ASSERT_NE(named(cfg, "StripBlanks"), nullptr);
  EXPECT_EQ(named(cfg, "StripBlanks")->number, stripNumber);
  auto bound = cfg.mapKey(makeKeyWord(0, 'Q', false, true, false), kContextEditor);
  ASSERT_TRUE(bound);
  EXPECT_EQ(bound->name, "StripBlanks");

  // The first library goes: its commands, entry, key and button go with it; no entry points at another library.
  ASSERT_TRUE(extensions.remove(0));
  EXPECT_TRUE(extensionCommands(cfg).empty());
  ASSERT_EQ(cfg.extensions.count(), 1);
  EXPECT_EQ(cfg.extensions.head()->name, "Beta.dll");
  EXPECT_FALSE(cfg.mapKey(makeKeyWord(0, 'Q', false, true, false), kContextEditor));
  EXPECT_TRUE(cfg.toolBars.head()->elements.empty());
}

TEST_F(Extensions, ProvidersAnswerNothingOnceTheirLibraryIsGone) {
  CInstance instance(nullptr, kIni);
  CInstanceExtensions extensions(instance, loader());
  extensions.add("C:\\Ext\\Alpha.dll");
  const std::vector<CommandProvider> kept(instance.extensionProviders().begin(),
                                          instance.extensionProviders().end());
  ASSERT_EQ(kept.size(), 1u);
  CommandDetails d;
  ASSERT_TRUE(kept[0](1, d));
  EXPECT_EQ(d.name, "InsertNumber");
  EXPECT_EQ(d.conditionWord, kParameterBit);
  extensions.remove(0);
  EXPECT_TRUE(instance.extensionProviders().empty());
  EXPECT_FALSE(kept[0](0, d));
  EXPECT_EQ(a.frees, 1);
}

TEST_F(Extensions, CommandsLoseTheEnablingTestsOfALibraryThatIsFreed) {
  CInstance instance(nullptr, kIni);
  CInstanceExtensions extensions(instance, loader());
  extensions.add("C:\\Ext\\Alpha.dll");
  auto cfg = plainConfiguration();
  cfg->extensions.append(new CConfigExtensionDLL("Alpha.dll"));
  auto* c = new CCommand;
  c->group = 1;
  c->number = 7;
  c->name = "SortLines";
  cfg->appendCommand(c);
  std::vector<uint8_t> bytes;
  ASSERT_EQ(serializeConfiguration(*cfg, bytes), ConfigSaveStatus::kOk);
  std::vector<CommandProvider> providers(instance.extensionProviders().begin(), instance.extensionProviders().end());
  instance.install(loadConfiguration(bytes, providers).config);
  ASSERT_NE(instance.configuration(), nullptr);
  EXPECT_EQ(named(*instance.configuration(), "SortLines")->enablingTest,
            reinterpret_cast<std::uintptr_t>(&LibA::enablingTest));

  MemorySettings empty;
  extensions.loadSettings(empty, nullptr);
  EXPECT_EQ(named(*instance.configuration(), "SortLines")->enablingTest, 0u);
  EXPECT_EQ(a.frees, 1);

  // Loaded again, the library gives the command its test back.
  extensions.add("C:\\Ext\\Alpha.dll");
  EXPECT_EQ(named(*instance.configuration(), "SortLines")->enablingTest,
            reinterpret_cast<std::uintptr_t>(&LibA::enablingTest));
}

TEST_F(Extensions, SavedConfigurationReloadedWithoutTheLibraryForgetsItAtTheNextSave) {
  CExtensionList withAlpha(loader());
  withAlpha.add("C:\\Ext\\Alpha.dll", kIni);
  auto cfg = plainConfiguration();
  withAlpha.mergeInto(*cfg);
  std::vector<uint8_t> saved;
  ASSERT_EQ(serializeConfiguration(*cfg, saved), ConfigSaveStatus::kOk);

  ConfigLoadResult reloaded = loadConfiguration(saved, {});
  ASSERT_EQ(reloaded.status, ConfigLoadStatus::kOk);
  ASSERT_EQ(reloaded.config->extensions.count(), 1);
  EXPECT_NE(named(*reloaded.config, "SortLines"), nullptr);   // the commands stay
  CExtensionList without(loader());
  without.mergeInto(*reloaded.config);
  EXPECT_NE(named(*reloaded.config, "SortLines"), nullptr);

  std::vector<uint8_t> again;
  ASSERT_EQ(serializeConfiguration(*reloaded.config, again), ConfigSaveStatus::kOk);
  ConfigLoadResult third = loadConfiguration(again, {});
  ASSERT_EQ(third.status, ConfigLoadStatus::kOk);
  EXPECT_EQ(third.config->extensions.count(), 0);
  EXPECT_NE(named(*third.config, "SortLines"), nullptr);
}

// Records the menus as an indented outline: one line per item, two blanks per level.
class OutlineSink : public ExtensionMenuSink {
 public:
  struct Menu {
    int depth;
  };
  std::vector<std::string> lines;
  std::vector<std::unique_ptr<Menu>> menus;
  Menu root{0};

  void* appendPopup(void* menu, const std::string& text) override {
    const int depth = static_cast<Menu*>(menu)->depth;
    lines.push_back(std::string(2 * depth, ' ') + ">" + text.substr(0, 10));
    menus.push_back(std::make_unique<Menu>(Menu{depth + 1}));
    return menus.back().get();
  }
  void appendItem(void* menu, uint16_t number, const std::string& text) override {
    lines.push_back(std::string(2 * static_cast<Menu*>(menu)->depth, ' ') + text + "=" + std::to_string(number));
  }
  void appendSeparator(void* menu) override {
    lines.push_back(std::string(2 * static_cast<Menu*>(menu)->depth, ' ') + "-");
  }
};

TEST_F(Extensions, MenuDescriptionBuildsNestedPopups) {
  // Sort Lines, a separator, then a "Tidy" popup holding Strip Blanks and Insert Number, then Sort Lines again.
  LibA::menu = {{0, 0}, {2, 0}, {3, 2}, {4, 0}, {1, 1}, {0, 1}};
  CInstance instance(nullptr, kIni);
  CInstanceExtensions extensions(instance, loader());
  extensions.add("C:\\Ext\\Alpha.dll");
  OutlineSink sink;
  extensions.addMenus(sink, &sink.root);
  EXPECT_TRUE(sink.lines.empty());   // no configuration yet

  instance.install(plainConfiguration());
  // A key bound to Strip Blanks with its name shown in menus.
  instance.configuration()->addKeyMapping(makeKeyWord(0, 'B', false, true, false), kContextEditor, 1, 5);
  extensions.addMenus(sink, &sink.root);
  EXPECT_EQ(sink.lines, (std::vector<std::string>{"&Sort Lines=2", "-", ">&Tidy", "  Strip &Blanks\tCtrl+B=5",
                                                  "  Insert &Number=3", "&Sort Lines=2"}));
}

TEST_F(Extensions, MenuStopsAtACommandTheConfigurationDoesNotHoldAndSkipsListedLibraries) {
  LibA::menu = {{0, 0}, {99, 0}, {4, 0}};
  CInstance instance(nullptr, kIni);
  CInstanceExtensions extensions(instance, loader());
  extensions.add("C:\\Ext\\Alpha.dll");
  instance.install(plainConfiguration());
  OutlineSink sink;
  extensions.addMenus(sink, &sink.root);
  EXPECT_EQ(sink.lines, std::vector<std::string>{"&Sort Lines=2"});

  // A library the configuration already lists keeps whatever menus the configuration has.
  auto listing = plainConfiguration();
  listing->extensions.append(new CConfigExtensionDLL("Alpha.dll"));
  instance.install(std::move(listing));
  sink.lines.clear();
  extensions.addMenus(sink, &sink.root);
  EXPECT_TRUE(sink.lines.empty());
}

TEST_F(Extensions, EndlessLibraryIsBoundedEverywhere) {
  CInstance instance(nullptr, kIni);
  CInstanceExtensions extensions(instance, loader());
  ASSERT_EQ(extensions.add("C:\\Ext\\Endless.dll"), CExtensionList::AddResult::kAdded);
  EXPECT_EQ(extensions.libraries().at(0).description(), std::string(255, 'X'));
  instance.install(plainConfiguration());
  const CConfiguration& cfg = *instance.configuration();

  // The commands stop where the configuration could no longer be saved.
  const auto added = extensionCommands(cfg);
  EXPECT_GT(added.size(), 200u);
  EXPECT_LT(added.size(), static_cast<size_t>(EXT_MAX_INDEX));
  std::vector<uint8_t> bytes;
  EXPECT_EQ(serializeConfiguration(cfg, bytes), ConfigSaveStatus::kOk);
  EXPECT_LE(Endless::macroCalls, 2 * EXT_MAX_INDEX);
  EXPECT_EQ(added[1]->name, std::string(32, 'X'));
  EXPECT_EQ(added[1]->parameter, std::string(64, 'X'));
  EXPECT_EQ(added[1]->helpText, std::string(64, 'X'));
  EXPECT_EQ(added[1]->menuText, std::string(32, 'X'));

  CommandDetails d;
  ASSERT_TRUE(instance.extensionProviders()[0](5, d));
  EXPECT_EQ(d.name, std::string(32, 'Y'));
  EXPECT_FALSE(instance.extensionProviders()[0](EXT_MAX_INDEX, d));

  // Every menu item opens a deeper popup: the stack stops at sixteen levels and the walk at the bound.
  OutlineSink sink;
  extensions.addMenus(sink, &sink.root);
  EXPECT_EQ(sink.lines.size(), static_cast<size_t>(EXT_MAX_INDEX));
  int deepest = 0;
  for (const auto& m : sink.menus) deepest = std::max(deepest, m->depth);
  EXPECT_EQ(deepest, kMaxMenuDepth);
}

}  // namespace
}  // namespace osk
