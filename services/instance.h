// CInstance: one client of the services (the frame that created it) with its current configuration and the
// windows whose place decides an event context.
//
// The instance owns at most one configuration. A new one replaces the old only once it has loaded completely, so a
// failed load leaves the previous configuration in force; before the first success there is none, and every
// question about commands and keys then answers nothing. Command numbers that name nothing, or only a group's
// separator entry, answer nothing too. Window handles are opaque here: the instance compares them and follows
// parents through a function it is given, never touching a window itself; a parent chain that loops or runs
// deeper than 256 windows ends the walk.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "services/config/configuration.h"
#include "services/settings_store.h"

struct HWND__;

namespace osk {

// The parent (or owner) of a window, null at the top.
using ParentOfWindow = std::function<HWND__*(HWND__*)>;

struct PositionConstraint {
  uint16_t context = kContextNone;
  std::string toolBarName;   // set for "Mouse Over Tool Bar"
};

class CInstance {
 public:
  CInstance(HWND__* frame, std::string settingsPath) : frame_(frame), settingsPath_(std::move(settingsPath)) {}
  CInstance(const CInstance&) = delete;
  CInstance& operator=(const CInstance&) = delete;

  HWND__* frame() const { return frame_; }
  const std::string& settingsPath() const { return settingsPath_; }

  // Null until a configuration has loaded.
  CConfiguration* configuration() const { return configuration_.get(); }
  // Makes a completely loaded configuration the current one, tells the listeners, then destroys the previous one.
  // A null configuration (a failed load) changes nothing; the answer says whether one was installed.
  bool install(std::unique_ptr<CConfiguration> configuration);
  // Called after each install, in the order added: the tool bars, the Open Bar and the extension commands follow
  // the new configuration from here.
  void addConfigurationListener(std::function<void(CConfiguration&)> listener);

  // Keys that parts of the services keep in the settings file (the tool bars, the extension list, the Open Bar's
  // search directories): each hook is read and written, in the order added, by loadSettings and saveSettings.
  struct SettingsHook {
    std::function<void(SettingsStore&)> load;
    std::function<void(SettingsStore&)> save;
  };
  void addSettingsHook(SettingsHook hook) { settingsHooks_.push_back(std::move(hook)); }
  void loadSettings(SettingsStore& store) const;
  void saveSettings(SettingsStore& store) const;

  // The providers of command details after the frame, in the order they are asked (the extension libraries).
  void setExtensionProviders(std::vector<CommandProvider> providers) { extensionProviders_ = std::move(providers); }
  std::span<const CommandProvider> extensionProviders() const { return extensionProviders_; }

  // The command bound to a key event word in an event context, with the fallbacks of the key map.
  std::optional<BoundCommand> mapKeyDown(uint16_t keyWord, uint16_t context) const;
  // The command entry of a number; separators and unknown numbers give null.
  const CCommand* command(int32_t number) const;

  // Windows that give the mouse its context: each tool bar window with its tool bar's name, the Open Bar and the
  // print preview. Registering a window again replaces its name; null clears the Open Bar or preview.
  void addToolBarWindow(HWND__* window, std::string name);
  void removeToolBarWindow(HWND__* window);
  void setOpenBarWindow(HWND__* window) { openBar_ = window; }
  void setPrintPreviewWindow(HWND__* window) { printPreview_ = window; }

  // "Mouse Over Tool Bar" for a tool bar window, "Mouse Over Open Bar" for the Open Bar or any window inside it,
  // "Print Preview" for the preview window, else "None".
  PositionConstraint positionConstraint(HWND__* window, const ParentOfWindow& parentOf) const;
  bool isPartOfOpenBar(HWND__* window, const ParentOfWindow& parentOf) const;

 private:
  struct ToolBarWindow {
    HWND__* window;
    std::string name;
  };

  HWND__* frame_;
  std::string settingsPath_;
  std::unique_ptr<CConfiguration> configuration_;
  std::vector<std::function<void(CConfiguration&)>> listeners_;
  std::vector<SettingsHook> settingsHooks_;
  std::vector<CommandProvider> extensionProviders_;
  std::vector<ToolBarWindow> toolBarWindows_;
  HWND__* openBar_ = nullptr;
  HWND__* printPreview_ = nullptr;
};

// Copies `text` into a caller's buffer of `size` bytes, cut to size - 1 characters and always terminated; nothing
// happens for a null buffer or a size below 1.
void copyToBuffer(std::string_view text, char* buffer, size_t size);

}  // namespace osk
