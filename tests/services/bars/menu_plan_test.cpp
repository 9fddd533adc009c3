// Menus built from configurations, and the command states that menus and tool buttons show.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "services/bars/menu_plan.h"
#include "services/config/config_reader.h"

namespace osk {
namespace {

std::unique_ptr<CConfiguration> loadBuiltin() {
  std::vector<uint8_t> bytes;
  if (readConfigurationFile(OSK_BUILTIN_CONFIG, bytes) != ConfigLoadStatus::kOk) return nullptr;
  return loadConfiguration(bytes, {}).config;
}

const CCommand* byName(const CConfiguration& cfg, std::string_view name, std::string_view parameter = {}) {
  for (const CCommand& c : cfg.commands)
    if (c.name == name && c.parameter == parameter) return &c;
  return nullptr;
}

const MenuPlanEntry* entryFor(const MenuPlan& plan, int32_t command) {
  for (const MenuPlanEntry& e : plan.entries)
    if (e.command == command) return &e;
  return nullptr;
}

// A small configuration: group 1 with top-level items, group 2 with commands, menus built by the test.
struct Small {
  CConfiguration cfg;
  Small() {
    cfg.addGroup(1, "Top level Items");
    cfg.addGroup(2, "General");
  }
  int32_t add(std::string name, std::string menuText, uint32_t cond = 0, bool top = false, int32_t options = 0) {
    auto* c = new CCommand;
    c->group = top ? 1 : 2;
    c->number = static_cast<uint16_t>(cfg.nextFreeNumber++);
    c->name = std::move(name);
    c->menuText = std::move(menuText);
    c->conditionWord = cond;
    if (top) {
      c->state = kStateTopLevel;
      c->imageIndex = options;
    }
    cfg.appendCommand(c);
    return c->number;
  }
  CMenuItem* item(CMenuItem& parent, int32_t number) { return parent.children.append(new CMenuItem(number)); }
};

TEST(MenuPlan, DefaultMenuBarHasThePopupsInOrderWithShortcuts) {
  auto cfg = loadBuiltin();
  ASSERT_TRUE(cfg);
  // The name is found without regard to case.
  auto plan = planMenu(*cfg, "default");
  ASSERT_TRUE(plan);
  std::vector<std::string> bar;
  for (const MenuPlanEntry& e : plan->entries) {
    if (e.menu != 0) continue;
    EXPECT_EQ(e.kind, MenuPlanEntry::Kind::kPopup);
    bar.push_back(e.text);
  }
  EXPECT_EQ(bar, (std::vector<std::string>{"&File", "&Edit", "&Options", "&Utilities", "&Key Macros", "&Window",
                                           "&Help"}));
  const CCommand* save = byName(*cfg, "SaveFile");
  ASSERT_TRUE(save);
  const MenuPlanEntry* e = entryFor(*plan, save->number);
  ASSERT_TRUE(e);
  EXPECT_EQ(e->text, "&Save\tCtrl+S");
  EXPECT_EQ(e->kind, MenuPlanEntry::Kind::kItem);
  // SaveFile sits in the File popup, which is menu 1 since File is the first popup.
  EXPECT_EQ(e->menu, 1);
  // The File popup's first items, separators where the configuration has them.
  std::vector<MenuPlanEntry::Kind> kinds;
  for (const MenuPlanEntry& x : plan->entries)
    if (x.menu == 1 && kinds.size() < 5) kinds.push_back(x.kind);
  using K = MenuPlanEntry::Kind;
  EXPECT_EQ(kinds, (std::vector<K>{K::kItem, K::kItem, K::kItem, K::kSeparator, K::kItem}));
  // The Date submenu opens inside Utilities, two levels down.
  bool nested = false;
  for (const MenuPlanEntry& x : plan->entries)
    if (x.kind == K::kPopup && x.text == "&Date") nested = x.menu != 0;
  EXPECT_TRUE(nested);
  EXPECT_FALSE(planMenu(*cfg, "No Such Menu"));
}

TEST(MenuPlan, SpecialListOptionsTravelWithTheirPopups) {
  auto cfg = loadBuiltin();
  ASSERT_TRUE(cfg);
  auto plan = planMenu(*cfg, "Default");
  ASSERT_TRUE(plan);
  std::map<std::string, int32_t> options;
  for (const MenuPlanEntry& e : plan->entries)
    if (e.kind == MenuPlanEntry::Kind::kPopup) options[e.text] = e.specialOptions;
  EXPECT_EQ(options["&File"], kListRecentFiles);
  EXPECT_EQ(options["&Window"], kListOpenWindows);
  EXPECT_EQ(options["&Utilities"], kListExtensionCommands);
  EXPECT_EQ(options["&Edit"], 0);
  // A table entry with bits 5 takes the popups whose options are 1, 4 or 5, never 2, and never a popup without any.
  EXPECT_TRUE(specialListTakes(5, 1));
  EXPECT_TRUE(specialListTakes(5, 4));
  EXPECT_TRUE(specialListTakes(5, 5));
  EXPECT_FALSE(specialListTakes(5, 2));
  EXPECT_FALSE(specialListTakes(5, 0));
}

TEST(MenuPlan, ItemsUnderANodeThatOpensNoPopupAreLeftOut) {
  Small s;
  const int32_t file = s.add("", "&File", 0, true);
  const int32_t save = s.add("SaveFile", "&Save");
  const int32_t child = s.add("Child", "C&hild");
  const int32_t after = s.add("After", "&After");
  auto* menu = s.cfg.menus.append(new CMenuObject("Bar"));
  CMenuItem* f = s.item(menu->root, file);
  CMenuItem* sv = s.item(*f, save);
  s.item(*sv, child);          // below an item that is not a popup
  s.item(*f, after);
  s.item(*f, 0x1234);          // a number that names nothing: kept, without text
  auto plan = planMenu(s.cfg, "Bar");
  ASSERT_TRUE(plan);
  EXPECT_FALSE(entryFor(*plan, child));
  ASSERT_TRUE(entryFor(*plan, after));
  EXPECT_EQ(entryFor(*plan, after)->menu, 1);
  ASSERT_TRUE(entryFor(*plan, 0x1234));
  EXPECT_EQ(entryFor(*plan, 0x1234)->text, "");
  EXPECT_EQ(plan->menuCount, 2);
}

TEST(MenuPlan, SixteenLevelsAreTheDeepestAMenuGoes) {
  Small s;
  auto* menu = s.cfg.menus.append(new CMenuObject("Deep"));
  CMenuItem* parent = &menu->root;
  std::vector<int32_t> tops;
  for (int i = 0; i < 20; ++i) {
    tops.push_back(s.add("", "Level " + std::to_string(i), 0, true));
    parent = s.item(*parent, tops.back());
  }
  auto plan = planMenu(s.cfg, "Deep");
  ASSERT_TRUE(plan);
  EXPECT_LE(plan->menuCount, kMenuStackDepth);
  for (const MenuPlanEntry& e : plan->entries) EXPECT_LT(e.menu, kMenuStackDepth);
}

TEST(CommandState, MaskEnablesCommandsWhoseConditionsHoldIgnoringTheParameterMark) {
  Small s;
  const int32_t always = s.add("Always", "A", kParameterBit);   // only the parameter mark
  const int32_t needs3 = s.add("Needs3", "B", 0x3);
  const int32_t tested = s.add("Tested", "C", 0x3);
  s.cfg.findCommand(tested)->enablingTest = 0x1000;
  auto changes = applyConditionMask(s.cfg, 0x1);
  EXPECT_FALSE(s.cfg.findCommand(always)->state & kStateDisabled);
  EXPECT_TRUE(s.cfg.findCommand(needs3)->state & kStateDisabled);
  // A command with its own enabling test is left to that test.
  EXPECT_FALSE(s.cfg.findCommand(tested)->state & kStateDisabled);
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].command, needs3);
  EXPECT_TRUE(changes[0].disabled());
  // The same mask again changes nothing.
  EXPECT_TRUE(applyConditionMask(s.cfg, 0x1).empty());
  changes = applyConditionMask(s.cfg, 0x7);
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_FALSE(changes[0].disabled());
  EXPECT_EQ(s.cfg.conditionMask, 0x7u);
}

TEST(CommandState, PartEnableChangesOnlyTheGivenBits) {
  Small s;
  const int32_t needs2 = s.add("Needs2", "B", 0x2);
  applyConditionMask(s.cfg, 0xFFFFFFFFu);
  EXPECT_TRUE(changeConditionBits(s.cfg, 0, 0).empty());
  EXPECT_EQ(s.cfg.conditionMask, 0xFFFFFFFFu);
  auto changes = changeConditionBits(s.cfg, 0x2, 0x0);
  EXPECT_EQ(s.cfg.conditionMask, 0xFFFFFFFDu);
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].command, needs2);
  // Values outside the bits are ignored.
  EXPECT_TRUE(changeConditionBits(s.cfg, 0x1, 0xFFFFFFFFu).empty());
  EXPECT_EQ(s.cfg.conditionMask, 0xFFFFFFFDu);
}

TEST(CommandState, EnablingTestsSetDisabledAndCheckedInOneChange) {
  Small s;
  const int32_t a = s.add("A", "A");
  const int32_t b = s.add("B", "B");
  s.cfg.findCommand(a)->enablingTest = 1;
  s.cfg.findCommand(b)->enablingTest = 2;
  auto changes = applyEnablingTests(s.cfg, [](std::uintptr_t test) { return test == 1 ? 3 : 2; });
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_EQ(changes[0].command, a);
  EXPECT_TRUE(changes[0].disabled());
  EXPECT_TRUE(changes[0].checked());
  EXPECT_FALSE(changes[1].disabled());
  EXPECT_TRUE(changes[1].checked());
  EXPECT_TRUE(applyEnablingTests(s.cfg, [](std::uintptr_t test) { return test == 1 ? 3 : 2; }).empty());
}

TEST(CommandState, CheckAndHighlightFollowTheExactName) {
  Small s;
  const int32_t one = s.add("WordWrapToggle", "W");
  const int32_t two = s.add("WordWrapToggle", "W2");
  const int32_t other = s.add("wordwraptoggle", "w");
  auto changes = setCheckedByName(s.cfg, "WordWrapToggle", true);
  EXPECT_EQ(changes.size(), 2u);
  EXPECT_TRUE(s.cfg.findCommand(one)->state & kStateChecked);
  EXPECT_TRUE(s.cfg.findCommand(two)->state & kStateChecked);
  EXPECT_FALSE(s.cfg.findCommand(other)->state & kStateChecked);
  changes = setHighlightedByName(s.cfg, "WordWrapToggle", true);
  EXPECT_EQ(changes.size(), 2u);
  EXPECT_TRUE(changes[0].highlightChanged());
  EXPECT_FALSE(changes[0].checkedChanged());
  // The built menu greys and checks from the states.
  s.cfg.findCommand(other)->state |= kStateDisabled;
  auto* menu = s.cfg.menus.append(new CMenuObject("M"));
  menu->root.children.append(new CMenuItem(one));
  auto plan = planMenu(s.cfg, "M");
  ASSERT_TRUE(plan);
  EXPECT_EQ(plan->greyed, std::vector<int32_t>{other});
  EXPECT_EQ(plan->checked, (std::vector<int32_t>{one, two}));
}

}  // namespace
}  // namespace osk
