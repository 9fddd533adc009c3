// The Open Bar's portable core: file stores in both sort orders, the settings and list sections, the open-search
// directories, and the worker keeping lists up to date against a directory tree in memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <thread>

#include "services/memory_settings.h"
#include "services/openbar/file_store.h"
#include "services/openbar/open_bar_lists.h"
#include "services/openbar/open_bar_settings.h"
#include "tests/services/openbar/fake_watch_platform.h"

namespace osk {
namespace {

std::vector<std::string> shown(const CFileStore& store, SortType sort) {
  std::vector<std::string> out;
  for (const std::string& s : store.names()) out.push_back(shownName(s, sort));
  return out;
}

// ---- File store ----

TEST(FileStore, ByTypeGroupsCFilesBeforeHeadersEachByNameWithoutCase) {
  CFileStore store;
  for (const char* name : {"zeta.h", "Beta.c", "alpha.h", "main.C", "Alpha.c", "util.cpp", "b.H"})
    store.insert(storedName(name, SortType::ByType));
  EXPECT_EQ(shown(store, SortType::ByType),
            (std::vector<std::string>{"Alpha.c", "Beta.c", "main.C", "util.cpp", "alpha.h", "b.H", "zeta.h"}));
}

TEST(FileStore, NameWithoutDotSortsAsIfItWereTheExtension) {
  CFileStore store;
  for (const char* name : {"x.c", "Makefile", "y.mak", "README", "z.txt"})
    store.insert(storedName(name, SortType::ByType));
  EXPECT_EQ(shown(store, SortType::ByType),
            (std::vector<std::string>{"x.c", "y.mak", "Makefile", "README", "z.txt"}));
}

TEST(FileStore, NamesEqualWithoutCaseAreOneFile) {
  CFileStore store;
  EXPECT_TRUE(store.insert("Read.me"));
  EXPECT_FALSE(store.insert("READ.ME"));
  EXPECT_EQ(store.size(), 1u);
  EXPECT_EQ(store[0], "Read.me");
  EXPECT_TRUE(store.find("read.me").has_value());
  EXPECT_FALSE(store.find("read.m").has_value());
}

TEST(FileStore, TurningAroundAndBackGivesTheNameForOddDots) {
  for (const char* name : {"a.b.c", ".bashrc", "trailing.", "plain", "..", "x..y"}) {
    EXPECT_EQ(shownName(storedName(name, SortType::ByType), SortType::ByType), name) << name;
    EXPECT_EQ(storedName(name, SortType::ByName), name);
  }
  EXPECT_EQ(storedName("lib.tar.gz", SortType::ByType), "gz.lib.tar");
}

TEST(FileStore, RandomInsertsMatchASortedSetWithoutCase) {
  std::mt19937 rng(7);
  const std::string letters = "aAbB.c";
  CFileStore store;
  std::vector<std::string> model;
  for (int i = 0; i < 2000; ++i) {
    std::string name;
    for (int n = 1 + static_cast<int>(rng() % 5); n > 0; --n) name += letters[rng() % letters.size()];
    const bool fresh = std::none_of(model.begin(), model.end(), [&](const std::string& m) {
      return !lessWithoutCase(m, name) && !lessWithoutCase(name, m);
    });
    EXPECT_EQ(store.insert(name), fresh);
    if (fresh) model.push_back(name);
  }
  std::stable_sort(model.begin(), model.end(), [](auto& a, auto& b) { return lessWithoutCase(a, b); });
  EXPECT_EQ(store.names(), model);
}

// ---- Settings ----

TEST(OpenBarSettingsFile, DefaultsWhenNothingIsSaved) {
  test::MemorySettings ini;
  const OpenBarSettings s = readOpenBarSettings(ini, {1, 2, 3, 4});
  EXPECT_EQ(s.seqNo, -1);
  EXPECT_TRUE(s.visible && s.vertical && s.posVertical && s.autoRefresh);
  EXPECT_FALSE(s.asPopup || s.botRight || s.maximised || s.italic);
  EXPECT_EQ(s.width, 80);
  EXPECT_EQ(s.height, 100);
  EXPECT_EQ(s.rect.right, 3);
  EXPECT_EQ(fontFaceOrDefault(s), "Arial");

  const auto lists = readOpenBarLists(ini, nullptr);
  ASSERT_EQ(lists.size(), 1u);
  EXPECT_EQ(lists[0].title, "Dir");
  EXPECT_EQ(lists[0].directory, "c:\\");
  EXPECT_EQ(lists[0].filters, "*.*");
  EXPECT_TRUE(lists[0].selected);
}

TEST(OpenBarSettingsFile, BarKeysRoundTripUnderOpenbarNames) {
  test::MemorySettings ini;
  OpenBarSettings s;
  s.seqNo = 3;
  s.asPopup = true;
  s.rect = {10, 20, 300, 400};
  s.maximised = true;
  s.autoRefresh = false;
  s.fontHeight = -13;
  s.weight = 700;
  s.fontFace = "Courier New";
  writeOpenBarSettings(ini, s);
  EXPECT_EQ(ini.sections["Extended"]["OpenbarAutoRefresh"], "0");
  EXPECT_EQ(ini.sections["Extended"]["OpenbarMax"], "1");
  EXPECT_EQ(ini.sections["Extended"]["FontFace"], "Courier New");
  const OpenBarSettings back = readOpenBarSettings(ini, {});
  EXPECT_EQ(back.seqNo, 3);
  EXPECT_TRUE(back.asPopup && back.maximised);
  EXPECT_FALSE(back.autoRefresh);
  EXPECT_EQ(back.rect.bottom, 400);
  EXPECT_EQ(back.fontHeight, -13);
  EXPECT_EQ(back.weight, 700);
  EXPECT_EQ(back.fontFace, "Courier New");
}

TEST(OpenBarSettingsFile, FontFaceIsCutTo32Characters) {
  test::MemorySettings ini;
  ini.sections["Extended"]["FontFace"] = std::string(80, 'F');
  EXPECT_EQ(readOpenBarSettings(ini, {}).fontFace.size(), kMaxFontFace);
}

TEST(OpenBarSettingsFile, TwoListsWriteChild0Child1AndAnEmptyChild2) {
  test::MemorySettings ini;
  ini.sections["Child3"]["Title"] = "stale";
  ini.sections["Child3"]["Dir"] = "d:\\old";
  std::vector<OpenBarListInfo> lists(2);
  lists[0] = {"Sources", "c:\\src", "*.c;*.h", SortType::ByType, 0, false};
  lists[1] = {"Docs", "c:\\docs", "*.txt", SortType::ByName, 1, true};
  writeOpenBarLists(ini, lists, [](const std::string& d) { return d == "c:\\docs" ? std::string("C:\\DOCS~1") : d; });
  EXPECT_EQ(ini.sections["Child0"]["Title"], "Sources");
  EXPECT_EQ(ini.sections["Child0"]["OpenbarSortType"], "1");
  EXPECT_EQ(ini.sections["Child1"]["Dir"], "C:\\DOCS~1");
  EXPECT_EQ(ini.sections["Child1"]["OpenbarSelected"], "1");
  EXPECT_EQ(ini.sections["Child1"]["OpenbarPosition"], "1");
  EXPECT_EQ(ini.sections["Child2"]["Title"], "");
  EXPECT_EQ(ini.sections["Child2"]["Dir"], "");
  EXPECT_EQ(ini.sections["Child2"]["Filters"], "");

  const auto back = readOpenBarLists(ini, [](const std::string& d) { return d + "\\full"; });
  ASSERT_EQ(back.size(), 2u);   // the stale Child3 is never read
  EXPECT_EQ(back[0].filters, "*.c;*.h");
  EXPECT_EQ(back[0].sort, SortType::ByType);
  EXPECT_EQ(back[1].directory, "C:\\DOCS~1\\full");
  EXPECT_FALSE(back[0].selected);
  EXPECT_TRUE(back[1].selected);
}

TEST(OpenBarSettingsFile, ListTextsAreBoundedAndAtMost60ListsAreRead) {
  test::MemorySettings ini;
  for (int n = 0; n < 70; ++n) {
    ini.sections["Child" + std::to_string(n)]["Title"] = std::string(400, 't');
    ini.sections["Child" + std::to_string(n)]["Dir"] = "c:\\d" + std::to_string(n);
    ini.sections["Child" + std::to_string(n)]["OpenbarSortType"] = "9";
  }
  const auto lists = readOpenBarLists(ini, nullptr);
  ASSERT_EQ(lists.size(), 60u);
  EXPECT_EQ(lists[0].title.size(), kMaxListText);
  EXPECT_EQ(lists[0].filters, "*.*");
  EXPECT_EQ(lists[0].sort, SortType::ByName);
}

TEST(OpenBarSettingsFile, FiltersSplitAtSemicolonsAndPathsJoinWithOneBackslash) {
  EXPECT_EQ(splitFilters(" *.c ; ;*.h;"), (std::vector<std::string>{"*.c", "*.h"}));
  EXPECT_TRUE(splitFilters(" ; ").empty());
  EXPECT_EQ(joinPath("c:\\", "a.c"), "c:\\a.c");
  EXPECT_EQ(joinPath("c:\\src", "a.c"), "c:\\src\\a.c");
}

TEST(OpenSearchDirectories, WriteEndsWithAnEmptyKeyAndReadStopsThere) {
  test::MemorySettings ini;
  ini.sections["Open Search"]["4"] = "c:\\stale";
  writeSearchDirectories(ini, {"c:\\one", "  ", "d:\\two"});
  EXPECT_EQ(ini.sections["Open Search"]["1"], "c:\\one");
  EXPECT_EQ(ini.sections["Open Search"]["2"], "d:\\two");
  EXPECT_EQ(ini.sections["Open Search"]["3"], "");
  EXPECT_EQ(readSearchDirectories(ini), (std::vector<std::string>{"c:\\one", "d:\\two"}));
}

TEST(OpenSearchDirectories, DuplicatesAndBadDirectoriesAreRefused) {
  auto exists = [](const std::string& d) { return d != "q:\\nowhere"; };
  const std::vector<std::string> have{"C:\\Src\\"};
  EXPECT_EQ(checkSearchDirectory(have, "c:\\src", exists), SearchDirectoryCheck::Duplicate);
  EXPECT_EQ(checkSearchDirectory(have, "c:/SRC/", exists), SearchDirectoryCheck::Duplicate);
  EXPECT_EQ(checkSearchDirectory(have, "q:\\nowhere", exists), SearchDirectoryCheck::Invalid);
  EXPECT_EQ(checkSearchDirectory(have, "   ", exists), SearchDirectoryCheck::Invalid);
  EXPECT_EQ(checkSearchDirectory(have, "c:\\src2", exists), SearchDirectoryCheck::Ok);
  EXPECT_STREQ(searchDirectoryMessage(SearchDirectoryCheck::Duplicate), "Duplicate search directories not allowed.");
  EXPECT_STREQ(searchDirectoryMessage(SearchDirectoryCheck::Invalid), "Invalid directory");
}

// ---- Lists and the worker ----

// The lists with their worker running on a thread, ended and cleaned up as the Open Bar window does.
struct RunningLists {
  test::FakeWatchPlatform disk;
  COpenBarLists lists{disk};
  std::thread worker;
  RunningLists() { worker = std::thread([this] { lists.run(); }); }
  ~RunningLists() {
    lists.stop();
    worker.join();
    lists.closeWatches();
  }
  std::vector<std::string> names(uint32_t id) {
    OpenBarListView v;
    lists.view(id, v);
    return v.shownNames;
  }
  bool shows(uint32_t id, const std::vector<std::string>& expected) {
    return disk.waitUntil([&] { return names(id) == expected; });
  }
};

OpenBarListInfo info(std::string dir, std::string filters = "*.*", SortType sort = SortType::ByName) {
  return {"t", std::move(dir), std::move(filters), sort, 0, false};
}

TEST(OpenBarWorker, ListShowsMatchingFilesSortedByType) {
  RunningLists r;
  for (const char* f : {"b.h", "a.c", "B.c", "notes.txt", "A.h"}) r.disk.create("c:\\src", f);
  const uint32_t id = r.lists.add(info("c:\\src", "*.c;*.h", SortType::ByType));
  EXPECT_TRUE(r.shows(id, {"a.c", "B.c", "A.h", "b.h"}));
}

TEST(OpenBarWorker, CreatedAndDeletedFilesShowUpWithoutRefresh) {
  RunningLists r;
  r.disk.create("c:\\w", "one.txt");
  const uint32_t id = r.lists.add(info("c:\\w"));
  ASSERT_TRUE(r.shows(id, {"one.txt"}));
  r.disk.create("c:\\w", "two.txt");
  EXPECT_TRUE(r.shows(id, {"one.txt", "two.txt"}));
  r.disk.remove("c:\\w", "one.txt");
  EXPECT_TRUE(r.shows(id, {"two.txt"}));
}

TEST(OpenBarWorker, AutoRefreshOffWaitsOnlyForWakingAndLeavesListsUntilRefresh) {
  RunningLists r;
  r.disk.create("c:\\w", "one.txt");
  const uint32_t id = r.lists.add(info("c:\\w"));
  ASSERT_TRUE(r.shows(id, {"one.txt"}));
  ASSERT_TRUE(r.disk.waitUntil([&] { return r.lists.lastWaitCount() == 1; }));
  r.lists.setAutoRefresh(false);
  ASSERT_TRUE(r.disk.waitUntil([&] { return r.lists.lastWaitCount() == 0; }));
  const int before = r.disk.rescans();
  r.disk.create("c:\\w", "two.txt");
  r.lists.setAutoRefresh(false);   // one more pass of the loop, which must not scan
  ASSERT_TRUE(r.disk.waitUntil([&] { return r.lists.lastWaitCount() == 0; }));
  EXPECT_EQ(r.disk.rescans(), before);
  EXPECT_EQ(r.names(id), (std::vector<std::string>{"one.txt"}));
  r.lists.refresh();
  EXPECT_TRUE(r.shows(id, {"one.txt", "two.txt"}));
}

TEST(OpenBarWorker, VanishedDirectoryShowsEmptyAndRecoversWhenItReturns) {
  RunningLists r;
  r.disk.create("c:\\gone", "x.c");
  const uint32_t id = r.lists.add(info("c:\\gone"));
  ASSERT_TRUE(r.shows(id, {"x.c"}));
  r.disk.removeDirectory("c:\\gone");
  ASSERT_TRUE(r.shows(id, {}));
  r.disk.create("c:\\gone", "y.c");
  EXPECT_TRUE(r.shows(id, {"y.c"}));
  EXPECT_EQ(r.disk.closedWhileWaiting(), 0);
}

TEST(OpenBarWorker, MissingDirectoryAtStartShowsEmptyThenItsFiles) {
  RunningLists r;
  const uint32_t id = r.lists.add(info("c:\\later"));
  ASSERT_TRUE(r.disk.waitUntil([&] { return r.disk.rescans() >= 1; }));
  EXPECT_TRUE(r.names(id).empty());
  r.disk.create("c:\\later", "a.txt");
  EXPECT_TRUE(r.shows(id, {"a.txt"}));
}

TEST(OpenBarWorker, ChangingAListsDirectoryScansTheNewOne) {
  RunningLists r;
  r.disk.create("c:\\a", "a.txt");
  r.disk.create("c:\\b", "b.txt");
  const uint32_t id = r.lists.add(info("c:\\a"));
  ASSERT_TRUE(r.shows(id, {"a.txt"}));
  ASSERT_TRUE(r.lists.update(id, info("c:\\b")));
  ASSERT_TRUE(r.shows(id, {"b.txt"}));
  r.disk.create("c:\\b", "c.txt");
  EXPECT_TRUE(r.shows(id, {"b.txt", "c.txt"}));
  EXPECT_EQ(r.disk.closedWhileWaiting(), 0);
}

TEST(OpenBarLists, ClosingTheOnlyListDoesNothing) {
  RunningLists r;
  r.lists.add(info("c:\\a"));
  EXPECT_FALSE(r.lists.closeCurrent());
  EXPECT_EQ(r.lists.count(), 1);
}

TEST(OpenBarLists, ClosingHandsCurrencyAndPositionToTheNextListOrTheFirst) {
  test::FakeWatchPlatform disk;
  COpenBarLists lists(disk);
  std::vector<OpenBarListInfo> infos{info("a"), info("b"), info("c")};
  infos[0].title = "A";
  infos[1].title = "B";
  infos[2].title = "C";
  infos[1].selected = true;
  infos[1].position = 7;
  lists.replaceAll(infos);
  EXPECT_EQ(lists.currentIndex(), 1);
  ASSERT_TRUE(lists.closeCurrent());
  auto now = lists.infos();
  ASSERT_EQ(now.size(), 2u);
  EXPECT_EQ(now[1].title, "C");
  EXPECT_TRUE(now[1].selected);
  EXPECT_EQ(now[1].position, 7);
  ASSERT_TRUE(lists.closeCurrent());   // the last list closed: the first takes over
  now = lists.infos();
  ASSERT_EQ(now.size(), 1u);
  EXPECT_EQ(now[0].title, "A");
  EXPECT_TRUE(now[0].selected);
}

TEST(OpenBarLists, NextAndPreviousGoRoundAndGotoChecksTheNumber) {
  test::FakeWatchPlatform disk;
  COpenBarLists lists(disk);
  lists.replaceAll({info("a"), info("b"), info("c")});
  EXPECT_EQ(lists.currentIndex(), 0);
  EXPECT_TRUE(lists.previous());
  EXPECT_EQ(lists.currentIndex(), 2);
  EXPECT_TRUE(lists.next());
  EXPECT_EQ(lists.currentIndex(), 0);
  EXPECT_FALSE(lists.setCurrent(3));
  EXPECT_TRUE(lists.setCurrent(2));
  EXPECT_EQ(lists.currentIndex(), 2);
}

TEST(OpenBarLists, NoMoreThanSixtyLists) {
  test::FakeWatchPlatform disk;
  COpenBarLists lists(disk);
  for (int i = 0; i < 60; ++i) ASSERT_NE(lists.add(info("d" + std::to_string(i))), 0u);
  EXPECT_EQ(lists.add(info("one too many")), 0u);
  EXPECT_EQ(lists.count(), 60);
  EXPECT_EQ(lists.currentIndex(), 59);
}

TEST(OpenBarWorker, ListsClosedWhileTheWorkerWaitsAreNeverClosedUnderIt) {
  RunningLists r;
  std::vector<uint32_t> ids;
  for (int i = 0; i < 8; ++i) {
    const std::string dir = "c:\\d" + std::to_string(i);
    r.disk.create(dir, "f.txt");
    ids.push_back(r.lists.add(info(dir)));
  }
  ASSERT_TRUE(r.disk.waitUntil([&] { return r.lists.lastWaitCount() == 8; }));
  for (int i = 0; i < 7; ++i) ASSERT_TRUE(r.lists.closeCurrent());
  ASSERT_TRUE(r.disk.waitUntil([&] { return r.lists.lastWaitCount() == 1; }));
  EXPECT_EQ(r.disk.closedWhileWaiting(), 0);
  EXPECT_EQ(r.disk.openWatches(), 1u);
}

TEST(OpenBarWorker, StopEndsAWorkerThatWaitsForever) {
  test::FakeWatchPlatform disk;
  COpenBarLists lists(disk);
  lists.add(info("c:\\none"));
  std::thread worker([&] { lists.run(); });
  disk.waitUntil([&] { return disk.rescans() >= 1; });
  lists.stop();
  worker.join();
  lists.closeWatches();
  EXPECT_EQ(disk.openWatches(), 0u);
}

}  // namespace
}  // namespace osk
