// A directory tree in memory with watches that fire like the system's change notifications, for driving the
// Open Bar's worker from tests. It records any watch closed while the worker waits on it.
#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "services/openbar/open_bar_lists.h"

namespace osk::test {

inline char lowerChar(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// "*" and "?" as the system's file patterns use them, without regard to case.
inline bool wildcardMatch(const char* p, const char* s) {
  if (!*p) return !*s;
  if (*p == '*') return wildcardMatch(p + 1, s) || (*s && wildcardMatch(p, s + 1));
  if (!*s) return false;
  return (*p == '?' || lowerChar(*p) == lowerChar(*s)) && wildcardMatch(p + 1, s + 1);
}

class FakeWatchPlatform : public WatchPlatform {
 public:
  // ---- The disk, as tests change it ----
  void addDirectory(const std::string& dir) {
    std::lock_guard lock(m_);
    dirs_[dir];
    fire(dir);
  }
  void removeDirectory(const std::string& dir) {
    std::lock_guard lock(m_);
    dirs_.erase(dir);
    fire(dir);
  }
  void create(const std::string& dir, const std::string& file) {
    std::lock_guard lock(m_);
    dirs_[dir].insert(file);
    fire(dir);
  }
  void remove(const std::string& dir, const std::string& file) {
    std::lock_guard lock(m_);
    dirs_[dir].erase(file);
    fire(dir);
  }

  // ---- What tests look at ----
  int closedWhileWaiting() const { return closedWhileWaiting_; }
  size_t openWatches() {
    std::lock_guard lock(m_);
    return watches_.size();
  }
  int rescans() const { return rescans_; }
  // Waits (with a generous bound that only keeps a broken build from hanging) until `done` holds. `done` is asked
  // without this platform's lock, since it may take the lists' mutex, which the worker holds while it calls here.
  template <class F>
  bool waitUntil(F done) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (;;) {
      const int seen = rescans_;
      if (done()) return true;
      if (std::chrono::steady_clock::now() > giveUp) return false;
      std::unique_lock lock(m_);
      changed_.wait_for(lock, std::chrono::milliseconds(20), [&] { return rescans_ != seen; });
    }
  }

  // ---- WatchPlatform ----
  WatchId watch(const std::string& directory) override {
    std::lock_guard lock(m_);
    if (!dirs_.count(directory)) return 0;
    const WatchId id = nextWatch_++;
    watches_[id] = directory;
    return id;
  }
  bool rearm(WatchId w) override {
    std::lock_guard lock(m_);
    auto it = watches_.find(w);
    return it != watches_.end() && dirs_.count(it->second);
  }
  void unwatch(WatchId w) override {
    std::lock_guard lock(m_);
    if (std::find(waitingOn_.begin(), waitingOn_.end(), w) != waitingOn_.end()) ++closedWhileWaiting_;
    watches_.erase(w);
    fired_.erase(w);
  }
  int wait(const std::vector<WatchId>& ws, int32_t timeoutMs) override {
    std::unique_lock lock(m_);
    waitingOn_ = ws;
    auto ready = [&] {
      if (woken_) return true;
      for (WatchId w : ws)
        if (fired_.count(w)) return true;
      return false;
    };
    if (timeoutMs == kForever)
      signal_.wait(lock, ready);
    else
      signal_.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
    waitingOn_.clear();
    if (woken_) {
      woken_ = false;
      return kWoken;
    }
    for (size_t i = 0; i < ws.size(); ++i)
      if (fired_.erase(ws[i])) return static_cast<int>(i);
    return kTimedOut;
  }
  void wake() override {
    std::lock_guard lock(m_);
    woken_ = true;
    signal_.notify_all();
  }
  void sleep(int32_t) override {}
  bool enumerate(const std::string& directory, const std::string& pattern,
                 const std::function<bool(const std::string&)>& each) override {
    std::vector<std::string> files;
    {
      std::lock_guard lock(m_);
      auto it = dirs_.find(directory);
      if (it == dirs_.end()) return false;
      files.assign(it->second.begin(), it->second.end());
    }
    for (const std::string& f : files)
      if (wildcardMatch(pattern.c_str(), f.c_str()) && !each(f)) break;
    return true;
  }
  void rescanned(uint32_t) override {
    std::lock_guard lock(m_);
    ++rescans_;
    changed_.notify_all();
  }
  // Lets waitUntil() look again after the test changed something that is not a rescan.
  void poke() {
    std::lock_guard lock(m_);
    changed_.notify_all();
  }

 private:
  void fire(const std::string& dir) {
    for (auto& [id, d] : watches_)
      if (d == dir) fired_.insert(id);
    signal_.notify_all();
  }

  std::mutex m_;
  std::condition_variable signal_, changed_;
  std::map<std::string, std::set<std::string>> dirs_;
  std::map<WatchId, std::string> watches_;
  std::set<WatchId> fired_;
  std::vector<WatchId> waitingOn_;
  WatchId nextWatch_ = 1;
  bool woken_ = false;
  std::atomic<int> closedWhileWaiting_{0};
  std::atomic<int> rescans_{0};
};

}  // namespace osk::test
