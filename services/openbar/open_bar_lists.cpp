#include "services/openbar/open_bar_lists.h"

#include <algorithm>

namespace osk {

COpenBarLists::~COpenBarLists() { closeWatches(); }

// ---- Worker ----

void COpenBarLists::run() {
  for (;;) {
    std::vector<WatchId> watches;
    bool scanPending = false;
    bool retryPending = false;
    {
      std::lock_guard lock(mutex_);
      if (stop_) return;
      prepareWait(watches, scanPending, retryPending);
    }
    lastWaitCount_ = watches.size();
    // With scans still to do the wait only looks whether something fired meanwhile.
    const int32_t timeout = scanPending ? 0 : retryPending ? kRetryMs : WatchPlatform::kForever;
    const int result = platform_.wait(watches, timeout);
    if (result == WatchPlatform::kFailed) return;
    if (result >= 0 && static_cast<size_t>(result) < watches.size()) {
      // A save or a build changes many files at once: let the burst settle before scanning.
      platform_.sleep(kSettleMs);
      std::lock_guard lock(mutex_);
      fired(watches[static_cast<size_t>(result)]);
    }
    if (stop_) return;

    ScanJob job;
    {
      std::lock_guard lock(mutex_);
      // A list is watched before it is scanned: a change made after the scan then always fires. (A list whose
      // directory changed while the worker waited has no watch yet.)
      std::vector<WatchId> armed;
      bool scans = false, retries = false;
      prepareWait(armed, scans, retries);
      if (!nextScan(job)) continue;
    }
    CFileStore store;
    bool readable = false;
    const bool complete = scan(job, store, readable);
    std::lock_guard lock(mutex_);
    List* list = find(job.id);
    if (!complete || !list || list->infoVersion != job.infoVersion) continue;
    list->store.swap(store);
    list->rescanNeeded = false;
    list->contentVersion = nextVersion_++;
    if (!readable && list->watch) {
      // The directory went away: its watch may never fire again, so drop it and look for the directory anew.
      platform_.unwatch(list->watch);
      for (auto& other : lists_)
        if (other.get() != list && other->watch == list->watch) other->watch = 0;
      list->watch = 0;
      list->watchFailed = true;
    }
    platform_.rescanned(list->id);
  }
}

void COpenBarLists::prepareWait(std::vector<WatchId>& watches, bool& scanPending, bool& retryPending) {
  for (WatchId w : retired_) platform_.unwatch(w);
  retired_.clear();
  const bool watching = autoRefresh_;
  for (auto& list : lists_) {
    if (list->rescanNeeded && !suspended_) scanPending = true;
    if (!watching || list->watch || list->info.directory.empty()) continue;
    list->watch = platform_.watch(list->info.directory);
    if (list->watch) {
      list->watchedDirectory = list->info.directory;
      if (list->watchFailed) {
        // The directory is back (or readable again): what it holds now has never been shown.
        list->watchFailed = false;
        list->rescanNeeded = true;
        scanPending = true;
      }
    } else {
      list->watchFailed = true;
      retryPending = true;
    }
  }
  if (!watching) return;
  for (auto& list : lists_) {
    if (!list->watch || std::find(watches.begin(), watches.end(), list->watch) != watches.end()) continue;
    if (watches.size() + 1 >= kMaxWaitHandles) break;
    watches.push_back(list->watch);
  }
}

void COpenBarLists::fired(WatchId watch) {
  bool works = true;
  bool any = false;
  for (auto& list : lists_) {
    if (list->watch != watch) continue;
    list->rescanNeeded = true;
    any = true;
  }
  // A watch whose lists were all closed meanwhile is already retired; it is closed before the next wait.
  if (!any) return;
  works = platform_.rearm(watch);
  if (works) return;
  platform_.unwatch(watch);
  for (auto& list : lists_) {
    if (list->watch != watch) continue;
    list->watch = 0;
    list->watchFailed = true;
  }
}

bool COpenBarLists::nextScan(ScanJob& job) {
  if (suspended_) return false;
  for (auto& list : lists_) {
    if (!list->rescanNeeded) continue;
    job.id = list->id;
    job.infoVersion = list->infoVersion;
    job.directory = list->info.directory;
    job.filters = list->info.filters;
    job.sort = list->info.sort;
    return true;
  }
  return false;
}

bool COpenBarLists::scan(const ScanJob& job, CFileStore& into, bool& readable) {
  readable = false;
  bool stopped = false;
  if (job.directory.empty()) return true;
  for (const std::string& pattern : splitFilters(job.filters)) {
    const bool ok = platform_.enumerate(job.directory, pattern, [&](const std::string& name) {
      if (suspended_ || stop_) {
        stopped = true;
        return false;
      }
      into.insert(storedName(name, job.sort));
      return true;
    });
    if (stopped) return false;
    readable = readable || ok;
  }
  if (!readable) into.clear();
  return true;
}

// ---- User interface ----

void COpenBarLists::stop() {
  stop_ = true;
  platform_.wake();
}

void COpenBarLists::closeWatches() {
  std::lock_guard lock(mutex_);
  for (WatchId w : retired_) platform_.unwatch(w);
  retired_.clear();
  std::vector<WatchId> closed;
  for (auto& list : lists_) {
    if (list->watch && std::find(closed.begin(), closed.end(), list->watch) == closed.end()) {
      platform_.unwatch(list->watch);
      closed.push_back(list->watch);
    }
    list->watch = 0;
  }
}

COpenBarLists::List* COpenBarLists::find(uint32_t id) {
  for (auto& list : lists_)
    if (list->id == id) return list.get();
  return nullptr;
}

const COpenBarLists::List* COpenBarLists::find(uint32_t id) const {
  for (auto& list : lists_)
    if (list->id == id) return list.get();
  return nullptr;
}

void COpenBarLists::retire(List& list) {
  // The worker may be waiting on this watch right now; it closes it itself once woken.
  if (list.watch) retired_.push_back(list.watch);
  list.watch = 0;
  list.watchedDirectory.clear();
  list.watchFailed = false;
}

void COpenBarLists::replaceAll(const std::vector<OpenBarListInfo>& infos) {
  const bool wasSuspended = suspended_.exchange(true);
  {
    std::lock_guard lock(mutex_);
    for (auto& list : lists_) retire(*list);
    lists_.clear();
    current_ = 0;
    bool currentFound = false;
    for (const OpenBarListInfo& info : infos) {
      if (static_cast<int32_t>(lists_.size()) == kMaxOpenBarLists) break;
      auto list = std::make_unique<List>();
      list->id = nextId_++;
      list->info = boundedListInfo(info);
      list->infoVersion = nextVersion_++;
      if (info.selected && !currentFound) {
        current_ = static_cast<int32_t>(lists_.size());
        currentFound = true;
      }
      lists_.push_back(std::move(list));
    }
    for (auto& list : lists_) list->info.selected = false;
  }
  suspended_ = wasSuspended;
  platform_.wake();
}

uint32_t COpenBarLists::add(const OpenBarListInfo& info) {
  uint32_t id = 0;
  {
    std::lock_guard lock(mutex_);
    if (static_cast<int32_t>(lists_.size()) >= kMaxOpenBarLists) return 0;
    auto list = std::make_unique<List>();
    list->id = id = nextId_++;
    list->info = boundedListInfo(info);
    list->info.selected = false;
    list->info.position = static_cast<int32_t>(lists_.size());
    list->infoVersion = nextVersion_++;
    lists_.push_back(std::move(list));
    current_ = static_cast<int32_t>(lists_.size()) - 1;
  }
  platform_.wake();
  return id;
}

bool COpenBarLists::update(uint32_t id, const OpenBarListInfo& info) {
  {
    std::lock_guard lock(mutex_);
    List* list = find(id);
    if (!list) return false;
    const int32_t position = list->info.position;
    OpenBarListInfo next = boundedListInfo(info);
    next.position = position;
    next.selected = false;
    if (next.directory != list->info.directory) retire(*list);
    list->info = std::move(next);
    list->infoVersion = nextVersion_++;
    list->rescanNeeded = true;
  }
  platform_.wake();
  return true;
}

bool COpenBarLists::closeCurrent() {
  {
    std::lock_guard lock(mutex_);
    if (lists_.size() < 2) return false;
    const auto at = static_cast<size_t>(current_);
    const int32_t position = lists_[at]->info.position;
    retire(*lists_[at]);
    lists_.erase(lists_.begin() + static_cast<std::ptrdiff_t>(at));
    current_ = at < lists_.size() ? static_cast<int32_t>(at) : 0;
    lists_[static_cast<size_t>(current_)]->info.position = position;
  }
  platform_.wake();
  return true;
}

bool COpenBarLists::setCurrent(int32_t index) {
  std::lock_guard lock(mutex_);
  if (index < 0 || index >= static_cast<int32_t>(lists_.size())) return false;
  current_ = index;
  return true;
}

bool COpenBarLists::next() {
  std::lock_guard lock(mutex_);
  const auto n = static_cast<int32_t>(lists_.size());
  if (n < 2) return false;
  current_ = (current_ + 1) % n;
  return true;
}

bool COpenBarLists::previous() {
  std::lock_guard lock(mutex_);
  const auto n = static_cast<int32_t>(lists_.size());
  if (n < 2) return false;
  current_ = (current_ + n - 1) % n;
  return true;
}

void COpenBarLists::refresh() {
  {
    std::lock_guard lock(mutex_);
    for (auto& list : lists_) list->rescanNeeded = true;
  }
  platform_.wake();
}

void COpenBarLists::refresh(uint32_t id) {
  {
    std::lock_guard lock(mutex_);
    if (List* list = find(id)) list->rescanNeeded = true;
  }
  platform_.wake();
}

void COpenBarLists::setAutoRefresh(bool on) {
  autoRefresh_ = on;
  platform_.wake();
}

void COpenBarLists::setSuspended(bool on) {
  suspended_ = on;
  if (!on) platform_.wake();
}

int32_t COpenBarLists::count() const {
  std::lock_guard lock(mutex_);
  return static_cast<int32_t>(lists_.size());
}

int32_t COpenBarLists::currentIndex() const {
  std::lock_guard lock(mutex_);
  return lists_.empty() ? -1 : current_;
}

uint32_t COpenBarLists::currentId() const {
  std::lock_guard lock(mutex_);
  return lists_.empty() ? 0 : lists_[static_cast<size_t>(current_)]->id;
}

std::vector<uint32_t> COpenBarLists::ids() const {
  std::lock_guard lock(mutex_);
  std::vector<uint32_t> out;
  for (auto& list : lists_) out.push_back(list->id);
  return out;
}

std::vector<OpenBarListInfo> COpenBarLists::infos() const {
  std::lock_guard lock(mutex_);
  std::vector<OpenBarListInfo> out;
  for (size_t i = 0; i < lists_.size(); ++i) {
    out.push_back(lists_[i]->info);
    out.back().selected = static_cast<int32_t>(i) == current_;
  }
  return out;
}

bool COpenBarLists::view(uint32_t id, OpenBarListView& out) const {
  std::lock_guard lock(mutex_);
  const List* list = find(id);
  if (!list) return false;
  out.id = id;
  out.info = list->info;
  out.contentVersion = list->contentVersion;
  out.shownNames.clear();
  out.shownNames.reserve(list->store.size());
  for (const std::string& stored : list->store.names()) out.shownNames.push_back(osk::shownName(stored, list->info.sort));
  return true;
}

uint64_t COpenBarLists::contentVersion(uint32_t id) const {
  std::lock_guard lock(mutex_);
  const List* list = find(id);
  return list ? list->contentVersion : 0;
}

std::string COpenBarLists::shownName(uint32_t id, size_t index) const {
  std::lock_guard lock(mutex_);
  const List* list = find(id);
  if (!list || index >= list->store.size()) return {};
  return osk::shownName(list->store[index], list->info.sort);
}

}  // namespace osk
