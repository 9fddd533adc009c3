// Reading configuration files: the layout, renumbering, and damaged or hostile data.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "services/config/config_reader.h"
#include "services/config/config_writer.h"
#include "tests/services/config/raw_config.h"

namespace osk {
namespace {

using test::RawCommand;
using test::RawConfig;

constexpr uint16_t kCtrlN = (0x4E << 3) | kKeyCtrl;
constexpr uint16_t kCtrlO = (0x4F << 3) | kKeyCtrl;

RawConfig sampleFile() {
  RawConfig r;
  r.images = test::rawImageStrip(3);
  r.groups = {{1, "Top level Items"}, {2, "General"}};
  r.commands = {
      {.group = 1, .number = 10, .topLevel = 1, .menuText = "&File", .image = 4},
      {.group = 2, .condition = 0, .number = 11, .name = "NewFile", .help = "New file", .menuText = "&New",
       .image = 0},
      {.group = 2, .condition = 0x04000000, .number = 12, .name = "OpenFile", .menuText = "&Open...", .image = 1},
      {.group = 2, .number = 13, .name = "Exit", .menuText = "E&xit"},
  };
  r.menus = {{"Default", {{10, 2}, {11, 0}, {12, 0}, {0xF000, 0}, {13, 1}}}};
  r.keys = {{kCtrlN, 1, 10, 11}, {kCtrlO, 1, 0, 12}};
  r.toolBars = {{"Default Tool Bar", {11, 0xF000, 12, 13}}};
  return r;
}

std::unique_ptr<CConfiguration> parse(const std::vector<uint8_t>& bytes, ConfigLoadStatus expect) {
  auto cfg = std::make_unique<CConfiguration>();
  EXPECT_EQ(parseConfiguration(bytes, *cfg), expect);
  return cfg;
}

std::vector<int32_t> menuNumbers(const CMenuObject& m) {
  std::vector<int32_t> v;
  forEachMenuItem(m.root, [&](const CMenuItem& item, int, bool) { v.push_back(item.command); });
  return v;
}

TEST(ConfigReader, LoadsEverySection) {
  auto cfg = parse(sampleFile().bytes(), ConfigLoadStatus::kOk);
  EXPECT_EQ(cfg->groups.count(), 2);
  EXPECT_EQ(cfg->commands.count(), 6);   // two separators and four commands
  EXPECT_EQ(cfg->commandCount(), 4);
  EXPECT_EQ(cfg->imageCount(), 3);
  const CCommand* file = cfg->findCommand(1);
  ASSERT_NE(file, nullptr);
  EXPECT_TRUE(file->isTopLevel());
  EXPECT_EQ(file->specialListOptions(), 4);
  const CCommand* open = cfg->findCommand(3);
  ASSERT_NE(open, nullptr);
  EXPECT_EQ(open->name, "OpenFile");
  EXPECT_EQ(open->conditionWord, kParameterBit);
  EXPECT_EQ(cfg->findCommand(4)->imageIndex, -1);
  ASSERT_EQ(cfg->menus.count(), 1);
  EXPECT_EQ(menuNumbers(*cfg->menus.head()), (std::vector<int32_t>{1, 2, 3, kSeparatorNumber, 4}));
  EXPECT_EQ(cfg->menus.head()->root.children.head()->children.count(), 4);
  EXPECT_EQ(cfg->keyMap.count(), 2);
  ASSERT_EQ(cfg->toolBars.count(), 1);
  // Exit has no image, so the bar has no button for it.
  EXPECT_EQ(cfg->toolBars.head()->elements.count(), 3);
  EXPECT_EQ(cfg->nextFreeNumber, 5);
}

TEST(ConfigReader, SeparatorEntriesComeFromTheGroupsNotTheFile) {
  RawConfig r = sampleFile();
  r.commands.push_back({.group = 2, .number = 0xF000, .name = "ignored"});
  auto cfg = parse(r.bytes(), ConfigLoadStatus::kOk);
  int separators = 0;
  for (const CCommand& c : cfg->commands)
    if (c.isSeparator()) {
      ++separators;
      EXPECT_TRUE(c.name.empty());
    }
  EXPECT_EQ(separators, 2);
}

TEST(ConfigReader, RenumbersInListOrderAndReferencesFollow) {
  RawConfig r = sampleFile();
  // Numbers out of order, one of them colliding with a position another command will take.
  r.commands[0].number = 300;
  r.commands[1].number = 2;
  r.commands[2].number = 1;
  r.commands[3].number = 50;
  r.menus[0].items = {{300, 2}, {2, 0}, {1, 0}, {0xF000, 0}, {50, 1}};
  r.keys = {{kCtrlN, 1, 10, 2}, {kCtrlO, 1, 0, 1}};
  r.toolBars[0].items = {2, 0xF000, 1};
  auto cfg = parse(r.bytes(), ConfigLoadStatus::kOk);
  EXPECT_EQ(menuNumbers(*cfg->menus.head()), (std::vector<int32_t>{1, 2, 3, kSeparatorNumber, 4}));
  EXPECT_EQ(cfg->findCommand(cfg->keyMap.find(kCtrlN, 10, false)->command)->name, "NewFile");
  EXPECT_EQ(cfg->findCommand(cfg->keyMap.find(kCtrlO, 0, false)->command)->name, "OpenFile");
  std::vector<std::string> bar;
  for (const CToolBarElement& e : cfg->toolBars.head()->elements)
    bar.push_back(e.command == kSeparatorNumber ? "-" : cfg->findCommand(e.command)->name);
  EXPECT_EQ(bar, (std::vector<std::string>{"NewFile", "-", "OpenFile"}));
  EXPECT_EQ(cfg->nextFreeNumber, 5);
}

TEST(ConfigReader, MenuItemOfADroppedCommandNamesNothing) {
  RawConfig r = sampleFile();
  // Command 1 belongs to a group the file does not have; after renumbering another command takes number 1.
  r.commands[0].number = 5;
  r.commands[1].number = 1;
  r.commands[1].group = 9;
  r.menus[0].items = {{5, 2}, {1, 0}, {12, 0}, {0xF000, 0}, {13, 1}};
  r.keys = {{kCtrlO, 1, 0, 12}};
  r.toolBars[0].items = {12};
  auto cfg = parse(r.bytes(), ConfigLoadStatus::kOk);
  EXPECT_EQ(cfg->commandCount(), 3);
  const std::vector<int32_t> numbers = menuNumbers(*cfg->menus.head());
  EXPECT_EQ(numbers, (std::vector<int32_t>{1, kNoCommandNumber, 2, kSeparatorNumber, 3}));
  EXPECT_EQ(cfg->findCommand(kNoCommandNumber), nullptr);
}

TEST(ConfigReader, ImageIndexOutsideTheStripMeansNoImage) {
  RawConfig r = sampleFile();
  r.commands[1].image = 200;
  r.commands[2].image = -7;
  auto cfg = parse(r.bytes(), ConfigLoadStatus::kOk);
  EXPECT_EQ(cfg->findCommand(2)->imageIndex, -1);
  EXPECT_EQ(cfg->findCommand(3)->imageIndex, -1);
  // Neither has a button now; only the separator is left on the bar.
  EXPECT_EQ(cfg->toolBars.head()->elements.count(), 1);
}

TEST(ConfigReader, TopLevelOptionsAreNotTakenForImages) {
  RawConfig r = sampleFile();
  r.images = test::rawImageStrip(2);
  r.commands[0].image = 8;   // "append extension commands", above the two images
  auto cfg = parse(r.bytes(), ConfigLoadStatus::kOk);
  EXPECT_EQ(cfg->findCommand(1)->specialListOptions(), 8);
}

TEST(ConfigReader, UnknownGroupDropsTheCommandQuietly) {
  RawConfig r = sampleFile();
  r.commands[3].group = 7;
  r.toolBars[0].items = {11, 0xF000, 12};
  auto cfg = parse(r.bytes(), ConfigLoadStatus::kOk);
  EXPECT_EQ(cfg->commandCount(), 3);
  // A button for the dropped command, unlike a menu item, makes the file unusable.
  r.toolBars[0].items.push_back(13);
  parse(r.bytes(), ConfigLoadStatus::kDamaged);
}

TEST(ConfigReader, LaterKeyRecordReplacesEarlierForTheSameKeyAndContext) {
  RawConfig r = sampleFile();
  // The same key with different bits 11 to 15 and the same context.
  r.keys = {{kCtrlN, 1, 10, 11}, {static_cast<uint16_t>(kCtrlN | 0xE000), 0, 10, 13}};
  auto cfg = parse(r.bytes(), ConfigLoadStatus::kOk);
  EXPECT_EQ(cfg->keyMap.count(), 1);
  const CKeyMap* m = cfg->keyMap.find(kCtrlN, 10, false);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(cfg->findCommand(m->command)->name, "Exit");
  EXPECT_EQ(m->menuString, 0);
}

TEST(ConfigReader, LongestNamesRoundTripWithoutTerminators) {
  RawConfig r = sampleFile();
  const std::string name32(32, 'M');
  r.menus[0].name = name32;
  r.toolBars[0].name = std::string(32, 'T');
  r.commands[1].name = std::string(40, 'n');        // longer than its field would allow
  r.commands[1].help = std::string(64, 'h');
  r.groups[1].second = std::string(33, 'g');
  r.extensions = {std::string(16, 'x')};
  auto cfg = parse(r.bytes(), ConfigLoadStatus::kOk);
  EXPECT_EQ(cfg->menus.head()->name, name32);
  EXPECT_EQ(cfg->toolBars.head()->name, std::string(32, 'T'));
  EXPECT_EQ(cfg->findCommand(2)->name, std::string(32, 'n'));
  EXPECT_EQ(cfg->findCommand(2)->helpText, std::string(64, 'h'));
  EXPECT_EQ(cfg->groups.tail()->name, std::string(33, 'g'));
  ASSERT_EQ(cfg->extensions.count(), 1);
  EXPECT_EQ(cfg->extensions.head()->name, std::string(16, 'x'));
  std::vector<uint8_t> saved;
  ASSERT_EQ(serializeConfiguration(*cfg, saved), ConfigSaveStatus::kOk);
  auto again = parse(saved, ConfigLoadStatus::kOk);
  EXPECT_EQ(again->menus.head()->name, name32);
  EXPECT_EQ(again->toolBars.head()->name, std::string(32, 'T'));
}

TEST(ConfigReader, ExtensionEndRecordWithoutExtensionsLoads) {
  RawConfig r = sampleFile();
  auto withRecord = r.bytes();
  r.extensionEndRecord = false;
  auto without = r.bytes();
  EXPECT_EQ(withRecord.size(), without.size() + 17);
  parse(withRecord, ConfigLoadStatus::kOk);
  parse(without, ConfigLoadStatus::kOk);
}

TEST(ConfigReader, ExtensionsAreReadUpToTheEmptyRecord) {
  RawConfig r = sampleFile();
  r.extensions = {"OSKEXT1.DLL", "TOOLS32.DLL"};
  auto cfg = parse(r.bytes(), ConfigLoadStatus::kOk);
  ASSERT_EQ(cfg->extensions.count(), 2);
  EXPECT_EQ(cfg->extensions.tail()->name, "TOOLS32.DLL");
  EXPECT_EQ(cfg->extensions.tail()->loaded, 0);
  // A list whose end record is missing stops at the end of the data.
  r.extensionEndRecord = false;
  auto bytes = r.bytes();
  bytes.resize(bytes.size());
  auto cfg2 = std::make_unique<CConfiguration>();
  EXPECT_EQ(parseConfiguration(bytes, *cfg2), ConfigLoadStatus::kDamaged);
}

TEST(ConfigReader, WrongMagicVersionOrHeaderSizeIsNotAConfiguration) {
  const auto good = sampleFile().bytes();
  for (size_t at : {0u, 3u, 4u, 6u}) {
    auto bad = good;
    bad[at] ^= 0x01;
    parse(bad, ConfigLoadStatus::kNotConfiguration);
  }
  parse(std::vector<uint8_t>(good.begin(), good.begin() + 31), ConfigLoadStatus::kUnreadable);
}

TEST(ConfigReader, EveryTruncationFailsWithoutReadingPastTheData) {
  const auto good = sampleFile().bytes();
  // The 17 bytes of the empty extension list are not counted by the header.
  const size_t counted = good.size() - 17;
  for (size_t n = 32; n < counted; ++n) {
    // A copy of exactly n bytes, so the sanitizer catches any read beyond it.
    std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
    CConfiguration cfg;
    EXPECT_EQ(parseConfiguration(cut, cfg), ConfigLoadStatus::kDamaged) << n;
  }
  parse(std::vector<uint8_t>(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(counted)),
        ConfigLoadStatus::kOk);
}

TEST(ConfigReader, HeaderPromisingMoreThanTheLimitIsTooLarge) {
  RawConfig r = sampleFile();
  r.forceCommands = 300;   // 300 command records alone are 62,608 bytes
  parse(r.bytes(), ConfigLoadStatus::kTooLarge);
  r = sampleFile();
  r.forceGroups = 0xFFFF;
  parse(r.bytes(), ConfigLoadStatus::kTooLarge);
}

TEST(ConfigReader, ListsStopAtTheirCountsWhenEndRecordsAreMissing) {
  RawConfig r = sampleFile();
  auto bytes = r.bytes();
  // Overwrite the end records of the groups, commands and key map with live-looking records.
  const size_t groupsEnd = 32 + r.images.size() + 36 * 2;
  bytes[groupsEnd] = 5;
  const size_t commandsEnd = groupsEnd + 36 + 208 * r.commands.size();
  bytes[commandsEnd] = 2;
  bytes[commandsEnd + 6] = 77;
  auto cfg = parse(bytes, ConfigLoadStatus::kOk);
  EXPECT_EQ(cfg->groups.count(), 2);
  EXPECT_EQ(cfg->commandCount(), 4);
}

TEST(ConfigReader, BrokenMenuNestingIsDamage) {
  auto withItems = [](std::vector<std::pair<uint16_t, uint16_t>> items) {
    RawConfig r = sampleFile();
    r.menus[0].items = std::move(items);
    return r.bytes();
  };
  parse(withItems({{11, 3}}), ConfigLoadStatus::kDamaged);                    // unknown mark
  parse(withItems({{11, 1}, {12, 0}}), ConfigLoadStatus::kDamaged);           // item after the top level closed
  parse(withItems({{11, 0}, {12, 1}}), ConfigLoadStatus::kOk);
  parse(withItems({{11, 1}, {12, 1}}), ConfigLoadStatus::kDamaged);
  std::vector<std::pair<uint16_t, uint16_t>> deep(15, {10, 2});
  deep.push_back({11, 1});
  parse(withItems(deep), ConfigLoadStatus::kOk);                              // 15 submenu levels fit
  deep.insert(deep.begin(), {10, 2});
  parse(withItems(deep), ConfigLoadStatus::kDamaged);                         // 16 do not
}

TEST(ConfigReader, MenuWithoutEndRecordIsDamage) {
  RawConfig r = sampleFile();
  r.menus.push_back({"Second", {{11, 1}}});
  r.forceMenuItems = static_cast<int>(r.menus[0].items.size());   // the header forgets the second menu's item
  parse(r.bytes(), ConfigLoadStatus::kDamaged);
}

TEST(ConfigReader, KeyOrButtonNamingAMissingCommandIsDamage) {
  RawConfig r = sampleFile();
  r.keys.push_back({kCtrlN, 0, 0, 99});
  parse(r.bytes(), ConfigLoadStatus::kDamaged);
  r = sampleFile();
  r.keys.push_back({kCtrlN, 0, 0, 0xF000});
  parse(r.bytes(), ConfigLoadStatus::kDamaged);
  r = sampleFile();
  r.toolBars[0].items.push_back(99);
  parse(r.bytes(), ConfigLoadStatus::kDamaged);
}

TEST(ConfigReader, ImageSectionMustMatchItsOwnHeader) {
  auto withImages = [](std::vector<uint8_t> images) {
    RawConfig r = sampleFile();
    r.images = std::move(images);
    return r.bytes();
  };
  parse(withImages(test::rawImageStrip(3, 8)), ConfigLoadStatus::kOk);
  parse(withImages(test::rawImageStrip(4, 1)), ConfigLoadStatus::kOk);
  // One bit per pixel with an odd number of images: stored rows are shorter than a bitmap's rows.
  parse(withImages(test::rawImageStrip(3, 1)), ConfigLoadStatus::kDamaged);
  parse(withImages(test::rawImageStrip(3, 24)), ConfigLoadStatus::kDamaged);
  parse(withImages(test::rawImageStrip(3, 4, 16)), ConfigLoadStatus::kDamaged);
  parse(withImages(test::rawImageStrip(3, 4, 15, 17)), ConfigLoadStatus::kDamaged);
  auto shortStrip = test::rawImageStrip(3);
  shortStrip.pop_back();
  parse(withImages(shortStrip), ConfigLoadStatus::kDamaged);
  parse(withImages(std::vector<uint8_t>(39, 0)), ConfigLoadStatus::kDamaged);
  auto strip = test::rawImageStrip(3);
  strip[16] = 1;   // compressed
  parse(withImages(strip), ConfigLoadStatus::kDamaged);
  // A section longer than its strip is accepted; the strip keeps only what its header describes.
  auto longer = test::rawImageStrip(3);
  longer.resize(longer.size() + 10, 0xAB);
  auto cfg = parse(withImages(longer), ConfigLoadStatus::kOk);
  EXPECT_EQ(cfg->bitmaps.bytes().size(), longer.size() - 10);
}

TEST(ConfigReader, NameResolutionAsksTheFrameThenTheExtensions) {
  const auto bytes = sampleFile().bytes();
  std::vector<CommandDetails> frame = {{"NewFile", 0x10, 0}, {"OpenFile", 0x04000001, 0}};
  std::vector<CommandDetails> extension = {{"Exit", 0x20, 0x1234}, {"NewFile", 0x40, 0}};
  auto fromList = [](std::vector<CommandDetails> list) {
    return CommandProvider([list](int32_t i, CommandDetails& out) {
      if (i < 0 || i >= static_cast<int32_t>(list.size())) return false;
      out = list[static_cast<size_t>(i)];
      return true;
    });
  };
  std::vector<CommandProvider> providers = {fromList(frame)};
  ConfigLoadResult partial = loadConfiguration(bytes, providers);
  ASSERT_EQ(partial.status, ConfigLoadStatus::kOk);
  EXPECT_EQ(partial.unresolved, 1);   // Exit
  EXPECT_EQ(partial.config->findCommand(2)->conditionWord, 0x10u);
  providers.push_back(fromList(extension));
  ConfigLoadResult all = loadConfiguration(bytes, providers);
  EXPECT_EQ(all.unresolved, 0);
  // Every provider that knows a name is applied in order, so the later one wins.
  EXPECT_EQ(all.config->findCommand(2)->conditionWord, 0x40u);
  EXPECT_EQ(all.config->findCommand(4)->enablingTest, 0x1234u);
}

TEST(ConfigReader, FailedLoadHandsBackNothing) {
  RawConfig r = sampleFile();
  r.keys.push_back({kCtrlN, 0, 0, 99});
  ConfigLoadResult result = loadConfiguration(r.bytes(), {});
  EXPECT_EQ(result.status, ConfigLoadStatus::kDamaged);
  EXPECT_EQ(result.config, nullptr);
  EXPECT_TRUE(loadFailureIsReported(result.status));
  EXPECT_FALSE(loadFailureIsReported(ConfigLoadStatus::kNotConfiguration));
}

}  // namespace
}  // namespace osk
