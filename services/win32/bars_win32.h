// The bars of a services instance: every movable bar (one per tool bar of the configuration, and the Open Bar)
// in one list ordered by sequence number, the button images they share, and the tool bar settings.
//
// The list owns its bars. A bar that is not a tool bar joins the list through MoveableBar: the docking asks each
// bar where it wants to be and how thick it is for a length, and tells it where to go. Bars are created hidden; a
// bar shows once the frame lays it out.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "services/bars/bar_layout.h"
#include "services/bars/menu_plan.h"
#include "services/bars/tool_bar_model.h"
#include "services/instance.h"

struct OcsInstance;

namespace osk::win32 {

class MoveableBar {
 public:
  virtual ~MoveableBar() = default;
  virtual HWND window() const = 0;
  virtual int32_t seqNo() const = 0;
  virtual void setSeqNo(int32_t seqNo) = 0;
  virtual bool visible() const = 0;
  virtual bool floating() const = 0;
  virtual bool vertical() const = 0;
  virtual bool botRight() const = 0;
  // The outer thickness a docked bar needs for an outer length.
  virtual int32_t thickness(int32_t length) const = 0;
  // Moves a docked bar to `rect` (frame client coordinates), deferred on *deferred when that is not null.
  virtual void placeDocked(HDWP* deferred, const RECT& rect) = 0;
  // Fits a floating bar's window to its contents and keeps it on the screen.
  virtual void fitFloating() = 0;
  virtual void activationChanged(bool) {}
  virtual void coloursChanged() {}
  virtual void saveSettings(SettingsStore&) {}
};

class CMoveableBar;

class ControlBars {
 public:
  ControlBars(OcsInstance& owner);
  ~ControlBars();
  ControlBars(const ControlBars&) = delete;
  ControlBars& operator=(const ControlBars&) = delete;

  CInstance& core();
  HWND frame() const;
  HINSTANCE module() const;

  // Puts a bar in the list by its sequence number (after bars with an equal one).
  MoveableBar* add(std::unique_ptr<MoveableBar> bar);
  // Takes a bar out of the list and gives it back, null when it is not there.
  std::unique_ptr<MoveableBar> remove(MoveableBar* bar);
  const std::vector<std::unique_ptr<MoveableBar>>& bars() const { return bars_; }
  MoveableBar* find(HWND window) const;
  // The tool bars (not the other bars), in list order.
  std::vector<CMoveableBar*> toolBars() const;
  // Puts a bar whose sequence number changed back in order.
  void reorder(MoveableBar* bar);

  // Follows a newly installed configuration: the old bars write their settings and go, new ones are made.
  void rebuild(CConfiguration& cfg);
  // The docking of every bar.
  void resize(uint8_t& edges, HDWP* deferred, RECT& rect);
  void loadSettings(SettingsStore& store);
  void saveSettings(SettingsStore& store);

  ToolBarOptions& globalOptions() { return global_; }
  // The configuration's image strip in screen colours; null when it has no images.
  HBITMAP images() const { return images_; }
  void rebuildImages();
  // Redraws the buttons of these commands on every tool bar.
  void commandsChanged(const std::vector<CommandStateChange>& changes);
  // Asks the frame to lay out again.
  void layoutChanged() const;

 private:
  OcsInstance& owner_;
  std::vector<std::unique_ptr<MoveableBar>> bars_;
  ToolBarOptions global_;
  HBITMAP images_ = nullptr;
};

// The bars of an instance, made with it.
ControlBars* controlBarsOf(OcsInstance* instance);
void attachControlBars(OcsInstance& instance);
void destroyControlBars(ControlBars* bars);

// The module of the services library, for its window classes and dialogs.
HINSTANCE servicesModule();

}  // namespace osk::win32
