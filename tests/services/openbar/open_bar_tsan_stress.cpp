// Lists added, changed, closed and read on one thread while another churns files and directories and the worker
// scans, for a fixed number of steps. Built with ThreadSanitizer: any data race or lock-order problem ends the
// program with an error. It also fails when a watch was closed while the worker waited on it, when the worker does
// not end, or when a watch is left open.
#include <cstdio>
#include <random>
#include <thread>

#include "tests/services/openbar/fake_watch_platform.h"

int main() {
  using namespace osk;
  test::FakeWatchPlatform disk;
  COpenBarLists lists(disk);
  const int kDirs = 6;
  auto dir = [](int i) { return "c:\\dir" + std::to_string(i); };
  for (int i = 0; i < kDirs; ++i) disk.create(dir(i), "seed.c");
  lists.replaceAll({{"first", dir(0), "*.c;*.h", SortType::ByType, 0, true}});

  std::thread worker([&] { lists.run(); });
  std::atomic<bool> churning{true};
  std::thread churn([&] {
    std::mt19937 rng(11);
    for (int step = 0; churning && step < 20000; ++step) {
      const std::string d = dir(static_cast<int>(rng() % kDirs));
      const std::string f = "f" + std::to_string(rng() % 40) + (rng() % 2 ? ".c" : ".h");
      switch (rng() % 8) {
        case 0: disk.removeDirectory(d); break;
        case 1: case 2: case 3: disk.remove(d, f); break;
        default: disk.create(d, f); break;
      }
      if (step % 64 == 0) std::this_thread::yield();
    }
  });

  std::mt19937 rng(5);
  for (int step = 0; step < 3000; ++step) {
    const int d = static_cast<int>(rng() % kDirs);
    switch (rng() % 10) {
      case 0: case 1: lists.add({"t", dir(d), rng() % 2 ? "*.c" : "*.*", SortType::ByName, 0, false}); break;
      case 2: case 3: lists.closeCurrent(); break;
      case 4: lists.update(lists.currentId(), {"u", dir(d), "*.h;*.c", SortType::ByType, 0, false}); break;
      case 5: lists.refresh(); break;
      case 6: lists.setAutoRefresh(rng() % 4 != 0); break;
      case 7: lists.next(); break;
      case 8: lists.setSuspended(rng() % 2 == 0); break;
      default: {
        OpenBarListView v;
        lists.view(lists.currentId(), v);
        break;
      }
    }
    if (step % 500 == 0) lists.replaceAll({{"again", dir(d), "*.*", SortType::ByName, 0, true}});
  }
  lists.setSuspended(false);
  churning = false;
  churn.join();
  lists.stop();
  worker.join();
  lists.closeWatches();

  int failures = 0;
  if (disk.closedWhileWaiting() != 0) {
    std::fprintf(stderr, "%d watches closed while the worker waited on them\n", disk.closedWhileWaiting());
    ++failures;
  }
  if (disk.openWatches() != 0) {
    std::fprintf(stderr, "%zu watches left open\n", disk.openWatches());
    ++failures;
  }
  if (lists.count() < 1) {
    std::fprintf(stderr, "no list left\n");
    ++failures;
  }
  std::printf("%d rescans\n", disk.rescans());
  return failures ? 1 : 0;
}
