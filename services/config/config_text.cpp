#include "services/config/config_text.h"

#include <cstdio>
#include <map>
#include <set>
#include <vector>

#include "services/config/config_writer.h"

namespace osk {
namespace {

// Palette characters of a 16-colour strip, by colour index.
constexpr char kPaletteChars[17] = "@rgybmc.+RGYBMCw";

std::string quote(std::string_view s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c >= 0x7F) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string alnum(std::string_view s) {
  std::string out;
  for (char c : s)
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) out += c;
  return out;
}

std::string hex(uint32_t v, int digits) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*X", digits, v);
  return buf;
}

// Canonical labels of all command entries, by address; separators get none.
std::map<const CCommand*, std::string> labelCommands(const CConfiguration& cfg) {
  std::map<const CCommand*, std::string> labels;
  std::set<std::string> used;
  for (const CCommand& c : cfg.commands) {
    if (c.isSeparator()) continue;
    std::string base = !c.name.empty()  ? c.name
                       : c.isTopLevel() ? "menu." + alnum(c.menuText)
                                        : std::string("entry");
    if (!c.parameter.empty()) {
      const std::string p = alnum(c.parameter);
      base += "." + (p.empty() ? std::string("_") : p);
    }
    std::string label = base;
    for (int n = 2; used.count(label); ++n) label = base + "." + std::to_string(n);
    used.insert(label);
    labels[&c] = label;
  }
  return labels;
}

struct Writer {
  const CConfiguration& cfg;
  std::map<const CCommand*, std::string> labels;
  std::string out;

  std::string ref(int32_t number) const {
    if (number == kSeparatorNumber) return "-";
    const CCommand* c = cfg.findCommand(number);
    if (!c) return "?" + std::to_string(number);
    return labels.at(c);
  }

  void menuItems(const CMenuItem& parent, int depth) {
    for (const CMenuItem& item : parent.children) {
      out += std::string(2 * depth, ' ') + ref(item.command);
      if (item.children.empty()) {
        out += "\n";
      } else {
        out += " {\n";
        menuItems(item, depth + 1);
        out += std::string(2 * depth, ' ') + "}\n";
      }
    }
  }

  void images() {
    const CToolBarBitmaps& b = cfg.bitmaps;
    if (b.empty()) return;
    out += "\n# Button images\n";
    if (b.bitCount() != 4) {
      out += "imagestrip\n";
      const auto& bytes = b.bytes();
      for (size_t i = 0; i < bytes.size(); i += 32) {
        out += "  ";
        for (size_t j = i; j < bytes.size() && j < i + 32; ++j) out += hex(bytes[j], 2);
        out += "\n";
      }
      out += "end\n";
      return;
    }
    out += "images " + std::to_string(b.imageCount()) + "\n";
    bool info = false;
    for (uint32_t off = 20; off < 40; off += 4) info |= b.headerWord(off) != 0;
    if (info) {
      out += "imageinfo";
      for (uint32_t off = 20; off < 40; off += 4) out += " " + std::to_string(b.headerWord(off));
      out += "\n";
    }
    out += "palette\n";
    for (uint32_t i = 0; i < 16; ++i) {
      const uint32_t v = b.paletteEntry(i);
      out += "  colour " + std::to_string(i) + " " + kPaletteChars[i] + " " + hex(v, (v >> 24) ? 8 : 6) + "\n";
    }
    out += "end\n";
    std::map<int32_t, std::string> users;
    for (const CCommand& c : cfg.commands)
      if (!c.isSeparator() && !c.isTopLevel() && c.imageIndex >= 0 && !users.count(c.imageIndex))
        users[c.imageIndex] = labels.at(&c);
    for (int32_t i = 0; i < b.imageCount(); ++i) {
      out += "# " + (users.count(i) ? users[i] : std::string("(unused)")) + "\n";
      out += "image " + std::to_string(i) + "\n";
      for (int y = 0; y < CToolBarBitmaps::kCellHeight; ++y) {
        out += "  ";
        for (int x = 0; x < CToolBarBitmaps::kCellWidth; ++x) out += kPaletteChars[b.pixel(i, x, y)];
        out += "\n";
      }
    }
  }

  std::string run() {
    out = "# OSK configuration\nocfg 259\n\n# Item groups\n";
    for (const CItemGroup& g : cfg.groups) out += "group " + std::to_string(g.id) + " " + quote(g.name) + "\n";
    out += "\n# Commands\n";
    for (const CCommand& c : cfg.commands) {
      if (c.isSeparator()) continue;
      out += "command " + labels.at(&c) + " group=" + std::to_string(c.group);
      if (c.isTopLevel()) out += " top";
      if (!c.name.empty()) out += " name=" + quote(c.name);
      if (!c.parameter.empty()) out += " param=" + quote(c.parameter);
      if (!c.menuText.empty()) out += " menu=" + quote(c.menuText);
      if (!c.helpText.empty()) out += " help=" + quote(c.helpText);
      if (c.conditionWord) out += " cond=0x" + hex(c.conditionWord, 8);
      if (c.isTopLevel()) {
        if (c.imageIndex != 0) out += " options=" + std::to_string(c.imageIndex);
      } else if (c.imageIndex >= 0) {
        out += " image=" + std::to_string(c.imageIndex);
      }
      out += "\n";
    }
    for (const CMenuObject& m : cfg.menus) {
      out += "\nmenu " + quote(m.name) + "\n";
      menuItems(m.root, 1);
      out += "end\n";
    }
    out += "\n# Key and mouse mappings, in table order\n";
    cfg.keyMap.forEach([&](const CKeyMap& k) {
      const char* ctx = eventContextName(k.context);
      out += "key " + (ctx ? quote(ctx) : "?" + std::to_string(k.context)) + " ";
      const auto name = formatKeyName(k.keyWord);
      if ((k.keyWord & ~kKeyWordMask) == 0 && name && parseKeyName(*name) == k.keyWord)
        out += quote(*name);
      else
        out += "0x" + hex(k.keyWord, 4);
      out += " " + ref(k.command);
      if (k.menuString == 1) out += " show";
      else if (k.menuString != 0) out += " flag=" + std::to_string(k.menuString);
      out += "\n";
    });
    for (const CToolBarObject& t : cfg.toolBars) {
      out += "\ntoolbar " + quote(t.name) + "\n";
      for (const CToolBarElement& e : t.elements) out += "  " + ref(e.command) + "\n";
      out += "end\n";
    }
    bool anyExtension = false;
    for (const CConfigExtensionDLL& e : cfg.extensions) {
      if (e.notSaved) continue;
      if (!anyExtension) out += "\n";
      anyExtension = true;
      out += "extension " + quote(e.name) + "\n";
    }
    images();
    return out;
  }
};

// ---- Reading ----

struct Token {
  std::string key;     // "name" of name="...", empty for a plain word or string
  std::string value;
  bool quoted = false;
};

bool tokenize(std::string_view line, std::vector<Token>& out, std::string& error) {
  out.clear();
  size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r') {
      ++i;
      continue;
    }
    Token t;
    std::string word;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' && line[i] != '"') word += line[i++];
    if (i < line.size() && line[i] == '"') {
      if (!word.empty()) {
        if (word.back() != '=') {
          error = "a string must stand alone or follow name=";
          return false;
        }
        word.pop_back();
        t.key = word;
      }
      ++i;
      std::string value;
      for (;;) {
        if (i >= line.size()) {
          error = "string without its closing quote";
          return false;
        }
        char c = line[i++];
        if (c == '"') break;
        if (c == '\\') {
          if (i >= line.size()) {
            error = "string without its closing quote";
            return false;
          }
          char e = line[i++];
          if (e == 'x') {
            if (i + 2 > line.size()) {
              error = "bad \\x escape";
              return false;
            }
            unsigned v = 0;
            if (std::sscanf(std::string(line.substr(i, 2)).c_str(), "%2x", &v) != 1) {
              error = "bad \\x escape";
              return false;
            }
            i += 2;
            value += static_cast<char>(v);
          } else {
            value += e;
          }
        } else {
          value += c;
        }
      }
      t.value = value;
      t.quoted = true;
      if (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
        error = "text right after a string";
        return false;
      }
    } else {
      const size_t eq = word.find('=');
      if (eq != std::string::npos && eq > 0) {
        t.key = word.substr(0, eq);
        t.value = word.substr(eq + 1);
      } else {
        t.value = word;
      }
    }
    out.push_back(std::move(t));
  }
  return true;
}

bool parseNumber(const std::string& s, long long lo, long long hi, long long& v) {
  if (s.empty()) return false;
  char* end = nullptr;
  const bool isHex = s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X');
  v = std::strtoll(s.c_str() + (isHex ? 2 : 0), &end, isHex ? 16 : 10);
  return end && *end == 0 && v >= lo && v <= hi;
}

struct PendingMenuItem {
  std::string ref;
  int line;
  std::vector<PendingMenuItem> children;
  bool hasChildren = false;
};

struct Reader {
  CConfiguration& cfg;
  ConfigTextError& error;
  std::vector<std::string> lines;
  size_t at = 0;
  std::map<std::string, int32_t> labels;

  bool fail(int line, std::string message) {
    error.line = line;
    error.message = std::move(message);
    return false;
  }

  // The next line that is not blank or a comment, tokenized; false at the end of the text.
  bool next(std::vector<Token>& toks, int& line) {
    while (at < lines.size()) {
      const std::string& l = lines[at++];
      size_t first = l.find_first_not_of(" \t\r");
      if (first == std::string::npos || l[first] == '#') continue;
      line = static_cast<int>(at);
      std::string err;
      if (!tokenize(l, toks, err)) return fail(line, err) && false;
      return true;
    }
    return false;
  }

  bool resolve(const std::string& ref, int line, int32_t& number) {
    if (ref == "-") {
      number = kSeparatorNumber;
      return true;
    }
    if (!ref.empty() && ref[0] == '?') {
      long long v;
      if (!parseNumber(ref.substr(1), 1, 0xFFFF, v)) return fail(line, "bad command number " + ref);
      if (cfg.findCommand(static_cast<int32_t>(v))) return fail(line, ref + " names a command; use its label");
      number = static_cast<int32_t>(v);
      return true;
    }
    auto it = labels.find(ref);
    if (it == labels.end()) return fail(line, "no command is labelled " + ref);
    number = it->second;
    return true;
  }

  bool string(const Token& t, size_t limit, int line, std::string& into) {
    if (!t.quoted) return fail(line, t.key + " needs a quoted string");
    if (t.value.size() > limit) return fail(line, t.key + " is longer than " + std::to_string(limit) + " characters");
    into = t.value;
    return true;
  }

  bool menuBlock(CMenuObject& menu, int startLine) {
    std::vector<CMenuItem*> parents = {&menu.root};
    std::vector<Token> toks;
    int line = startLine;
    while (next(toks, line)) {
      if (toks.size() == 1 && toks[0].value == "end" && !toks[0].quoted) {
        if (parents.size() != 1) return fail(line, "submenu not closed");
        return true;
      }
      if (toks.size() == 1 && toks[0].value == "}") {
        CMenuItem* closing = parents.back();
        if (parents.size() == 1) return fail(line, "} without a submenu");
        if (closing->children.empty()) return fail(line, "empty submenu");
        parents.pop_back();
        continue;
      }
      if (toks.empty() || toks.size() > 2 || toks[0].quoted || (toks.size() == 2 && toks[1].value != "{"))
        return fail(line, "a menu item is a label, -, or ?number, optionally followed by {");
      int32_t number;
      if (!resolve(toks[0].value, line, number)) return false;
      CMenuItem* item = parents.back()->children.append(new CMenuItem(number));
      if (toks.size() == 2) {
        if (static_cast<int>(parents.size()) >= kMaxMenuDepth) return fail(line, "submenus nested too deep");
        parents.push_back(item);
      }
    }
    return error.message.empty() ? fail(startLine, "menu without end") : false;
  }

  bool lastSubmenuCheck(const CMenuItem& parent, bool isRoot, int line) {
    for (const CMenuItem& item : parent.children) {
      if (item.children.empty()) continue;
      if (!isRoot && parent.children.nextOf(&item) == nullptr)
        return fail(line, "a submenu cannot be the last item of another submenu; put an item after it");
      if (!lastSubmenuCheck(item, false, line)) return false;
    }
    return true;
  }

  bool run(std::string_view text) {
    size_t start = 0;
    while (start <= text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string_view::npos) end = text.size();
      lines.emplace_back(text.substr(start, end - start));
      start = end + 1;
    }

    struct PendingCommand {
      CCommand* command;
      int line;
    };
    std::vector<PendingCommand> commands;
    std::vector<Token> toks;
    int line = 0;
    bool sawHeader = false;
    int32_t imageCount = -1;
    std::map<char, int> paletteChars;
    std::set<int32_t> imagesDrawn;
    std::set<int32_t> groupIds;
    bool stripGiven = false;

    while (next(toks, line)) {
      const std::string& word = toks[0].quoted ? std::string() : toks[0].value;
      if (!sawHeader) {
        if (word != "ocfg" || toks.size() != 2 || toks[1].value != "259")
          return fail(line, "the text must begin with: ocfg 259");
        sawHeader = true;
        continue;
      }
      if (word == "group") {
        long long id;
        if (toks.size() != 3 || !parseNumber(toks[1].value, 1, 0xFFFF, id)) return fail(line, "group <1..65535> \"name\"");
        std::string name;
        if (!string(toks[2], kGroupNameMax, line, name)) return false;
        if (!commands.empty()) return fail(line, "groups come before the commands");
        if (!groupIds.insert(static_cast<int32_t>(id)).second) return fail(line, "group given twice");
        cfg.addGroup(static_cast<int32_t>(id), name);
      } else if (word == "command") {
        if (toks.size() < 3 || !toks[1].key.empty() || toks[1].quoted) return fail(line, "command <label> group=<id> ...");
        auto* c = new CCommand;
        commands.push_back({c, line});
        cfg.appendCommand(c);
        const std::string label = toks[1].value;
        if (label == "-" || label.empty() || label[0] == '?' || label[0] == '#' || label == "end" || label == "{" || label == "}")
          return fail(line, "a label cannot be " + label);
        if (labels.count(label)) return fail(line, "label " + label + " given twice");
        c->number = static_cast<uint16_t>(cfg.nextFreeNumber++);
        labels[label] = c->number;
        bool imageGiven = false, optionsGiven = false;
        long long v;
        for (size_t i = 2; i < toks.size(); ++i) {
          const Token& t = toks[i];
          if (t.key.empty() && t.value == "top" && !t.quoted) {
            c->state |= kStateTopLevel;
          } else if (t.key == "group") {
            if (!parseNumber(t.value, 1, 0xFFFF, v) || !cfg.findGroup(static_cast<int32_t>(v)))
              return fail(line, "no group " + t.value);
            c->group = static_cast<int32_t>(v);
          } else if (t.key == "name") {
            if (!string(t, kCommandNameMax, line, c->name)) return false;
          } else if (t.key == "param") {
            if (!string(t, kParameterMax, line, c->parameter)) return false;
          } else if (t.key == "menu") {
            if (!string(t, kMenuTextMax, line, c->menuText)) return false;
          } else if (t.key == "help") {
            if (!string(t, kHelpTextMax, line, c->helpText)) return false;
          } else if (t.key == "cond") {
            if (!parseNumber(t.value, 0, 0xFFFFFFFFll, v)) return fail(line, "bad cond");
            c->conditionWord = static_cast<uint32_t>(v);
          } else if (t.key == "image") {
            if (!parseNumber(t.value, 0, 0x7FFF, v)) return fail(line, "bad image index");
            c->imageIndex = static_cast<int32_t>(v);
            imageGiven = true;
          } else if (t.key == "options") {
            if (!parseNumber(t.value, -32768, 32767, v)) return fail(line, "bad options");
            c->imageIndex = static_cast<int32_t>(v);
            optionsGiven = true;
          } else {
            return fail(line, "unknown command field " + (t.key.empty() ? t.value : t.key));
          }
        }
        if (c->group == 0) return fail(line, "command without group=");
        if (c->isTopLevel() ? imageGiven : optionsGiven)
          return fail(line, "options= belongs to top-level items, image= to the others");
        if (c->isTopLevel() && !optionsGiven) c->imageIndex = 0;
      } else if (word == "menu") {
        if (toks.size() != 2) return fail(line, "menu \"name\"");
        std::string name;
        if (!string(toks[1], kMenuNameMax, line, name)) return false;
        CMenuObject* menu = cfg.menus.append(new CMenuObject(name));
        if (!menuBlock(*menu, line)) return false;
        if (!lastSubmenuCheck(menu->root, true, line)) return false;
      } else if (word == "key") {
        if (toks.size() < 4 || toks.size() > 5) return fail(line, "key \"context\" \"key name\" <label> [show]");
        uint16_t context;
        if (toks[1].quoted) {
          auto value = eventContextValue(toks[1].value);
          if (!value) return fail(line, "no event context is called " + toks[1].value);
          context = *value;
        } else {
          long long v;
          if (toks[1].value.empty() || toks[1].value[0] != '?' || !parseNumber(toks[1].value.substr(1), 0, 0xFFFF, v))
            return fail(line, "bad event context");
          context = static_cast<uint16_t>(v);
        }
        uint16_t word16;
        if (toks[2].quoted) {
          auto w = parseKeyName(toks[2].value);
          if (!w) return fail(line, toks[2].value + " is not a key that can be bound");
          word16 = *w;
        } else {
          long long v;
          if (!parseNumber(toks[2].value, 0, 0xFFFF, v) || toks[2].value.rfind("0x", 0) != 0)
            return fail(line, "a key is a quoted name or a 0x word");
          word16 = static_cast<uint16_t>(v);
        }
        int32_t number;
        if (!resolve(toks[3].value, line, number)) return false;
        int32_t flag = 0;
        if (toks.size() == 5) {
          long long v;
          if (toks[4].key.empty() && toks[4].value == "show") flag = 1;
          else if (toks[4].key == "flag" && parseNumber(toks[4].value, 0, 0xFFFF, v)) flag = static_cast<int32_t>(v);
          else return fail(line, "show or flag=<n> expected");
        }
        if (cfg.keyMap.find(word16, context, false)) return fail(line, "key bound twice in one context");
        if (!cfg.addKeyMapping(word16, context, flag, number)) return fail(line, "a key must be bound to a command");
      } else if (word == "toolbar") {
        if (toks.size() != 2) return fail(line, "toolbar \"name\"");
        std::string name;
        if (!string(toks[1], kToolBarNameMax, line, name)) return false;
        CToolBarObject* bar = cfg.toolBars.append(new CToolBarObject(name));
        const int startLine = line;
        for (;;) {
          if (!next(toks, line)) return error.message.empty() ? fail(startLine, "toolbar without end") : false;
          if (toks.size() != 1 || toks[0].quoted) return fail(line, "a button is a label or -");
          if (toks[0].value == "end") break;
          int32_t number;
          if (!resolve(toks[0].value, line, number)) return false;
          if (number != kSeparatorNumber) {
            const CCommand* c = cfg.findCommand(number);
            if (!c || c->isTopLevel() || c->imageIndex < 0) return fail(line, "a button needs a command with an image");
          }
          bar->elements.append(new CToolBarElement(number));
        }
      } else if (word == "extension") {
        std::string name;
        if (toks.size() != 2 || !string(toks[1], kExtensionNameMax, line, name)) return fail(line, "extension \"NAME\"");
        if (name.empty()) return fail(line, "empty extension name");
        cfg.extensions.append(new CConfigExtensionDLL(name));
      } else if (word == "images") {
        long long n;
        if (toks.size() != 2 || !parseNumber(toks[1].value, 1, 4000, n) || imageCount >= 0 || stripGiven)
          return fail(line, "images <count>, once");
        imageCount = static_cast<int32_t>(n);
        cfg.bitmaps.makeBlank(imageCount);
      } else if (word == "imageinfo") {
        if (imageCount < 0 || toks.size() != 6) return fail(line, "imageinfo needs images first and five numbers");
        for (uint32_t i = 0; i < 5; ++i) {
          long long v;
          if (!parseNumber(toks[i + 1].value, 0, 0xFFFFFFFFll, v)) return fail(line, "bad imageinfo number");
          cfg.bitmaps.setHeaderWord(20 + 4 * i, static_cast<uint32_t>(v));
        }
      } else if (word == "palette") {
        if (imageCount < 0) return fail(line, "palette needs images first");
        std::set<int> given;
        for (;;) {
          if (!next(toks, line)) return error.message.empty() ? fail(line, "palette without end") : false;
          if (toks.size() == 1 && toks[0].value == "end") break;
          long long index, rgb;
          if (toks.size() != 4 || toks[0].value != "colour" || !parseNumber(toks[1].value, 0, 15, index) ||
              toks[2].value.size() != 1 || !parseNumber("0x" + toks[3].value, 0, 0xFFFFFFFFll, rgb))
            return fail(line, "colour <0..15> <character> <RRGGBB>");
          const char ch = toks[2].value[0];
          if (!given.insert(static_cast<int>(index)).second || paletteChars.count(ch))
            return fail(line, "colour or character given twice");
          paletteChars[ch] = static_cast<int>(index);
          cfg.bitmaps.setPaletteEntry(static_cast<uint32_t>(index), static_cast<uint32_t>(rgb));
        }
        if (given.size() != 16) return fail(line, "the palette needs all 16 colours");
      } else if (word == "image") {
        long long index;
        if (toks.size() != 2 || !parseNumber(toks[1].value, 0, imageCount - 1, index) || paletteChars.empty())
          return fail(line, "image <index> needs images and the palette first");
        if (!imagesDrawn.insert(static_cast<int32_t>(index)).second) return fail(line, "image drawn twice");
        for (int y = 0; y < CToolBarBitmaps::kCellHeight; ++y) {
          if (!next(toks, line)) return error.message.empty() ? fail(line, "image needs 15 rows") : false;
          if (toks.size() != 1 || toks[0].quoted || toks[0].value.size() != CToolBarBitmaps::kCellWidth)
            return fail(line, "an image row is 16 palette characters");
          for (int x = 0; x < CToolBarBitmaps::kCellWidth; ++x) {
            auto it = paletteChars.find(toks[0].value[static_cast<size_t>(x)]);
            if (it == paletteChars.end()) return fail(line, "character not in the palette");
            cfg.bitmaps.setPixel(static_cast<int32_t>(index), x, y, it->second);
          }
        }
      } else if (word == "imagestrip") {
        if (imageCount >= 0 || stripGiven) return fail(line, "one image strip only");
        std::vector<uint8_t> bytes;
        for (;;) {
          if (!next(toks, line)) return error.message.empty() ? fail(line, "imagestrip without end") : false;
          if (toks.size() == 1 && toks[0].value == "end") break;
          for (const Token& t : toks) {
            if (t.value.size() % 2) return fail(line, "odd number of hex digits");
            for (size_t i = 0; i < t.value.size(); i += 2) {
              long long v;
              if (!parseNumber("0x" + t.value.substr(i, 2), 0, 255, v)) return fail(line, "bad hex digits");
              bytes.push_back(static_cast<uint8_t>(v));
            }
          }
        }
        if (CToolBarBitmaps::stripLength(bytes) != bytes.size() || !cfg.bitmaps.assign(bytes))
          return fail(line, "the image strip does not match its header");
        stripGiven = true;
        imageCount = cfg.bitmaps.imageCount();
        for (int32_t i = 0; i < imageCount; ++i) imagesDrawn.insert(i);
      } else {
        if (!error.message.empty()) return false;
        return fail(line, "unknown statement " + (toks[0].quoted ? toks[0].value : word));
      }
    }
    if (!error.message.empty()) return false;
    if (!sawHeader) return fail(1, "the text must begin with: ocfg 259");
    if (imageCount > 0 && static_cast<int32_t>(imagesDrawn.size()) != imageCount)
      return fail(line, "every image must be drawn");
    for (const PendingCommand& p : commands) {
      if (!p.command->isTopLevel() && p.command->imageIndex >= cfg.bitmaps.imageCount())
        return fail(p.line, "image index beyond the images");
    }
    std::vector<uint8_t> bytes;
    switch (serializeConfiguration(cfg, bytes)) {
      case ConfigSaveStatus::kOk: return true;
      case ConfigSaveStatus::kTooLarge: return fail(line, "the configuration is larger than 61440 bytes");
      default: return fail(line, "the configuration cannot be saved");
    }
  }
};

}  // namespace

std::string configurationToText(const CConfiguration& cfg) {
  Writer w{cfg, labelCommands(cfg), {}};
  return w.run();
}

bool configurationFromText(std::string_view text, CConfiguration& out, ConfigTextError& error) {
  error = {};
  Reader r{out, error, {}, 0, {}};
  return r.run(text);
}

}  // namespace osk
