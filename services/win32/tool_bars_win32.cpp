// The bar list of an instance and the tool bar entry points: settings, properties, showing, docking.
#include <windows.h>

#include <algorithm>

#include "services/win32/bars_win32.h"
#include "services/win32/instance_win32.h"
#include "services/win32/ocs_bars_api.h"
#include "services/win32/profile_win32.h"
#include "services/win32/tool_bar_window.h"
#include "services/win32/tool_tip_win32.h"

namespace osk::win32 {
namespace {

uint32_t fromColorRef(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

// Settings go to the instance's settings file; an instance made without one keeps nothing.
template <class F>
void withSettings(const CInstance& core, F&& f) {
  if (core.settingsPath().empty()) return;
  ProfileSettings store(core.settingsPath());
  f(store);
}

bool hasName(const char* name) { return name && *name; }

}  // namespace

HINSTANCE servicesModule() {
  static HINSTANCE module = nullptr;
  if (!module) {
    HMODULE m = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&servicesModule), &m);
    module = m;
  }
  return module;
}

ControlBars::ControlBars(OcsInstance& owner) : owner_(owner) {}

ControlBars::~ControlBars() {
  hideToolTip(nullptr);
  bars_.clear();
  if (images_) DeleteObject(images_);
}

CInstance& ControlBars::core() { return owner_.core; }
HWND ControlBars::frame() const { return reinterpret_cast<HWND>(owner_.core.frame()); }
HINSTANCE ControlBars::module() const { return servicesModule(); }

MoveableBar* ControlBars::add(std::unique_ptr<MoveableBar> bar) {
  if (!bar) return nullptr;
  std::vector<int32_t> seq;
  for (const auto& b : bars_) seq.push_back(b->seqNo());
  const size_t at = seqNoInsertPosition(seq, bar->seqNo());
  MoveableBar* raw = bar.get();
  bars_.insert(bars_.begin() + static_cast<std::ptrdiff_t>(at), std::move(bar));
  return raw;
}

std::unique_ptr<MoveableBar> ControlBars::remove(MoveableBar* bar) {
  for (auto it = bars_.begin(); it != bars_.end(); ++it) {
    if (it->get() == bar) {
      std::unique_ptr<MoveableBar> out = std::move(*it);
      bars_.erase(it);
      return out;
    }
  }
  return nullptr;
}

void ControlBars::reorder(MoveableBar* bar) {
  if (auto owned = remove(bar)) add(std::move(owned));
}

MoveableBar* ControlBars::find(HWND window) const {
  if (!window) return nullptr;
  for (const auto& b : bars_)
    if (b->window() == window) return b.get();
  return nullptr;
}

std::vector<CMoveableBar*> ControlBars::toolBars() const {
  std::vector<CMoveableBar*> out;
  for (const auto& b : bars_)
    if (auto* t = dynamic_cast<CMoveableBar*>(b.get())) out.push_back(t);
  return out;
}

void ControlBars::rebuild(CConfiguration& cfg) {
  // The bars going away keep their places: each writes its settings with its position as sequence number.
  withSettings(core(), [&](SettingsStore& store) {
    int32_t position = 0;
    for (const auto& b : bars_) {
      b->setSeqNo(position++);
      if (dynamic_cast<CMoveableBar*>(b.get())) b->saveSettings(store);
    }
  });
  for (CMoveableBar* t : toolBars()) remove(t);
  rebuildImages();
  std::vector<std::unique_ptr<CMoveableBar>> made;
  for (const CToolBarObject& tb : cfg.toolBars) {
    auto bar = std::make_unique<CMoveableBar>(*this, tb, global_);
    withSettings(core(), [&](SettingsStore& store) { bar->readSettings(store); });
    bar->createWindow();
    add(std::move(bar));
  }
  layoutChanged();
}

void ControlBars::resize(uint8_t& edges, HDWP* deferred, RECT& rect) {
  std::vector<DockRequest> requests;
  requests.reserve(bars_.size());
  for (const auto& b : bars_) {
    DockRequest r;
    r.shown = b->window() && b->visible();
    r.floating = b->floating();
    r.vertical = b->vertical();
    r.botRight = b->botRight();
    MoveableBar* bar = b.get();
    r.thickness = [bar](int32_t length) { return bar->thickness(length); };
    requests.push_back(std::move(r));
  }
  BarRect remaining{rect.left, rect.top, rect.right, rect.bottom};
  const std::vector<DockPlace> places = dockBars(requests, edges, remaining);
  for (size_t i = 0; i < bars_.size(); ++i) {
    MoveableBar& b = *bars_[i];
    if (places[i].docked) {
      const BarRect& p = places[i].rect;
      b.placeDocked(deferred, RECT{p.left, p.top, p.right, p.bottom});
    } else if (requests[i].shown && requests[i].floating) {
      b.fitFloating();
    } else if (b.window() && !b.visible() && IsWindowVisible(b.window())) {
      ShowWindow(b.window(), SW_HIDE);
    }
  }
  rect = RECT{remaining.left, remaining.top, remaining.right, remaining.bottom};
}

void ControlBars::loadSettings(SettingsStore& store) {
  readGlobalToolBarOptions(store, global_);
  bool changed = false;
  for (CMoveableBar* t : toolBars()) {
    const ToolBarSettings before = t->settings();
    t->readSettings(store);
    if (before.asPopup != t->settings().asPopup || !t->window()) t->createWindow();
    changed = true;
  }
  if (changed) {
    std::vector<CMoveableBar*> all = toolBars();
    for (CMoveableBar* t : all) reorder(t);
    layoutChanged();
  }
}

void ControlBars::saveSettings(SettingsStore& store) {
  writeGlobalToolBarOptions(store, global_);
  int32_t position = 0;
  for (const auto& b : bars_) {
    b->setSeqNo(position++);
    if (dynamic_cast<CMoveableBar*>(b.get())) b->saveSettings(store);
  }
}

void ControlBars::rebuildImages() {
  if (images_) DeleteObject(images_);
  images_ = nullptr;
  const CConfiguration* cfg = core().configuration();
  if (!cfg || cfg->bitmaps.empty()) return;
  // The strip keeps its own palette; the copy shown on screen takes the system's button colours.
  std::vector<uint8_t> dib = cfg->bitmaps.bytes();
  const ButtonColours system{fromColorRef(GetSysColor(COLOR_BTNTEXT)), fromColorRef(GetSysColor(COLOR_BTNSHADOW)),
                             fromColorRef(GetSysColor(COLOR_BTNFACE)), fromColorRef(GetSysColor(COLOR_BTNHIGHLIGHT))};
  const uint32_t entries = cfg->bitmaps.paletteEntries();
  for (uint32_t i = 0; i < entries; ++i) {
    const uint32_t shown = displayColour(cfg->bitmaps.paletteEntry(i), system);
    uint8_t* quad = dib.data() + cfg->bitmaps.paletteOffset() + 4 * i;
    quad[0] = static_cast<uint8_t>(shown);
    quad[1] = static_cast<uint8_t>(shown >> 8);
    quad[2] = static_cast<uint8_t>(shown >> 16);
  }
  const auto* info = reinterpret_cast<const BITMAPINFO*>(dib.data());
  HDC screen = GetDC(nullptr);
  images_ = CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT, dib.data() + cfg->bitmaps.pixelOffset(), info,
                           DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
}

void ControlBars::commandsChanged(const std::vector<CommandStateChange>& changes) {
  if (changes.empty()) return;
  for (CMoveableBar* t : toolBars())
    for (const CommandStateChange& c : changes) t->commandChanged(c.command);
}

void ControlBars::layoutChanged() const {
  HWND f = frame();
  if (f && IsWindow(f)) SendMessageA(f, OCS_MSG_LAYOUT, 0, 0);
}

ControlBars* controlBarsOf(OcsInstance* instance) { return instance ? instance->bars.get() : nullptr; }

void attachControlBars(OcsInstance& instance) {
  instance.bars.reset(new ControlBars(instance));
  ControlBars* bars = instance.bars.get();
  instance.core.addConfigurationListener([bars](CConfiguration& cfg) { bars->rebuild(cfg); });
  instance.core.addSettingsHook({[bars](SettingsStore& s) { bars->loadSettings(s); },
                                 [bars](SettingsStore& s) { bars->saveSettings(s); }});
}

void destroyControlBars(ControlBars* bars) { delete bars; }

}  // namespace osk::win32

using osk::win32::CMoveableBar;
using osk::win32::controlBarsOf;
using osk::win32::hasName;

extern "C" {

void OSK_CALL OCS_LoadSettings(HOCSINSTANCE instance) {
  if (!instance || instance->core.settingsPath().empty()) return;
  osk::win32::ProfileSettings store(instance->core.settingsPath());
  instance->core.loadSettings(store);
}

void OSK_CALL OCS_SaveSettings(HOCSINSTANCE instance) {
  if (!instance || instance->core.settingsPath().empty()) return;
  osk::win32::ProfileSettings store(instance->core.settingsPath());
  instance->core.saveSettings(store);
}

void OSK_CALL OCS_SetToolBarProp(HOCSINSTANCE instance, const char* name, int32_t property, int32_t value) {
  auto* bars = controlBarsOf(instance);
  if (!bars || !osk::ToolBarOptions::isProperty(property)) return;
  bool changed = false;
  if (!hasName(name)) {
    if (!bars->globalOptions().set(property, value)) return;
    for (CMoveableBar* t : bars->toolBars()) changed |= t->setOption(property, value);
  } else {
    for (CMoveableBar* t : bars->toolBars())
      if (t->name() == name) changed |= t->setOption(property, value);
  }
  if (changed && (property == osk::kPropLargeButtons || property == osk::kPropWrap)) bars->layoutChanged();
}

int32_t OSK_CALL OCS_GetToolBarProp(HOCSINSTANCE instance, const char* name, int32_t property) {
  auto* bars = controlBarsOf(instance);
  if (!bars) return 0;
  if (!hasName(name)) return bars->globalOptions().get(property);
  for (CMoveableBar* t : bars->toolBars())
    if (t->name() == name) return t->settings().options.get(property);
  return 0;
}

void OSK_CALL OCS_ShowToolBar(HOCSINSTANCE instance, const char* name, int32_t show) {
  auto* bars = controlBarsOf(instance);
  if (!bars || !name) return;
  for (CMoveableBar* t : bars->toolBars())
    if (t->name() == name) t->setVisible(show != 0);
  bars->layoutChanged();
}

int32_t OSK_CALL OCS_ResizeControlBars(HOCSINSTANCE instance, uint8_t* edges, void** deferred, RECT* rect) {
  auto* bars = controlBarsOf(instance);
  if (!bars || !rect) return 0;
  uint8_t noEdges = 0;
  bars->resize(edges ? *edges : noEdges, reinterpret_cast<HDWP*>(deferred), *rect);
  return 1;
}

int32_t OSK_CALL OCS_IsMoveableBar(HOCSINSTANCE instance, OskWindow window) {
  auto* bars = controlBarsOf(instance);
  return bars && bars->find(reinterpret_cast<HWND>(window)) ? 1 : 0;
}

void OSK_CALL OCS_ActivationChanged(HOCSINSTANCE instance, int32_t active) {
  auto* bars = controlBarsOf(instance);
  if (!bars) return;
  for (const auto& b : bars->bars()) b->activationChanged(active != 0);
}

void OSK_CALL OCS_ColourChange(HOCSINSTANCE instance) {
  auto* bars = controlBarsOf(instance);
  if (!bars) return;
  bars->rebuildImages();
  for (const auto& b : bars->bars()) b->coloursChanged();
}

}  // extern "C"
