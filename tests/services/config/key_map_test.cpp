// Key and mouse mapping: lookups in every context, key names, mouse events and command strings.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <vector>

#include "services/config/configuration.h"
#include "services/config/key_map.h"

namespace osk {
namespace {

constexpr uint16_t key(int code, uint16_t mods = 0) { return static_cast<uint16_t>((code << 3) | mods); }
constexpr int kBack = 0x08, kHome = 0x24, kSpace = 0x20, kF1 = 0x70, kF3 = 0x72;

TEST(KeyMapLookup, MarkedEditorFallsBackToEditorButItsOwnMappingWins) {
  CKeyMapTable t;
  t.set(key(kBack, kKeyCtrl), kContextEditor, 0, 1);
  EXPECT_EQ(t.find(key(kBack, kKeyCtrl), kContextMarkedEditor, true)->command, 1);
  EXPECT_EQ(t.find(key(kBack, kKeyCtrl), kContextMarkedEditor, false), nullptr);
  t.set(key(kBack, kKeyCtrl), kContextMarkedEditor, 0, 2);
  EXPECT_EQ(t.find(key(kBack, kKeyCtrl), kContextMarkedEditor, true)->command, 2);
  EXPECT_EQ(t.find(key(kBack, kKeyCtrl), kContextEditor, true)->command, 1);
}

TEST(KeyMapLookup, OtherContextsFindOnlyTheNoneMapping) {
  CKeyMapTable t;
  t.set(key(kF3), kContextNone, 0, 7);
  t.set(key(kF3), kContextEditor, 0, 8);
  EXPECT_EQ(t.find(key(kF3), kContextOpenBar, true)->command, 7);
  EXPECT_EQ(t.find(key(kF3), kContextPrintPreview, true)->command, 7);
  EXPECT_EQ(t.find(key(kF3), kContextEditor, true)->command, 8);
  // The editor mapping does not answer for the mouse or the Open Bar.
  EXPECT_EQ(t.find(key(kF3), kContextMouseMarkedText, true)->command, 7);
}

TEST(KeyMapLookup, MouseContextsOverTextFallBackToTheEditorWindow) {
  CKeyMapTable t;
  const uint16_t left = key(kMouseLeftDown);
  t.set(left, kContextMouseEditor, 0, 3);
  for (uint16_t ctx : {kContextMouseMarkedText, kContextMouseMargin, kContextMouseUnmarkedText})
    EXPECT_EQ(t.find(left, ctx, true)->command, 3) << ctx;
  EXPECT_EQ(t.find(left, kContextMouseOpenBar, true), nullptr);
  EXPECT_EQ(t.find(left, kContextMouseToolBar, true), nullptr);
  t.set(left, kContextMouseMargin, 0, 4);
  EXPECT_EQ(t.find(left, kContextMouseMargin, true)->command, 4);
}

TEST(KeyMapLookup, LaterCandidateInListOrderWins) {
  CKeyMapTable t;
  // Both "None" and "Focus on Editor Window" answer context 12; there is no chain, the later one wins.
  t.set(key(kHome, kKeyCtrl), kContextEditor, 0, 1);
  t.set(key(kHome, kKeyCtrl), kContextNone, 0, 2);
  EXPECT_EQ(t.find(key(kHome, kKeyCtrl), kContextMarkedEditor, true)->command, 2);
  CKeyMapTable u;
  u.set(key(kHome, kKeyCtrl), kContextNone, 0, 2);
  u.set(key(kHome, kKeyCtrl), kContextEditor, 0, 1);
  EXPECT_EQ(u.find(key(kHome, kKeyCtrl), kContextMarkedEditor, true)->command, 1);
}

TEST(KeyMapLookup, HighBitsOfTheWordAreIgnored) {
  CKeyMapTable t;
  t.set(0xE780, kContextMouseEditor, 0, 5);
  EXPECT_EQ(t.find(0x0780, kContextMouseEditor, false)->command, 5);
  t.set(0x0780, kContextMouseEditor, 1, 6);
  EXPECT_EQ(t.count(), 1);
  EXPECT_EQ(t.find(0xF780, kContextMouseEditor, false)->command, 6);
  EXPECT_TRUE(t.remove(0x1780, kContextMouseEditor));
  EXPECT_EQ(t.count(), 0);
}

TEST(KeyMapLookup, ModifiersMakeDifferentKeys) {
  CKeyMapTable t;
  t.set(key(kHome), kContextEditor, 0, 1);
  EXPECT_EQ(t.find(key(kHome, kKeyShift), kContextEditor, true), nullptr);
  EXPECT_EQ(t.find(key(kHome, kKeyCtrl), kContextEditor, true), nullptr);
}

TEST(KeyMapCommands, MappingsOfACommandInTableOrderAndTheShortcutText) {
  CKeyMapTable t;
  const uint16_t ctrlS = key('S', kKeyCtrl), f2 = key(0x71), shiftF12 = key(0x7B, kKeyShift);
  // Added in this order; table order is by key code: F2 (0x71), Shift+F12 (0x7B), Ctrl+S (0x53 -> list 0x53).
  t.set(shiftF12, kContextEditor, 1, 9);
  t.set(ctrlS, kContextEditor, 1, 9);
  t.set(f2, kContextEditor, 0, 9);
  std::vector<uint16_t> order;
  for (const CKeyMap* m = t.firstOf(9); m; m = t.nextOf(m, 9)) order.push_back(m->keyWord);
  EXPECT_EQ(order, (std::vector<uint16_t>{ctrlS, f2, shiftF12}));
  // The first flagged key in table order, not the most recently added one.
  EXPECT_EQ(t.shortcutText(9), "Ctrl+S");
  t.set(ctrlS, kContextEditor, 0, 9);
  EXPECT_EQ(t.shortcutText(9), "Shift+F12");
  EXPECT_EQ(t.shortcutText(10), "");
}

TEST(KeyMapCommands, ShortcutSkipsFlaggedKeysThatHaveNoName) {
  CKeyMapTable t;
  t.set(key('A'), kContextEditor, 1, 4);            // plain A cannot be named
  t.set(key(kHome, kKeyAlt), kContextEditor, 1, 4);
  EXPECT_EQ(t.shortcutText(4), "Alt+Home");
}

TEST(KeyMapCommands, RemovingACommandDropsAllItsMappings) {
  CKeyMapTable t;
  t.set(key('S', kKeyCtrl), 0, 0, 3);
  t.set(key(kF3), 0, 0, 3);
  t.set(key(kF1, kKeyShift), 0, 0, 4);
  EXPECT_EQ(t.removeCommand(3), 2);
  EXPECT_EQ(t.count(), 1);
  EXPECT_EQ(t.firstOf(3), nullptr);
}

// A plain model of the table: one list in insertion order per bucket.
TEST(KeyMapLookup, AgreesWithASimpleModelOnRandomOperations) {
  struct Entry {
    uint16_t word, ctx;
    int32_t cmd;
  };
  std::mt19937 rng(20240611);
  const uint16_t contexts[] = {0, 10, 11, 12, 20, 21, 22, 23, 24, 25, 26};
  for (int round = 0; round < 20; ++round) {
    CKeyMapTable table;
    std::vector<Entry> model;
    auto pickWord = [&] {
      // Few codes, so that keys collide in lists; random high bits, which must not matter.
      static const int codes[] = {0x08, 0x24, 0x41, 0x88, 0xC1, 240, 241, 0x70};
      return static_cast<uint16_t>((rng() & 0xF800) | (codes[rng() % 8] << 3) | (rng() % 8));
    };
    for (int op = 0; op < 400; ++op) {
      const uint16_t word = pickWord();
      const uint16_t ctx = contexts[rng() % 11];
      auto same = [&](const Entry& e) { return ((e.word ^ word) & 0x7FF) == 0 && e.ctx == ctx; };
      if (rng() % 4 == 0) {
        auto it = std::find_if(model.begin(), model.end(), same);
        EXPECT_EQ(table.remove(word, ctx), it != model.end());
        if (it != model.end()) model.erase(it);
      } else if (rng() % 2 == 0) {
        const int32_t cmd = static_cast<int32_t>(rng() % 50 + 1);
        table.set(word, ctx, 0, cmd);
        auto it = std::find_if(model.begin(), model.end(), same);
        if (it != model.end()) it->cmd = cmd;
        else model.push_back({word, ctx, cmd});
      } else {
        const bool fallback = rng() % 2 == 0;
        const Entry* want = nullptr;
        for (const Entry& e : model) {
          if (((e.word ^ word) & 0x7FF) != 0) continue;
          if (e.ctx == ctx) {
            want = &e;
            break;
          }
          if (fallback && (e.ctx == 0 || (e.ctx == 10 && ctx == 12) ||
                           (e.ctx == 20 && (ctx == 22 || ctx == 23 || ctx == 24))))
            want = &e;
        }
        const CKeyMap* got = table.find(word, ctx, fallback);
        ASSERT_EQ(got == nullptr, want == nullptr);
        if (got) EXPECT_EQ(got->command, want->cmd);
      }
      EXPECT_EQ(table.count(), static_cast<int32_t>(model.size()));
    }
  }
}

TEST(KeyNames, BindableKeysAndTheirNames) {
  EXPECT_EQ(formatKeyName(key('A')), std::nullopt);
  EXPECT_EQ(formatKeyName(key('A', kKeyShift)), std::nullopt);
  EXPECT_EQ(formatKeyName(key('A', kKeyCtrl)), "Ctrl+A");
  EXPECT_EQ(formatKeyName(key(kF1)), std::nullopt);
  EXPECT_EQ(formatKeyName(key(kF1, kKeyShift)), "Shift+F1");
  EXPECT_EQ(formatKeyName(key(kSpace)), std::nullopt);
  EXPECT_EQ(formatKeyName(key(kSpace, kKeyShift)), "Shift+Space");
  EXPECT_EQ(formatKeyName(key(kHome, kKeyShift | kKeyCtrl)), "Ctrl+Shift+Home");
  EXPECT_EQ(formatKeyName(key(kHome, kKeyShift | kKeyCtrl | kKeyAlt)), "Alt+Ctrl+Shift+Home");
  EXPECT_EQ(formatKeyName(key(kBack)), "Back");
  EXPECT_EQ(formatKeyName(key(0x6C)), "Numpad enter");
  EXPECT_EQ(formatKeyName(key(0x87, kKeyAlt)), "Alt+F24");
  EXPECT_EQ(formatKeyName(key(kMouseLeftDoubleClick)), "Left Mouse Dlb Click");
  EXPECT_EQ(formatKeyName(key(kMouseMiddleDoubleClick, kKeyCtrl)), "Ctrl+Mid Mouse Dlb Click");
  EXPECT_EQ(formatKeyName(static_cast<uint16_t>(0xE000 | key(kHome))), "Home");
}

TEST(KeyNames, KeysOutsideTheTableNeedCtrlOrAltAndACharacter) {
  EXPECT_EQ(formatKeyName(key(0xDD, kKeyCtrl)), "Ctrl+]");
  EXPECT_EQ(formatKeyName(key(0xDD)), std::nullopt);
  EXPECT_EQ(formatKeyName(key(0xDD, kKeyShift)), std::nullopt);
  EXPECT_EQ(formatKeyName(key(0x10, kKeyCtrl)), std::nullopt);   // Shift itself: no character
  auto noCharacters = [](int) { return 0; };
  EXPECT_EQ(formatKeyName(key(0xDD, kKeyCtrl), noCharacters), std::nullopt);
  auto space = [](int) { return 32; };
  EXPECT_EQ(formatKeyName(key(0xDD, kKeyCtrl), space), std::nullopt);
}

TEST(KeyNames, NamesParseBackToTheirWords) {
  for (int code = 0; code < 256; ++code)
    for (uint16_t mods = 0; mods < 8; ++mods) {
      const uint16_t word = key(code, mods);
      const auto name = formatKeyName(word);
      const auto back = name ? parseKeyName(*name) : std::nullopt;
      if (name) {
        ASSERT_TRUE(back) << *name;
        EXPECT_EQ(*back, word) << *name;
      }
    }
  EXPECT_EQ(parseKeyName("Shift+A"), std::nullopt);
  EXPECT_EQ(parseKeyName("Shift+Ctrl+A"), std::nullopt);
  EXPECT_EQ(parseKeyName("Ctrl+"), std::nullopt);
  EXPECT_EQ(parseKeyName("Ctrl+Numpad +"), key(0x6B, kKeyCtrl));
}

TEST(MouseEvents, ButtonAndMoveMessagesOnly) {
  EXPECT_EQ(mouseEventFromMessage(0x0201), kMouseLeftDown);
  EXPECT_EQ(mouseEventFromMessage(0x0200), kMouseMove);
  EXPECT_EQ(mouseEventFromMessage(0x0203), kMouseLeftDoubleClick);
  EXPECT_EQ(mouseEventFromMessage(0x0209), kMouseMiddleDoubleClick);
  EXPECT_EQ(mouseEventFromMessage(0x01FF), 0);
  EXPECT_EQ(mouseEventFromMessage(0x020A), 0);   // the wheel
  EXPECT_EQ(mouseEventFromMessage(0x0100), 0);
}

TEST(EventContexts, NamesAndValues) {
  EXPECT_STREQ(eventContextName(kContextMarkedEditor), "Focus on Marked Editor Window");
  EXPECT_STREQ(eventContextName(kContextMouseMargin), "Mouse Over Editor Window Margin");
  EXPECT_EQ(eventContextName(13), nullptr);
  EXPECT_EQ(eventContextValue("Print Preview"), kContextPrintPreview);
  EXPECT_EQ(eventContextValue("print preview"), std::nullopt);
  EXPECT_EQ(eventContexts().size(), 11u);
}

TEST(MapKey, BoundCommandStringAndEnabledState) {
  CConfiguration cfg;
  cfg.addGroup(1, "General");
  auto* clip = new CCommand;
  clip->group = 1;
  clip->number = 1;
  clip->name = "ClipBuffer";
  clip->parameter = "3";
  cfg.appendCommand(clip);
  EXPECT_FALSE(cfg.addKeyMapping(key('3', kKeyAlt), 0, 0, 2));
  EXPECT_FALSE(cfg.addKeyMapping(key('3', kKeyAlt), 0, 0, kSeparatorNumber));
  ASSERT_TRUE(cfg.addKeyMapping(key('3', kKeyAlt), 0, 0, 1));
  auto bound = cfg.mapKey(key('3', kKeyAlt), kContextEditor);
  ASSERT_TRUE(bound);
  EXPECT_EQ(bound->name, "ClipBuffer");
  EXPECT_EQ(bound->parameter, "3");
  EXPECT_TRUE(bound->enabled);
  clip->state |= kStateDisabled;
  EXPECT_FALSE(cfg.mapKey(key('3', kKeyAlt), kContextEditor)->enabled);
  EXPECT_FALSE(cfg.mapKey(key('4', kKeyAlt), kContextEditor));
  // A mapping whose command went away answers nothing.
  cfg.keyMap.set(key('5', kKeyAlt), 0, 0, 9);
  EXPECT_FALSE(cfg.mapKey(key('5', kKeyAlt), 0));
}

TEST(MenuLookup, MenuNamesCompareWithoutCase) {
  CConfiguration cfg;
  cfg.menus.append(new CMenuObject("Default"));
  cfg.menus.append(new CMenuObject("Editor Menu"));
  EXPECT_EQ(cfg.findMenu("default"), cfg.menus.head());
  EXPECT_EQ(cfg.findMenu("EDITOR MENU"), cfg.menus.tail());
  EXPECT_EQ(cfg.findMenu("Editor"), nullptr);
}

}  // namespace
}  // namespace osk
