#include "engine/lang/substitution.h"

#include <algorithm>
#include <cstring>

#include "engine/lang/compiled_nodes.h"
#include "engine/lang/regex_compiler.h"

namespace osk::regex {

uint8_t* CompileSubstitution(std::string_view text, int32_t regexFlag) {
  NodeBlockBuilder nodes(regexFlag);
  if (!nodes.AppendNode(NodeKind::Start)) return nullptr;
  bool inRun = false;
  auto append = [&](uint8_t c) {
    if (!inRun) {
      inRun = true;
      if (!nodes.AppendNode(NodeKind::Literal)) return false;
    }
    return nodes.AppendByte(c);
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<uint8_t>(text[i]);
    if (regexFlag == 0 || c != '\\') {
      if (!append(c)) return nullptr;
      continue;
    }
    if (++i == text.size()) break;
    const auto next = static_cast<uint8_t>(text[i]);
    if (next >= '0' && next <= '9') {
      const uint8_t group = static_cast<uint8_t>(next - '0');
      if (!nodes.AppendNode(NodeKind::GroupRef) || !nodes.AppendByte(group)) return nullptr;
      inRun = false;
    } else if (!append(TranslateEscape(next))) {
      return nullptr;
    }
  }
  if (!nodes.AppendNode(NodeKind::End)) return nullptr;
  return nodes.Release();
}

bool ExpandSubstitution(const uint8_t* substitution, const Matcher& lastMatch, char* out) {
  if (substitution == nullptr || out == nullptr) return false;
  // Validate the whole chain before writing, so that a bad handle leaves the output untouched.
  NodeWalker check(substitution);
  while (check.Next()) {
  }
  if (check.Malformed()) return false;

  const std::string_view line = lastMatch.LastLine();
  size_t used = 0;
  auto copy = [&](const char* from, size_t count) {
    const size_t room = static_cast<size_t>(kMaxLineLength) - used;
    const size_t taken = std::min(count, room);
    std::memcpy(out + used, from, taken);
    used += taken;
    return taken == count;
  };
  NodeWalker walker(substitution);
  while (auto node = walker.Next()) {
    bool whole = true;
    if (node->kind == NodeKind::Literal) {
      whole = copy(reinterpret_cast<const char*>(node->data), node->count);
    } else if (node->kind == NodeKind::GroupRef && node->count >= 1 && node->data[0] < kMatchSlots) {
      const MatchSlot& slot = lastMatch.Slot(node->data[0]);
      // Slots always lie within the line copy; the clamp keeps a stale slot from reaching past it.
      if (slot.length > 0 && slot.start >= 0 && static_cast<size_t>(slot.start) < line.size()) {
        const size_t count = std::min(static_cast<size_t>(slot.length), line.size() - slot.start);
        whole = copy(line.data() + slot.start, count);
      }
    }
    if (!whole) break;
  }
  out[used] = 0;
  return true;
}

}  // namespace osk::regex
