// Writing configuration files: byte layout, refusal of results the reader could not load, and safe replacement.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "services/config/config_format.h"
#include "services/config/config_reader.h"
#include "services/config/config_writer.h"
#include "tests/services/config/raw_config.h"

namespace osk {
namespace {

CCommand* addCommand(CConfiguration& cfg, int32_t group, const std::string& name, int32_t image = -1) {
  auto* c = new CCommand;
  c->group = group;
  c->number = static_cast<uint16_t>(cfg.nextFreeNumber++);
  c->name = name;
  c->menuText = "&" + name;
  c->imageIndex = image;
  return cfg.appendCommand(c);
}

std::unique_ptr<CConfiguration> sampleConfiguration() {
  auto cfg = std::make_unique<CConfiguration>();
  cfg->bitmaps.makeBlank(2);
  cfg->addGroup(1, "Top level Items");
  cfg->addGroup(2, "General");
  CCommand* file = addCommand(*cfg, 1, "");
  file->state |= kStateTopLevel;
  file->imageIndex = kListRecentFiles;
  file->menuText = "&File";
  CCommand* save = addCommand(*cfg, 2, "SaveFile", 0);
  CCommand* exit = addCommand(*cfg, 2, "Exit", 1);
  CMenuObject* menu = cfg->menus.append(new CMenuObject("Default"));
  CMenuItem* popup = menu->root.children.append(new CMenuItem(file->number));
  popup->children.append(new CMenuItem(save->number));
  popup->children.append(new CMenuItem(kSeparatorNumber));
  popup->children.append(new CMenuItem(exit->number));
  cfg->addKeyMapping((0x53 << 3) | kKeyCtrl, kContextEditor, 1, save->number);
  CToolBarObject* bar = cfg->toolBars.append(new CToolBarObject("Default Tool Bar"));
  bar->elements.append(new CToolBarElement(save->number));
  bar->elements.append(new CToolBarElement(kSeparatorNumber));
  bar->elements.append(new CToolBarElement(exit->number));
  return cfg;
}

std::vector<uint8_t> save(const CConfiguration& cfg, ConfigSaveStatus expect = ConfigSaveStatus::kOk) {
  std::vector<uint8_t> out;
  EXPECT_EQ(serializeConfiguration(cfg, out), expect);
  return out;
}

uint16_t u16At(const std::vector<uint8_t>& b, size_t off) { return static_cast<uint16_t>(b[off] | b[off + 1] << 8); }

TEST(ConfigWriter, WritesTheHeaderCountsAndTheEmptyExtensionList) {
  auto cfg = sampleConfiguration();
  const auto bytes = save(*cfg);
  auto header = readConfigHeader(bytes);
  ASSERT_TRUE(header);
  EXPECT_EQ(header->imageBytes, 40 + 64 + 16 * 15);
  EXPECT_EQ(header->groups, 2);
  EXPECT_EQ(header->commands, 5);
  EXPECT_EQ(header->menus, 1);
  EXPECT_EQ(header->menuItems, 4);
  EXPECT_EQ(header->keys, 1);
  EXPECT_EQ(header->toolBars, 1);
  EXPECT_EQ(header->toolBarItems, 3);
  EXPECT_EQ(header->extensions, 0);
  EXPECT_EQ(bytes.size(), header->expectedLength() + 17);
  EXPECT_TRUE(std::all_of(bytes.end() - 17, bytes.end(), [](uint8_t b) { return b == 0; }));
  EXPECT_TRUE(std::all_of(bytes.begin() + 26, bytes.begin() + 32, [](uint8_t b) { return b == 0; }));
}

TEST(ConfigWriter, KeyMapEndRecordRepeatsTheLastKeyAndContext) {
  auto cfg = sampleConfiguration();
  const auto bytes = save(*cfg);
  const auto at = readConfigHeader(bytes)->offsets();
  const size_t end = at.keys + 8;
  EXPECT_EQ(u16At(bytes, end), (0x53 << 3) | kKeyCtrl);
  EXPECT_EQ(u16At(bytes, end + 2), 0);
  EXPECT_EQ(u16At(bytes, end + 4), kContextEditor);
  EXPECT_EQ(u16At(bytes, end + 6), 0);
}

TEST(ConfigWriter, LoadThenSaveGivesTheSameBytes) {
  auto cfg = sampleConfiguration();
  cfg->extensions.append(new CConfigExtensionDLL("OSKEXT.DLL"));
  const auto first = save(*cfg);
  CConfiguration loaded;
  ASSERT_EQ(parseConfiguration(first, loaded), ConfigLoadStatus::kOk);
  EXPECT_EQ(save(loaded), first);
}

TEST(ConfigWriter, ExtensionsMarkedNotSavedAreLeftOut) {
  auto cfg = sampleConfiguration();
  cfg->extensions.append(new CConfigExtensionDLL("KEEP.DLL"));
  cfg->extensions.append(new CConfigExtensionDLL("DROP.DLL"))->notSaved = 1;
  const auto bytes = save(*cfg);
  EXPECT_EQ(readConfigHeader(bytes)->extensions, 1);
  CConfiguration loaded;
  ASSERT_EQ(parseConfiguration(bytes, loaded), ConfigLoadStatus::kOk);
  ASSERT_EQ(loaded.extensions.count(), 1);
  EXPECT_EQ(loaded.extensions.head()->name, "KEEP.DLL");
}

TEST(ConfigWriter, RefusesReferencesToCommandsThatNoLongerExist) {
  auto cfg = sampleConfiguration();
  cfg->keyMap.set((0x51 << 3) | kKeyCtrl, 0, 0, 77);
  save(*cfg, ConfigSaveStatus::kDanglingReference);
  cfg = sampleConfiguration();
  cfg->toolBars.head()->elements.append(new CToolBarElement(77));
  save(*cfg, ConfigSaveStatus::kDanglingReference);
  cfg = sampleConfiguration();
  cfg->keyMap.set((0x51 << 3) | kKeyCtrl, 0, 0, 0);
  save(*cfg, ConfigSaveStatus::kBadStructure);
}

TEST(ConfigWriter, RefusesAResultOverTheSizeLimit) {
  auto cfg = sampleConfiguration();
  while (cfg->commands.count() < 300) addCommand(*cfg, 2, "Filler");
  save(*cfg, ConfigSaveStatus::kTooLarge);
}

TEST(ConfigWriter, RefusesMenusNestedDeeperThanAFileHolds) {
  auto cfg = sampleConfiguration();
  CMenuItem* parent = &cfg->menus.head()->root;
  for (int depth = 0; depth <= kMaxMenuDepth; ++depth) parent = parent->children.append(new CMenuItem(1));
  save(*cfg, ConfigSaveStatus::kBadStructure);
  // One level less is fine.
  cfg = sampleConfiguration();
  parent = &cfg->menus.head()->root;
  for (int depth = 0; depth < kMaxMenuDepth; ++depth) parent = parent->children.append(new CMenuItem(1));
  save(*cfg);
}

TEST(ConfigWriter, SubmenuEndingTwoLevelsKeepsTheFollowingItemsInPlace) {
  auto cfg = sampleConfiguration();
  CMenuItem* file = cfg->menus.head()->root.children.head();
  // &File > [SaveFile, -, Exit, Nested > [SaveFile]] followed by a top-level Exit.
  CMenuItem* nested = file->children.append(new CMenuItem(1));
  nested->children.append(new CMenuItem(2));
  cfg->menus.head()->root.children.append(new CMenuItem(3));
  CConfiguration loaded;
  ASSERT_EQ(parseConfiguration(save(*cfg), loaded), ConfigLoadStatus::kOk);
  const CMenuItem& root = loaded.menus.head()->root;
  ASSERT_EQ(root.children.count(), 2);
  EXPECT_EQ(root.children.tail()->command, 3);
  // The closing separator is the only trace.
  EXPECT_EQ(root.children.head()->children.count(), 5);
  EXPECT_EQ(root.children.head()->children.tail()->command, kSeparatorNumber);
}

TEST(ConfigWriter, MenuItemNamingNothingStaysInItsMenu) {
  auto cfg = sampleConfiguration();
  cfg->menus.head()->root.children.head()->children.append(new CMenuItem(0));
  cfg->menus.head()->root.children.append(new CMenuItem(3));
  CConfiguration loaded;
  ASSERT_EQ(parseConfiguration(save(*cfg), loaded), ConfigLoadStatus::kOk);
  EXPECT_EQ(loaded.menus.head()->root.children.count(), 2);
  EXPECT_EQ(loaded.menus.head()->root.children.head()->children.tail()->command, kNoCommandNumber);
}

class ConfigFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("osk_cfg_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  static std::vector<uint8_t> readAll(const std::filesystem::path& p) {
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
  }
  std::filesystem::path dir_;
};

TEST_F(ConfigFileTest, SaveAndLoadThroughAFile) {
  auto cfg = sampleConfiguration();
  const auto path = dir_ / "MINE.CFG";
  ASSERT_EQ(saveConfigurationFile(*cfg, path), ConfigSaveStatus::kOk);
  EXPECT_TRUE(isConfigurationFile(path));
  std::vector<uint8_t> bytes;
  ASSERT_EQ(readConfigurationFile(path, bytes), ConfigLoadStatus::kOk);
  // The file is read up to the length its header counts, without the empty extension list.
  EXPECT_EQ(bytes.size() + 17, readAll(path).size());
  EXPECT_EQ(loadConfiguration(bytes, {}).status, ConfigLoadStatus::kOk);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "MINE.CFG.new"));
}

TEST_F(ConfigFileTest, RefusedSaveLeavesTheOldFileAlone) {
  const auto path = dir_ / "MINE.CFG";
  auto cfg = sampleConfiguration();
  ASSERT_EQ(saveConfigurationFile(*cfg, path), ConfigSaveStatus::kOk);
  const auto before = readAll(path);
  cfg->keyMap.set((0x51 << 3) | kKeyCtrl, 0, 0, 77);
  EXPECT_EQ(saveConfigurationFile(*cfg, path), ConfigSaveStatus::kDanglingReference);
  EXPECT_EQ(readAll(path), before);
  EXPECT_EQ(saveConfigurationFile(*sampleConfiguration(), dir_ / "missing" / "X.CFG"), ConfigSaveStatus::kFileError);
}

TEST_F(ConfigFileTest, ReadingFailsQuietlyForMissingForeignAndShortFiles) {
  std::vector<uint8_t> bytes;
  EXPECT_EQ(readConfigurationFile(dir_ / "none.cfg", bytes), ConfigLoadStatus::kUnreadable);
  EXPECT_FALSE(isConfigurationFile(dir_ / "none.cfg"));
  std::ofstream(dir_ / "text.cfg") << "This is not a configuration file, it is text.\n";
  EXPECT_EQ(readConfigurationFile(dir_ / "text.cfg", bytes), ConfigLoadStatus::kNotConfiguration);
  EXPECT_FALSE(isConfigurationFile(dir_ / "text.cfg"));
  auto good = save(*sampleConfiguration());
  good.resize(good.size() - 40);
  std::ofstream(dir_ / "short.cfg", std::ios::binary).write(reinterpret_cast<const char*>(good.data()),
                                                            static_cast<std::streamsize>(good.size()));
  EXPECT_TRUE(isConfigurationFile(dir_ / "short.cfg"));
  EXPECT_EQ(readConfigurationFile(dir_ / "short.cfg", bytes), ConfigLoadStatus::kDamaged);
  EXPECT_TRUE(bytes.empty());
}

}  // namespace
}  // namespace osk
