// COpenBarLists: the Open Bar's lists, shared between the user-interface thread and the worker thread that keeps
// them up to date, and the worker's loop.
//
// One mutex guards the lists and their file stores. The user-interface side changes lists only through the
// methods here, each of which takes the mutex and then wakes the worker, so the worker rebuilds its wait array
// before it waits again. Directory watches are opened, re-armed and closed only by the worker (or after the
// worker has ended), so no watch is ever closed while the worker waits on it. The worker scans a directory
// without holding the mutex and swaps the result in afterwards, so the user interface never waits for a disk; a
// scan of a list that was closed or changed meanwhile is thrown away. A list whose directory cannot be read shows
// no files; while any watched directory is missing the worker looks for it again every second and rescans the list
// once it is back.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "services/openbar/file_store.h"
#include "services/openbar/open_bar_settings.h"

namespace osk {

// A directory watch of the platform; 0 means none.
using WatchId = uintptr_t;

// What the worker needs of the platform. Every call comes from the worker thread, except wake(), which any thread
// calls, and unwatch(), which the owner also calls once the worker has ended.
class WatchPlatform {
 public:
  static constexpr int kWoken = -1;
  static constexpr int kTimedOut = -2;
  static constexpr int kFailed = -3;
  static constexpr int32_t kForever = -1;

  virtual ~WatchPlatform() = default;
  // Starts watching a directory (not its subdirectories) for files created, deleted or renamed; 0 when it cannot.
  virtual WatchId watch(const std::string& directory) = 0;
  // Arms a watch that fired again; false when the watch no longer works.
  virtual bool rearm(WatchId watch) = 0;
  virtual void unwatch(WatchId watch) = 0;
  // Waits for the wake signal or one of the watches: the index of the watch that fired, kWoken, kTimedOut after
  // `timeoutMs` (kForever: no time-out), or kFailed.
  virtual int wait(const std::vector<WatchId>& watches, int32_t timeoutMs) = 0;
  virtual void wake() = 0;
  virtual void sleep(int32_t ms) = 0;
  // Calls `each` with the name of every file (not directory) in `directory` that matches `pattern`, until it
  // answers false. False when the directory cannot be read; no match at all is not a failure.
  virtual bool enumerate(const std::string& directory, const std::string& pattern,
                         const std::function<bool(const std::string&)>& each) = 0;
  // Tells the user-interface side that list `id` has new contents (a posted message; never waits).
  virtual void rescanned(uint32_t id) = 0;
};

// A copy of one list for the user-interface side.
struct OpenBarListView {
  uint32_t id = 0;
  OpenBarListInfo info;
  std::vector<std::string> shownNames;   // in the store's order, turned back
  uint64_t contentVersion = 0;
};

class COpenBarLists {
 public:
  // Coalesces a burst of changes into one scan.
  static constexpr int32_t kSettleMs = 250;
  // How often the worker looks again for a directory that could not be watched.
  static constexpr int32_t kRetryMs = 1000;
  static constexpr size_t kMaxWaitHandles = 61;

  explicit COpenBarLists(WatchPlatform& platform) : platform_(platform) {}
  ~COpenBarLists();
  COpenBarLists(const COpenBarLists&) = delete;
  COpenBarLists& operator=(const COpenBarLists&) = delete;

  // ---- The worker thread ----

  // The worker's loop; returns when stop() was called or a wait failed.
  void run();

  // ---- The user-interface thread ----

  // Asks the worker to end and wakes it; the owner then waits for the thread and calls closeWatches().
  void stop();
  // Closes the watches that are left; only once the worker has ended.
  void closeWatches();

  // Replaces all lists (loading the settings): scanning is suspended meanwhile. The current list is the first
  // selected one, else the first.
  void replaceAll(const std::vector<OpenBarListInfo>& lists);
  // Adds a list after the others and makes it current; its id, or 0 when 60 lists exist.
  uint32_t add(const OpenBarListInfo& info);
  // Changes a list's title, directory, filters or sort; it is scanned again. False for an unknown id.
  bool update(uint32_t id, const OpenBarListInfo& info);
  // Closes the current list unless it is the only one: the next list (or the first, when the last was closed)
  // becomes current and takes the closed list's position. False when nothing was closed.
  bool closeCurrent();
  // Makes list `index` current (0-based); false when there is no such list.
  bool setCurrent(int32_t index);
  // Moves the current list to the next or previous one, round the end; false with fewer than two lists.
  bool next();
  bool previous();
  // Marks every list (or one list) for a rescan and wakes the worker.
  void refresh();
  void refresh(uint32_t id);
  void setAutoRefresh(bool on);
  bool autoRefresh() const { return autoRefresh_.load(); }
  // While set, a scan stops at its next file and no new scan starts.
  void setSuspended(bool on);

  int32_t count() const;
  int32_t currentIndex() const;
  uint32_t currentId() const;
  std::vector<uint32_t> ids() const;
  std::vector<OpenBarListInfo> infos() const;   // in order, the current one selected
  bool view(uint32_t id, OpenBarListView& out) const;
  uint64_t contentVersion(uint32_t id) const;
  // The shown name of entry `index` of list `id`, empty when there is none.
  std::string shownName(uint32_t id, size_t index) const;

  // For tests: the watches the worker waited on last time, wake signal not counted.
  size_t lastWaitCount() const { return lastWaitCount_.load(); }

 private:
  struct List {
    uint32_t id = 0;
    OpenBarListInfo info;
    WatchId watch = 0;
    std::string watchedDirectory;
    bool watchFailed = false;
    bool rescanNeeded = true;
    uint64_t infoVersion = 0;      // changes with the description; a scan of an older one is thrown away
    uint64_t contentVersion = 0;   // changes with every completed scan
    CFileStore store;
  };
  struct ScanJob {
    uint32_t id = 0;
    uint64_t infoVersion = 0;
    std::string directory, filters;
    SortType sort = SortType::ByName;
  };

  List* find(uint32_t id);
  const List* find(uint32_t id) const;
  void retire(List& list);
  // Worker side, mutex held: closes retired watches, opens the ones wanted, and lists what to wait on.
  void prepareWait(std::vector<WatchId>& watches, bool& scanPending, bool& retryPending);
  void fired(WatchId watch);
  bool nextScan(ScanJob& job);
  // Worker side, mutex not held. False when the scan was stopped early.
  bool scan(const ScanJob& job, CFileStore& into, bool& directoryReadable);

  WatchPlatform& platform_;
  mutable std::mutex mutex_;
  std::vector<std::unique_ptr<List>> lists_;
  std::vector<WatchId> retired_;
  int32_t current_ = 0;
  uint32_t nextId_ = 1;
  uint64_t nextVersion_ = 1;
  std::atomic<bool> stop_{false};
  std::atomic<bool> suspended_{false};
  std::atomic<bool> autoRefresh_{true};
  std::atomic<size_t> lastWaitCount_{0};
};

}  // namespace osk
