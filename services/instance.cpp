#include "services/instance.h"

#include <algorithm>
#include <cstring>

namespace osk {
namespace {

// Deeper than any real window tree; a parent function that cycles stops here instead of hanging.
constexpr int kMaxParentWalk = 256;

}  // namespace

bool CInstance::install(std::unique_ptr<CConfiguration> configuration) {
  if (!configuration) return false;
  configuration->instance = this;
  // The old configuration lives until the listeners have rebuilt their windows from the new one, since bars and
  // menus built from it may still point into it while they are replaced.
  std::unique_ptr<CConfiguration> previous = std::move(configuration_);
  configuration_ = std::move(configuration);
  for (const auto& listener : listeners_) listener(*configuration_);
  return true;
}

void CInstance::addConfigurationListener(std::function<void(CConfiguration&)> listener) {
  if (listener) listeners_.push_back(std::move(listener));
}

void CInstance::loadSettings(SettingsStore& store) const {
  for (const SettingsHook& hook : settingsHooks_)
    if (hook.load) hook.load(store);
}

void CInstance::saveSettings(SettingsStore& store) const {
  for (const SettingsHook& hook : settingsHooks_)
    if (hook.save) hook.save(store);
}

std::optional<BoundCommand> CInstance::mapKeyDown(uint16_t keyWord, uint16_t context) const {
  if (!configuration_) return std::nullopt;
  return configuration_->mapKey(keyWord, context);
}

const CCommand* CInstance::command(int32_t number) const {
  if (!configuration_ || number == kSeparatorNumber) return nullptr;
  const CCommand* c = configuration_->findCommand(number);
  return c && !c->isSeparator() ? c : nullptr;
}

void CInstance::addToolBarWindow(HWND__* window, std::string name) {
  if (!window) return;
  for (ToolBarWindow& t : toolBarWindows_) {
    if (t.window == window) {
      t.name = std::move(name);
      return;
    }
  }
  toolBarWindows_.push_back({window, std::move(name)});
}

void CInstance::removeToolBarWindow(HWND__* window) {
  std::erase_if(toolBarWindows_, [window](const ToolBarWindow& t) { return t.window == window; });
}

PositionConstraint CInstance::positionConstraint(HWND__* window, const ParentOfWindow& parentOf) const {
  if (!window) return {};
  for (const ToolBarWindow& t : toolBarWindows_)
    if (t.window == window) return {kContextMouseToolBar, t.name};
  if (isPartOfOpenBar(window, parentOf)) return {kContextMouseOpenBar, {}};
  if (printPreview_ && window == printPreview_) return {kContextPrintPreview, {}};
  return {};
}

bool CInstance::isPartOfOpenBar(HWND__* window, const ParentOfWindow& parentOf) const {
  if (!openBar_) return false;
  for (int depth = 0; window && depth < kMaxParentWalk; ++depth) {
    if (window == openBar_) return true;
    if (!parentOf) break;
    window = parentOf(window);
  }
  return false;
}

void copyToBuffer(std::string_view text, char* buffer, size_t size) {
  if (!buffer || size < 1) return;
  const size_t n = std::min(text.size(), size - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
}

}  // namespace osk
