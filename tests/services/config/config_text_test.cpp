// The text form of configurations: what any file turns into, and the errors a hand-written text gets.
#include <gtest/gtest.h>

#include "services/config/config_reader.h"
#include "services/config/config_text.h"
#include "services/config/config_writer.h"
#include "tests/services/config/raw_config.h"

namespace osk {
namespace {

constexpr const char* kSmall = R"(ocfg 259
group 1 "Top level Items"
group 2 "General"
command menu.File group=1 top menu="&File" options=4
command Save group=2 name="SaveFile" menu="&Save" help="Save \"it\" \\ now\x01" cond=0x00000008 image=0
command Track.EditorMenu group=2 name="TrackMenu" param="\"Editor Menu\"" cond=0x04000000
menu "Default"
  menu.File {
    Save
    -
    Track.EditorMenu
  }
end
key "Focus on Editor Window" "Ctrl+S" Save show
key "Mouse Over Editor Window" "Right Mouse Up" Track.EditorMenu
toolbar "Bar"
  Save
end
extension "EXT32.DLL"
images 1
palette
  colour 0 @ 000000
  colour 1 r 800000
  colour 2 g 008000
  colour 3 y 808000
  colour 4 b 000080
  colour 5 m 800080
  colour 6 c 008080
  colour 7 . C0C0C0
  colour 8 + 808080
  colour 9 R FF0000
  colour 10 G 00FF00
  colour 11 Y FFFF00
  colour 12 B 0000FF
  colour 13 M FF00FF
  colour 14 C 00FFFF
  colour 15 w FFFFFF
end
image 0
  @...............
  .r..............
  ..g.............
  ...y............
  ....b...........
  .....m..........
  ......c.........
  ................
  ........+.......
  .........R......
  ..........G.....
  ...........Y....
  ............B...
  .............M..
  ..............Cw
)";

bool compile(const std::string& text, CConfiguration& cfg, ConfigTextError& error) {
  return configurationFromText(text, cfg, error);
}

std::string errorOf(const std::string& text) {
  CConfiguration cfg;
  ConfigTextError error;
  EXPECT_FALSE(compile(text, cfg, error)) << text;
  return std::to_string(error.line) + ": " + error.message;
}

TEST(ConfigText, CompilesEveryStatement) {
  CConfiguration cfg;
  ConfigTextError error;
  ASSERT_TRUE(compile(kSmall, cfg, error)) << error.line << ": " << error.message;
  EXPECT_EQ(cfg.commandCount(), 3);
  const CCommand* save = cfg.findCommand(2);
  EXPECT_EQ(save->helpText, "Save \"it\" \\ now\x01");
  EXPECT_EQ(cfg.findCommand(3)->parameter, "\"Editor Menu\"");
  EXPECT_EQ(cfg.findCommand(1)->specialListOptions(), 4);
  EXPECT_EQ(cfg.keyMap.shortcutText(2), "Ctrl+S");
  EXPECT_EQ(cfg.bitmaps.pixel(0, 0, 0), 0);
  EXPECT_EQ(cfg.bitmaps.pixel(0, 15, 14), 15);
  EXPECT_EQ(cfg.bitmaps.pixel(0, 14, 14), 14);
  EXPECT_EQ(cfg.bitmaps.pixel(0, 5, 5), 5);
  EXPECT_EQ(cfg.extensions.head()->name, "EXT32.DLL");
}

TEST(ConfigText, TextOfTheCompiledFileCompilesToTheSameBytes) {
  CConfiguration cfg;
  ConfigTextError error;
  ASSERT_TRUE(compile(kSmall, cfg, error));
  std::vector<uint8_t> first, second;
  ASSERT_EQ(serializeConfiguration(cfg, first), ConfigSaveStatus::kOk);
  CConfiguration loaded;
  ASSERT_EQ(parseConfiguration(first, loaded), ConfigLoadStatus::kOk);
  const std::string text = configurationToText(loaded);
  CConfiguration again;
  ASSERT_TRUE(compile(text, again, error)) << error.line << ": " << error.message << "\n" << text;
  ASSERT_EQ(serializeConfiguration(again, second), ConfigSaveStatus::kOk);
  EXPECT_EQ(first, second);
  EXPECT_EQ(configurationToText(again), text);
}

TEST(ConfigText, ForeignFilesTurnIntoTextThatRebuildsThem) {
  // Things a hand-made text would never hold: an 8-bit strip, an unknown context, a key word with high bits and
  // a plain letter bound, a flag of 2, a menu item that names no command, a nameless command.
  test::RawConfig r;
  r.images = test::rawImageStrip(2, 8);
  r.groups = {{3, "Odd"}};
  r.commands = {{.group = 3, .number = 1, .name = "A"},
                {.group = 3, .number = 2, .name = "A"},
                {.group = 3, .number = 3, .menuText = "nameless", .image = 1}};
  r.menus = {{"M", {{0xFFFF, 0}, {2, 1}}}};
  r.keys = {{static_cast<uint16_t>(0xA000 | (0x41 << 3)), 2, 99, 1}, {0x41 << 3, 0, 10, 2}};
  r.toolBars = {{"T", {3}}};
  CConfiguration cfg;
  ASSERT_EQ(parseConfiguration(r.bytes(), cfg), ConfigLoadStatus::kOk);
  std::vector<uint8_t> original;
  ASSERT_EQ(serializeConfiguration(cfg, original), ConfigSaveStatus::kOk);
  const std::string text = configurationToText(cfg);
  EXPECT_NE(text.find("imagestrip"), std::string::npos);
  EXPECT_NE(text.find("key ?99 0xA208 A flag=2"), std::string::npos) << text;
  EXPECT_NE(text.find("?65535"), std::string::npos);
  EXPECT_NE(text.find("command A.2 "), std::string::npos);
  EXPECT_NE(text.find("command entry "), std::string::npos);
  CConfiguration rebuilt;
  ConfigTextError error;
  ASSERT_TRUE(compile(text, rebuilt, error)) << error.line << ": " << error.message << "\n" << text;
  std::vector<uint8_t> bytes;
  ASSERT_EQ(serializeConfiguration(rebuilt, bytes), ConfigSaveStatus::kOk);
  EXPECT_EQ(bytes, original);
}

TEST(ConfigText, ErrorsNameTheirLine) {
  const std::string head = "ocfg 259\ngroup 1 \"G\"\ncommand X group=1 name=\"X\"\n";
  EXPECT_EQ(errorOf("group 1 \"G\"\n"), "1: the text must begin with: ocfg 259");
  EXPECT_EQ(errorOf(head + "key \"None\" \"Ctrl+Q\" Y\n"), "4: no command is labelled Y");
  EXPECT_EQ(errorOf(head + "key \"Nowhere\" \"Ctrl+Q\" X\n"), "4: no event context is called Nowhere");
  EXPECT_EQ(errorOf(head + "key \"None\" \"Q\" X\n"), "4: Q is not a key that can be bound");
  EXPECT_EQ(errorOf(head + "key \"None\" \"Ctrl+Q\" X\nkey \"None\" \"Ctrl+Q\" X\n"),
            "5: key bound twice in one context");
  EXPECT_EQ(errorOf(head + "toolbar \"T\"\n  X\nend\n"), "5: a button needs a command with an image");
  EXPECT_EQ(errorOf(head + "command Y group=2\n"), "4: no group 2");
  EXPECT_EQ(errorOf(head + "command X group=1\n"), "4: label X given twice");
  EXPECT_EQ(errorOf(head + "command Y group=1 name=\"" + std::string(33, 'n') + "\"\n"),
            "4: name is longer than 32 characters");
  EXPECT_EQ(errorOf(head + "command Y group=1 help=\"unterminated\n"), "4: string without its closing quote");
  EXPECT_EQ(errorOf(head + "menu \"M\"\n  X {\n  }\nend\n"), "6: empty submenu");
  EXPECT_EQ(errorOf(head + "menu \"M\"\n  X {\n    X\n"), "4: menu without end");
  EXPECT_EQ(errorOf(head + "menu \"M\"\n  X {\n    X\n    X {\n      X\n    }\n  }\nend\n"),
            "4: a submenu cannot be the last item of another submenu; put an item after it");
  EXPECT_EQ(errorOf(head + "command Y group=1 image=0\n"), "4: image index beyond the images");
  EXPECT_EQ(errorOf(head + "images 1\nimage 0\n"), "5: image <index> needs images and the palette first");
  EXPECT_EQ(errorOf(head + "frobnicate\n"), "4: unknown statement frobnicate");
}

}  // namespace
}  // namespace osk
