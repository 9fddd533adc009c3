// Feeds damaged settings files to the program's settings reader: whatever is read must write out and read back to
// the same settings, and every line parser must take any text without harm.
//
// The input is a settings file in the usual text form ("[Section]" lines and "key=value" lines).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/bounded_text.h"
#include "app/command_parameters.h"
#include "app/session.h"
#include "app/shell_settings.h"
#include "tests/services/memory_settings.h"

namespace {

osk::test::MemorySettings parse(std::string_view text) {
  osk::test::MemorySettings file;
  std::string section = "Flags";
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.front() == '[') {
      section = std::string(line.substr(1, line.find(']') - 1));
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals != std::string_view::npos)
      file.sections[section][std::string(line.substr(0, equals))] = std::string(line.substr(equals + 1));
  }
  return file;
}

osk::app::SettingsEnvironment screen() { return {.screenWidth = 1024, .screenHeight = 768, .windowsDirectory = "C:\\W"}; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace osk::app;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  osk::test::MemorySettings file = parse(text);

  const ShellSettings first = readShellSettings(file, screen());
  // Writing leaves keys it does not write as they were (an empty FontName stays empty), as the profile does.
  osk::test::MemorySettings once = file;
  writeShellSettings(once, first, {});
  osk::test::MemorySettings twice = once;
  writeShellSettings(twice, readShellSettings(once, screen()), {});
  if (once.sections != twice.sections) std::abort();

  for (std::size_t i = 1; i < 64; ++i) {
    const auto line = readSessionLine(file, i, first.defaults);
    if (!line) break;
    if (parseSessionLine(formatSessionLine(*line), first.defaults) != line) std::abort();
  }
  for (const FileHistoryRecord& r : first.history.records())
    if (parseHistoryLine(formatHistoryLine(r), first.defaults) != r) std::abort();
  if (filtersFromBlock(filterBlock(first.filters)) != first.filters) std::abort();

  const std::string_view head = text.substr(0, text.find('\n'));
  (void)parseColour(head, 5);
  (void)parseFileNames(head);
  (void)trackMenuName(head);
  (void)splitApplicationCommand(head);
  (void)parseHelpParameter(HelpCommand::Context, head);
  (void)parseHelpParameter(HelpCommand::Key, head);
  (void)parseHelpParameter(HelpCommand::Contents, head);
  if (fillMessage(head, text, 300).size() > 300) std::abort();
  return 0;
}
