#include "services/extensions/instance_extensions.h"

#include <set>

namespace osk {

CInstanceExtensions::CInstanceExtensions(CInstance& instance, std::unique_ptr<ExtensionLoader> loader)
    : instance_(instance), list_(std::move(loader)) {
  instance_.addConfigurationListener([this](CConfiguration& cfg) { list_.mergeInto(cfg); });
}

void CInstanceExtensions::refresh() {
  std::vector<CommandProvider> providers = list_.providers();
  instance_.setExtensionProviders(providers);
  CConfiguration* cfg = instance_.configuration();
  if (!cfg) return;
  list_.mergeInto(*cfg);
  // Commands the configuration already held take their condition words and enabling tests from the libraries
  // loaded now; the others keep theirs.
  cfg->resolveNames(providers);
}

void CInstanceExtensions::forgetEnablingTestsOf(const CExtensionDLL& dll) {
  CConfiguration* cfg = instance_.configuration();
  if (!cfg) return;
  std::set<std::uintptr_t> tests;
  CommandDetails details;
  for (int32_t index = 0; dll.macroDetails(index, details); ++index)
    if (details.enablingTest) tests.insert(details.enablingTest);
  if (tests.empty()) return;
  for (CCommand& c : cfg->commands)
    if (tests.count(c.enablingTest)) c.enablingTest = 0;
}

void CInstanceExtensions::loadSettings(SettingsStore& settings, const CExtensionList::FailureReport& failed) {
  for (size_t i = 0; i < list_.count(); ++i) forgetEnablingTestsOf(list_.at(i));
  list_.loadFromSettings(settings, instance_.settingsPath(), failed);
  refresh();
}

void CInstanceExtensions::saveSettings(SettingsStore& settings) const {
  list_.saveToSettings(settings, instance_.settingsPath());
}

CExtensionList::AddResult CInstanceExtensions::add(const std::string& path) {
  const CExtensionList::AddResult result = list_.add(path, instance_.settingsPath());
  if (result == CExtensionList::AddResult::kAdded) refresh();
  return result;
}

bool CInstanceExtensions::remove(size_t index) {
  if (index >= list_.count()) return false;
  forgetEnablingTestsOf(list_.at(index));
  if (!list_.remove(index)) return false;
  refresh();
  return true;
}

void CInstanceExtensions::addMenus(ExtensionMenuSink& sink, void* menu, KeyCharMapper keyChars) const {
  if (const CConfiguration* cfg = instance_.configuration()) list_.addMenus(*cfg, sink, menu, keyChars);
}

}  // namespace osk
