#include "services/extensions/extension_dll.h"

#include <cstring>

namespace osk {
namespace {

constexpr size_t kShortNameMax = kExtensionNameMax;

// Reads at most `max` characters: a text without a terminator stops there instead of running on.
std::string bounded(const char* text, size_t max) {
  if (!text) return {};
  return std::string(text, strnlen(text, max));
}

template <class Proc>
bool bind(ExtensionLoader& loader, void* module, const char* name, Proc& proc) {
  void* found = loader.find(module, name);
  proc = reinterpret_cast<Proc>(found);
  return found != nullptr;
}

}  // namespace

std::string extensionShortName(std::string_view path) {
  size_t cut = path.find_last_of("\\/");
  if (cut == std::string_view::npos) cut = path.find_last_of(':');
  std::string_view name = cut == std::string_view::npos ? path : path.substr(cut + 1);
  return std::string(name.substr(0, kShortNameMax));
}

std::string extensionLoadFailureText(std::string_view path) {
  return "Failed to load extension DLL \"" + std::string(path) + "\"";
}

CExtensionDLL::CExtensionDLL(ExtensionLoader& loader, void* module, std::string path)
    : loader_(loader), module_(module), path_(std::move(path)), shortName_(extensionShortName(path_)) {}

CExtensionDLL::~CExtensionDLL() { loader_.free(module_); }

std::unique_ptr<CExtensionDLL> CExtensionDLL::load(ExtensionLoader& loader, const std::string& path) {
  void* module = loader.load(path);
  if (!module) return nullptr;
  std::unique_ptr<CExtensionDLL> dll(new CExtensionDLL(loader, module, path));
  // Every entry point is bound before any is called, so a library is either whole or refused.
  const bool whole = bind(loader, module, "EXT_GetDescription", dll->getDescription_) &&
                     bind(loader, module, "EXT_LoadINIDetails", dll->loadIniDetails_) &&
                     bind(loader, module, "EXT_SaveINIDetails", dll->saveIniDetails_) &&
                     bind(loader, module, "EXT_GetMacroDetails", dll->getMacroDetails_) &&
                     bind(loader, module, "EXT_GetCommandDetails", dll->getCommandDetails_) &&
                     bind(loader, module, "EXT_GetMenuDetails", dll->getMenuDetails_) &&
                     bind(loader, module, "EXT_IsMacroEnabled", dll->isMacroEnabled_) &&
                     bind(loader, module, "EXT_RunMacro", dll->runMacro_);
  if (!whole) return nullptr;   // the destructor frees the module
  return dll;
}

std::string CExtensionDLL::description() const { return bounded(getDescription_(), EXT_DESCRIPTION_MAX); }

void CExtensionDLL::loadSettings(const std::string& settingsPath) const { loadIniDetails_(settingsPath.c_str()); }

void CExtensionDLL::saveSettings(const std::string& settingsPath) const { saveIniDetails_(settingsPath.c_str()); }

bool CExtensionDLL::macroDetails(int32_t index, CommandDetails& out) const {
  if (index < 0 || index >= EXT_MAX_INDEX) return false;
  // Room beyond the record, so that a library that writes a longer name than the record holds spoils nothing
  // of ours.
  struct {
    ExtMacroDetails record;
    char slack[64];
  } answer{};
  if (!getMacroDetails_(index, &answer.record)) return false;
  out.name = bounded(answer.record.name, sizeof answer.record.name);
  if (out.name.size() > kCommandNameMax) out.name.resize(kCommandNameMax);
  out.conditionWord = answer.record.conditionWord;
  out.enablingTest = reinterpret_cast<std::uintptr_t>(answer.record.enablingTest);
  return true;
}

bool CExtensionDLL::commandDetails(int32_t index, ExtensionCommandText& out) const {
  if (index < 0 || index >= EXT_MAX_INDEX) return false;
  ExtCommandDetails record{};
  if (!getCommandDetails_(index, &record)) return false;
  out.name = bounded(record.name, kCommandNameMax);
  out.parameter = bounded(record.parameter, kParameterMax);
  out.helpText = bounded(record.helpText, kHelpTextMax);
  out.menuText = bounded(record.menuText, kMenuTextMax);
  return true;
}

bool CExtensionDLL::menuDetails(int32_t index, int32_t& command, int32_t& nesting) const {
  if (index < 0 || index >= EXT_MAX_INDEX) return false;
  ExtMenuDetails record{};
  if (!getMenuDetails_(index, &record)) return false;
  command = record.command;
  nesting = record.nesting;
  return true;
}

int32_t CExtensionDLL::runMacro(const std::string& name, const std::string& parameter) const {
  return runMacro_(name.c_str(), parameter.c_str());
}

}  // namespace osk
