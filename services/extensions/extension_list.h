// CExtensionList: the extension libraries of a services instance in load order, and what they add to a
// configuration: commands in item group 999 "Extensions", menus, command details for name resolution, and the
// running of their commands.
//
// The list owns its libraries; a library stays loaded while one of its calls is running even when it is removed
// from the list meanwhile. Providers handed out for name resolution answer nothing once their library is gone.
// Every loop over a library's answers ends at EXT_MAX_INDEX, and the menu stack never goes deeper than 16 levels.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "services/config/configuration.h"
#include "services/extensions/extension_dll.h"
#include "services/settings_store.h"

namespace osk {

inline constexpr int32_t kExtensionGroup = 999;
inline constexpr const char* kExtensionGroupName = "Extensions";

// Where the menus of the libraries go. Menus are opaque; appendPopup answers the new popup, null when none could
// be made.
class ExtensionMenuSink {
 public:
  virtual ~ExtensionMenuSink() = default;
  virtual void* appendPopup(void* menu, const std::string& text) = 0;
  virtual void appendItem(void* menu, uint16_t number, const std::string& text) = 0;
  virtual void appendSeparator(void* menu) = 0;
};

class CExtensionList {
 public:
  enum class AddResult { kAdded, kAlreadyLoaded, kFailed };
  using FailureReport = std::function<void(const std::string& path)>;

  explicit CExtensionList(std::unique_ptr<ExtensionLoader> loader) : loader_(std::move(loader)) {}
  ~CExtensionList() { clear(); }
  CExtensionList(const CExtensionList&) = delete;
  CExtensionList& operator=(const CExtensionList&) = delete;

  size_t count() const { return libraries_.size(); }
  const CExtensionDLL& at(size_t index) const { return *libraries_[index]; }
  // The first library of that short name, or null.
  const CExtensionDLL* findByShortName(const std::string& shortName) const;

  // Empties the list, then loads "ExtDLL0", "ExtDLL1" ... of [Extended] until an empty value; each library that
  // loads is appended and reads its settings from `settingsPath`, each that fails is reported and skipped.
  void loadFromSettings(SettingsStore& settings, const std::string& settingsPath, const FailureReport& failed);
  // Writes "ExtDLL<n>" for each library in order (and lets it save its own settings), then an empty key after the
  // last, which ends the list for the next start.
  void saveToSettings(SettingsStore& settings, const std::string& settingsPath) const;

  // Loads one more library (the extensions dialog). A path already in the list, or one that names a library
  // already loaded under another path, is refused.
  AddResult add(const std::string& path, const std::string& settingsPath);
  // Frees the library at `index`; false when there is none.
  bool remove(size_t index);
  void clear();

  // Asks each library in load order; the first nonzero answer, or 0 when none ran the command.
  int32_t runCommand(const std::string& name, const std::string& parameter) const;

  // Providers of command details, one per library in load order, for name resolution and the command lists.
  std::vector<CommandProvider> providers() const;

  // Brings the configuration's extension list and extension commands in line with the loaded libraries: entries
  // added at run time and every extension command go; the other entries are marked absent until a loaded library
  // of the same short name claims them; a library the configuration does not list gets an entry and its commands
  // in group 999. A command made again for the same library and index keeps its number, so keys and buttons bound
  // to it still work; references to commands that are not made again are dropped. A library's last commands are
  // left out when the configuration would grow too large to be saved.
  void mergeInto(CConfiguration& cfg) const;

  // Appends the menus that the libraries describe to `menu`, for the entries added at run time whose library is
  // loaded. An item bound to a key that shows in menus carries a tab and the key's name after its text, as
  // configured menu items do.
  void addMenus(const CConfiguration& cfg, ExtensionMenuSink& sink, void* menu,
                KeyCharMapper keyChars = usKeyboardChar) const;

 private:
  std::unique_ptr<ExtensionLoader> loader_;
  std::vector<std::shared_ptr<CExtensionDLL>> libraries_;
};

}  // namespace osk
