// COpenBarWindow: the Open Bar on the screen. It shows the lists of a COpenBarLists, runs the worker thread that
// keeps them up to date, and answers the OCS_ Open Bar entry points.
//
// Lifetime: the window is a child of the frame while docked and an owned pop-up while floating. Whichever comes
// first, the window's destruction (the frame going away takes its children along) or the object's, stops the
// worker and waits for it before any handle it waits on is closed; the lists outlive the window, so the settings
// can still be saved after the frame is gone.
//
// Placement: the bar list lays the Open Bar out through edge(), sizeAcross(), place() and floating(), as it does a
// tool bar; until a bar list places it, a docked Open Bar stays hidden.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "services/openbar/open_bar_lists.h"
#include "services/openbar/open_bar_settings.h"
#include "services/settings_store.h"

namespace osk::win32 {

// Window messages of the Open Bar.
enum : UINT {
  kMsgListRescanned = WM_USER + 1000,   // 2024, posted by the worker: wParam is the list's id
  kMsgFrameLayout = 2127,               // to the frame: wParam 1 and lParam the visible flag after a show or hide
  kMsgFrameOpenBarChanged = 2128,       // to the frame: list count or selection changed
  kMsgFrameOpenByAtom = 13025,          // to the frame: open the file named by global atom wParam; 1 = failed
};

// The change notifications, wake event and file enumeration of the system, for COpenBarLists.
class Win32WatchPlatform : public WatchPlatform {
 public:
  Win32WatchPlatform();
  ~Win32WatchPlatform() override;
  void setWindow(HWND window) { window_ = window; }
  bool ready() const { return wakeEvent_ != nullptr; }

  WatchId watch(const std::string& directory) override;
  bool rearm(WatchId watch) override;
  void unwatch(WatchId watch) override;
  int wait(const std::vector<WatchId>& watches, int32_t timeoutMs) override;
  void wake() override;
  void sleep(int32_t ms) override;
  bool enumerate(const std::string& directory, const std::string& pattern,
                 const std::function<bool(const std::string&)>& each) override;
  void rescanned(uint32_t id) override;

 private:
  HANDLE wakeEvent_ = nullptr;
  std::atomic<HWND> window_{nullptr};
};

class COpenBarWindow {
 public:
  enum class Edge { Left, Top, Right, Bottom };

  // The Open Bar of `frame`, with its settings read from `settings`; null when the window or the worker cannot be
  // made.
  static std::unique_ptr<COpenBarWindow> create(HWND frame, SettingsStore& settings);
  ~COpenBarWindow();
  COpenBarWindow(const COpenBarWindow&) = delete;
  COpenBarWindow& operator=(const COpenBarWindow&) = delete;

  HWND window() const { return hwnd_; }
  COpenBarLists& lists() { return lists_; }

  // ---- Placement, for the bar list ----
  Edge edge() const;
  bool vertical() const { return settings_.vertical; }
  bool botRight() const { return settings_.botRight; }
  bool floating() const { return settings_.asPopup; }
  bool visible() const { return settings_.visible; }
  int32_t sequenceNumber() const { return settings_.seqNo; }
  void setSequenceNumber(int32_t n) { settings_.seqNo = n; }
  // The width a vertical bar needs (or the height a horizontal one needs) along an edge of `length` pixels.
  int32_t sizeAcross(int32_t length) const;
  // Moves a docked bar into `r` (frame client coordinates) and shows it when it is visible; deferred on *deferred
  // when that is given and not null.
  void place(const RECT& r, HDWP* deferred = nullptr);
  void setFloating(bool on);

  // ---- Settings ----
  void loadSettings(SettingsStore& store);
  void saveSettings(SettingsStore& store);

  // ---- Actions and properties ----
  bool nextList();
  bool previousList();
  bool gotoList(int32_t index);
  bool newList();                           // the new-list dialog
  bool newList(const OpenBarListInfo& info);
  bool listSettings();                      // the "Open List Settings" dialog for the current list
  void refresh();
  int32_t openSelected();                   // each selected file to the frame; the number opened
  bool closeList();
  bool fontDialog();
  void setFont(int32_t height, int32_t weight, bool italic, const std::string& face);
  void setVisible(bool on);
  void setMaximised(bool on);
  void setAutoRefresh(bool on);
  bool maximised() const { return settings_.maximised; }
  bool autoRefresh() const { return lists_.autoRefresh(); }

  int32_t listCount() const { return lists_.count(); }
  int32_t selectedCount() const;
  // The next selected entry of the current list after `previous` with its full path; -1 when there is none.
  int32_t nextSelected(int32_t previous, std::string& path) const;
  bool deselect(int32_t index);
  void fillGotoMenu(HMENU menu, UINT firstId) const;
  // The list box of the current list (for tests and the focus), null when there is none.
  HWND currentListBox() const;
  // Brings every list box up to date with its list now, without waiting for the worker's message.
  void syncNow();

 private:
  struct Pane {
    uint32_t id = 0;
    HWND title = nullptr;
    HWND list = nullptr;
    uint64_t shownVersion = 0;
  };

  explicit COpenBarWindow(HWND frame);
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam);
  bool startWorker();
  void stopWorker();
  void syncPanes();
  void fill(Pane& pane, bool force);
  void layout();
  void applyFont();
  void updateTitles();
  void tellFrameChanged();
  const Pane* currentPane() const;

  HWND frame_;
  HWND hwnd_ = nullptr;
  Win32WatchPlatform platform_;
  COpenBarLists lists_{platform_};
  HANDLE thread_ = nullptr;
  OpenBarSettings settings_;
  HFONT font_ = nullptr;
  std::vector<Pane> panes_;
  int32_t lastCount_ = -1;
  int32_t lastSelected_ = -1;
};

// The dialogs, in openbar_dialogs_win32.cpp. Each answers true on OK with its output filled.
bool showListDialog(HWND owner, const char* caption, OpenBarListInfo& info);
bool showSearchDirectoriesDialog(HWND owner, std::vector<std::string>& directories);

// The module the Open Bar's window class and dialogs live in.
HINSTANCE openBarModule();

}  // namespace osk::win32
