// The Open Bar's entry points: thin translations onto the instance's COpenBarWindow.
#include <windows.h>

#include "services/ocs_openbar_api.h"
#include "services/win32/bars_win32.h"
#include "services/win32/instance_win32.h"
#include "services/win32/openbar_host_win32.h"
#include "services/win32/profile_win32.h"

namespace osk::win32 {
namespace {

// The Open Bar as one of the movable bars: the bar list docks it, orders it and numbers it like a tool bar.
class OpenBarDock : public MoveableBar {
 public:
  explicit OpenBarDock(COpenBarWindow& bar) : bar_(bar) {}
  HWND window() const override { return bar_.window(); }
  int32_t seqNo() const override { return bar_.sequenceNumber(); }
  void setSeqNo(int32_t seqNo) override { bar_.setSequenceNumber(seqNo); }
  bool visible() const override { return bar_.visible(); }
  bool floating() const override { return bar_.floating(); }
  bool vertical() const override { return bar_.vertical(); }
  bool botRight() const override { return bar_.botRight(); }
  int32_t thickness(int32_t length) const override { return bar_.sizeAcross(length); }
  void placeDocked(HDWP* deferred, const RECT& rect) override { bar_.place(rect, deferred); }
  void fitFloating() override {}

 private:
  COpenBarWindow& bar_;
};

void leaveBarList(OpenBarHost& host) {
  if (!host.dock) return;
  if (ControlBars* bars = controlBarsOf(host.instance)) bars->remove(host.dock);
  host.dock = nullptr;
}

void joinBarList(OpenBarHost& host) {
  ControlBars* bars = controlBarsOf(host.instance);
  if (!bars || !host.bar) return;
  host.dock = bars->add(std::make_unique<OpenBarDock>(*host.bar));
  bars->layoutChanged();
}

}  // namespace

OpenBarHost::~OpenBarHost() {
  // The settings are saved when the services save theirs, before the instance goes; not here again.
  leaveBarList(*this);
  if (bar && instance) instance->core.setOpenBarWindow(nullptr);
  bar.reset();
}

void attachOpenBar(OcsInstance& instance) {
  instance.openBar = std::make_shared<OpenBarHost>();
  instance.openBar->instance = &instance;
  {
    ProfileSettings settings(instance.core.settingsPath());
    if (!instance.core.settingsPath().empty())
      instance.openBar->searchDirectories = readSearchDirectories(settings);
  }
  OcsInstance* self = &instance;
  instance.core.addConfigurationListener([self](CConfiguration&) {
    OpenBarHost& host = *self->openBar;
    const HWND frame = reinterpret_cast<HWND>(self->core.frame());
    if (!frame || !IsWindow(frame)) return;
    ProfileSettings settings(self->core.settingsPath());
    if (host.bar) {
      // The bar list has just numbered its bars by their places: the Open Bar keeps its place too.
      if (!self->core.settingsPath().empty()) host.bar->saveSettings(settings);
      leaveBarList(host);
      self->core.setOpenBarWindow(nullptr);
      host.bar.reset();
    }
    host.bar = COpenBarWindow::create(frame, settings);
    if (!host.bar) return;
    self->core.setOpenBarWindow(reinterpret_cast<HWND__*>(host.bar->window()));
    joinBarList(host);
  });
  self->core.addSettingsHook({[self](SettingsStore& s) { loadOpenBarSettings(*self, s); },
                              [self](SettingsStore& s) { saveOpenBarSettings(*self, s); }});
}

COpenBarWindow* openBarOf(OcsInstance* instance) {
  return instance && instance->openBar ? instance->openBar->bar.get() : nullptr;
}

void loadOpenBarSettings(OcsInstance& instance, SettingsStore& store) {
  if (!instance.openBar) return;
  instance.openBar->searchDirectories = readSearchDirectories(store);
  COpenBarWindow* bar = openBarOf(&instance);
  if (!bar) return;
  bar->loadSettings(store);
  if (ControlBars* bars = controlBarsOf(&instance); bars && instance.openBar->dock) {
    bars->reorder(instance.openBar->dock);
    bars->layoutChanged();
  }
}

void saveOpenBarSettings(OcsInstance& instance, SettingsStore& store) {
  if (!instance.openBar) return;
  writeSearchDirectories(store, instance.openBar->searchDirectories);
  if (COpenBarWindow* bar = openBarOf(&instance)) bar->saveSettings(store);
}

}  // namespace osk::win32

using osk::win32::COpenBarWindow;
using osk::win32::openBarOf;

extern "C" {

int32_t OSK_CALL OCS_SetOpenBarProp(HOCSINSTANCE instance, int32_t property, int32_t value) {
  COpenBarWindow* bar = openBarOf(instance);
  if (!bar) return 0;
  switch (property) {
    case OCS_OB_NEXT_LIST: return bar->nextList();
    case OCS_OB_PREVIOUS_LIST: return bar->previousList();
    case OCS_OB_GOTO_LIST: return bar->gotoList(value);
    case OCS_OB_NEW_LIST: return bar->newList();
    case OCS_OB_LIST_SETTINGS: return bar->listSettings();
    case OCS_OB_REFRESH: bar->refresh(); return 1;
    case OCS_OB_OPEN_SELECTED: return bar->openSelected() > 0;
    case OCS_OB_CLOSE_LIST: return bar->closeList();
    case OCS_OB_FONT: return bar->fontDialog();
    case OCS_OB_VISIBLE: bar->setVisible(value != 0); return 1;
    case OCS_OB_MAXIMISED: bar->setMaximised(value != 0); return 1;
    case OCS_OB_AUTO_REFRESH: bar->setAutoRefresh(value != 0); return 1;
  }
  return 0;
}

int32_t OSK_CALL OCS_GetOpenBarProp(HOCSINSTANCE instance, int32_t property) {
  const COpenBarWindow* bar = openBarOf(instance);
  if (!bar) return 0;
  switch (property) {
    case OCS_OB_VISIBLE: return bar->visible();
    case OCS_OB_MAXIMISED: return bar->maximised();
    case OCS_OB_AUTO_REFRESH: return bar->autoRefresh();
    case OCS_OB_LIST_COUNT: return bar->listCount();
    case OCS_OB_SELECTED_COUNT: return bar->selectedCount();
  }
  return 0;
}

int32_t OSK_CALL OCS_GetNumSelectedFiles(HOCSINSTANCE instance) {
  const COpenBarWindow* bar = openBarOf(instance);
  return bar ? bar->selectedCount() : 0;
}

int32_t OSK_CALL OCS_GetNextSelectedFile(HOCSINSTANCE instance, int32_t previous, char* buffer) {
  const COpenBarWindow* bar = openBarOf(instance);
  if (!bar || !buffer) return -1;
  std::string path;
  for (int32_t i = previous;;) {
    i = bar->nextSelected(i, path);
    if (i < 0) return -1;
    if (path.size() < OCS_PATH_SIZE) {
      osk::copyToBuffer(path, buffer, OCS_PATH_SIZE);
      return i;
    }
  }
}

int32_t OSK_CALL OCS_DeselectFile(HOCSINSTANCE instance, int32_t index) {
  COpenBarWindow* bar = openBarOf(instance);
  return bar && bar->deselect(index);
}

int32_t OSK_CALL OCS_FillOpenBarGotoMenu(HOCSINSTANCE instance, void* menu, int32_t firstId) {
  const COpenBarWindow* bar = openBarOf(instance);
  if (!bar || !menu) return 0;
  bar->fillGotoMenu(static_cast<HMENU>(menu), static_cast<UINT>(firstId));
  return bar->listCount();
}

int32_t OSK_CALL OCS_OpenSearchDirsDlg(HOCSINSTANCE instance, OskWindow parent) {
  if (!instance || !instance->openBar) return 0;
  return osk::win32::showSearchDirectoriesDialog(reinterpret_cast<HWND>(parent),
                                                 instance->openBar->searchDirectories);
}

int32_t OSK_CALL OCS_GetOpenSearchDir(HOCSINSTANCE instance, int32_t index, char* buffer) {
  if (!instance || !instance->openBar || index < 0) return 0;
  const auto& dirs = instance->openBar->searchDirectories;
  if (static_cast<size_t>(index) >= dirs.size()) return 0;
  osk::copyToBuffer(dirs[static_cast<size_t>(index)], buffer, OCS_PATH_SIZE);
  return 1;
}

}  // extern "C"
