#include "services/extensions/instance_extensions.h"

namespace osk {

CInstanceExtensions::CInstanceExtensions(CInstance& instance, std::unique_ptr<ExtensionLoader> loader)
    : instance_(instance), list_(std::move(loader)) {
  instance_.addConfigurationListener([this](CConfiguration& cfg) { list_.mergeInto(cfg); });
}

void CInstanceExtensions::refresh() {
  instance_.setExtensionProviders(list_.providers());
  if (CConfiguration* cfg = instance_.configuration()) list_.mergeInto(*cfg);
}

void CInstanceExtensions::loadSettings(SettingsStore& settings, const CExtensionList::FailureReport& failed) {
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
  if (!list_.remove(index)) return false;
  refresh();
  return true;
}

void CInstanceExtensions::addMenus(ExtensionMenuSink& sink, void* menu) const {
  if (const CConfiguration* cfg = instance_.configuration()) list_.addMenus(*cfg, sink, menu);
}

}  // namespace osk
