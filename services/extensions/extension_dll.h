// CExtensionDLL: one loaded extension library with its eight entry points, behind a loader that the platform
// provides (the system's library loader on Windows, fakes in tests).
//
// A library is either loaded with every entry point bound or not loaded at all; it is freed when the object goes.
// Whatever a library hands back is copied bounded: a text without a terminator is cut at its field's limit, a
// null text reads as empty, and records are read only within their declared size.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "services/config/configuration.h"
#include "services/ext_api.h"

namespace osk {

// What the platform does with a library file. Module handles are opaque; null means failure.
class ExtensionLoader {
 public:
  virtual ~ExtensionLoader() = default;
  virtual void* load(const std::string& path) = 0;
  virtual void* find(void* module, const char* name) = 0;
  virtual void free(void* module) = 0;
};

// The texts of one command of a library, as EXT_GetCommandDetails gives them.
struct ExtensionCommandText {
  std::string name;
  std::string parameter;
  std::string helpText;
  std::string menuText;
};

// The part of a path after its last backslash or slash (or, without either, after its last colon), cut to 16
// characters: how a configuration names a library.
std::string extensionShortName(std::string_view path);

// The message shown for a library that cannot be loaded or lacks an entry point.
std::string extensionLoadFailureText(std::string_view path);

class CExtensionDLL {
 public:
  // Loads the library and binds its entry points; null (and the library freed again) when the file cannot be
  // loaded or any entry point is missing. The loader must outlive the result.
  static std::unique_ptr<CExtensionDLL> load(ExtensionLoader& loader, const std::string& path);
  ~CExtensionDLL();
  CExtensionDLL(const CExtensionDLL&) = delete;
  CExtensionDLL& operator=(const CExtensionDLL&) = delete;

  void* module() const { return module_; }
  const std::string& path() const { return path_; }
  const std::string& shortName() const { return shortName_; }

  std::string description() const;
  void loadSettings(const std::string& settingsPath) const;
  void saveSettings(const std::string& settingsPath) const;
  // False past the library's last command, and from index EXT_MAX_INDEX on whatever the library answers.
  bool macroDetails(int32_t index, CommandDetails& out) const;
  bool commandDetails(int32_t index, ExtensionCommandText& out) const;
  bool menuDetails(int32_t index, int32_t& command, int32_t& nesting) const;
  // Nonzero when the library ran the command.
  int32_t runMacro(const std::string& name, const std::string& parameter) const;

 private:
  CExtensionDLL(ExtensionLoader& loader, void* module, std::string path);

  ExtensionLoader& loader_;
  void* module_;
  std::string path_;
  std::string shortName_;
  ExtGetDescriptionProc getDescription_ = nullptr;
  ExtLoadINIDetailsProc loadIniDetails_ = nullptr;
  ExtSaveINIDetailsProc saveIniDetails_ = nullptr;
  ExtGetMacroDetailsProc getMacroDetails_ = nullptr;
  ExtGetCommandDetailsProc getCommandDetails_ = nullptr;
  ExtGetMenuDetailsProc getMenuDetails_ = nullptr;
  ExtIsMacroEnabledProc isMacroEnabled_ = nullptr;
  ExtRunMacroProc runMacro_ = nullptr;
};

}  // namespace osk
