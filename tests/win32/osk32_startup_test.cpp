// OSK32 started the way a user starts it: the frame comes up, the files named on the command line open in
// document windows, faults are reported in message boxes, and a second copy started with /i hands its files over.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "engine/ecd_api.h"

namespace {

using namespace std::chrono_literals;

bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 20s) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < deadline) {
    if (condition()) return true;
    std::this_thread::sleep_for(50ms);
  }
  return condition();
}

std::string programFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of("\\/") + 1);
}

std::string windowText(HWND window) {
  char text[1024] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

std::string className(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

// Top-level windows of one class that belong to one process.
std::vector<HWND> topLevelWindows(DWORD process, const std::string& windowClass) {
  struct Search {
    DWORD process;
    std::string windowClass;
    std::vector<HWND> found;
  } search{process, windowClass, {}};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == s.process && className(window) == s.windowClass && IsWindowVisible(window)) {
          s.found.push_back(window);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<HWND> childrenOfClass(HWND parent, const char* windowClass) {
  std::vector<HWND> children;
  for (HWND child = FindWindowExA(parent, nullptr, windowClass, nullptr); child != nullptr;
       child = FindWindowExA(parent, child, windowClass, nullptr)) {
    children.push_back(child);
  }
  return children;
}

// A scratch folder with text files, removed with everything in it.
class ScratchFolder {
 public:
  ScratchFolder() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp) + "osk32_startup_" + std::to_string(GetCurrentProcessId()) + "_" +
            std::to_string(counter_++);
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~ScratchFolder() {
    for (const std::string& file : files_) DeleteFileA(file.c_str());
    RemoveDirectoryA(path_.c_str());
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // Writes a file of that many CR LF lines and gives its full path.
  std::string write(const std::string& name, int lines) {
    const std::string file = path_ + "\\" + name;
    std::ofstream out(file, std::ios::binary);
    for (int i = 1; i <= lines; ++i) out << "line " << i << " of " << name << "\r\n";
    files_.push_back(file);
    return file;
  }
  std::string pathOf(const std::string& name) const { return path_ + "\\" + name; }
  const std::string& path() const { return path_; }

 private:
  static inline int counter_ = 0;
  std::string path_;
  std::vector<std::string> files_;
};

// One copy of OSK32, closed (or, failing that, ended) when the test is done with it.
class Editor {
 public:
  Editor(const std::string& arguments, const std::string& folder) {
    std::string commandLine = "\"" + programFolder() + "OSK32.exe\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    started_ = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                              &startup, &info) != 0;
    if (started_) {
      CloseHandle(info.hThread);
      process_ = info.hProcess;
      id_ = info.dwProcessId;
    }
  }
  ~Editor() {
    if (!started_) return;
    if (!hasEnded()) {
      for (HWND box : topLevelWindows(id_, "#32770")) PostMessageA(box, WM_COMMAND, IDOK, 0);
      if (HWND frame = findFrame()) PostMessageA(frame, WM_CLOSE, 0, 0);
      if (WaitForSingleObject(process_, 10000) != WAIT_OBJECT_0) TerminateProcess(process_, 1);
    }
    CloseHandle(process_);
  }
  Editor(const Editor&) = delete;
  Editor& operator=(const Editor&) = delete;

  bool started() const { return started_; }
  bool hasEnded() const { return WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; }
  DWORD exitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_, &code);
    return code;
  }
  bool waitForEnd(DWORD milliseconds = 10000) const { return WaitForSingleObject(process_, milliseconds) == WAIT_OBJECT_0; }

  HWND findFrame() const {
    const std::vector<HWND> frames = topLevelWindows(id_, "OSK32");
    return frames.empty() ? nullptr : frames.front();
  }
  HWND waitForFrame() const {
    HWND frame = nullptr;
    waitFor([&] { return (frame = findFrame()) != nullptr; });
    return frame;
  }

  std::vector<HWND> documents() const {
    HWND frame = findFrame();
    HWND client = frame != nullptr ? FindWindowExA(frame, nullptr, "MDICLIENT", nullptr) : nullptr;
    return client != nullptr ? childrenOfClass(client, "WCHILD") : std::vector<HWND>{};
  }
  // Waits for `count` document windows, each holding its editor window (the program makes the document window
  // first and moves the filled editor into it just after).
  bool waitForDocuments(std::size_t count) const {
    return waitFor([&] {
      const std::vector<HWND> all = documents();
      return all.size() == count && std::all_of(all.begin(), all.end(), [](HWND document) {
               return FindWindowExA(document, nullptr, ECD_WINDOW_CLASS, nullptr) != nullptr;
             });
    });
  }

  // The text of the message box the program shows, once it shows one.
  HWND waitForMessageBox() const {
    HWND box = nullptr;
    waitFor([&] {
      const std::vector<HWND> boxes = topLevelWindows(id_, "#32770");
      box = boxes.empty() ? nullptr : boxes.front();
      return box != nullptr;
    });
    return box;
  }

  bool closeAndWait() {
    HWND frame = findFrame();
    if (frame == nullptr) return false;
    PostMessageA(frame, WM_CLOSE, 0, 0);
    return waitForEnd();
  }

 private:
  bool started_ = false;
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

HWND editorOf(HWND document) { return FindWindowExA(document, nullptr, ECD_WINDOW_CLASS, nullptr); }

std::string boxText(HWND box) { return windowText(GetDlgItem(box, 0xFFFF)); }

void answer(HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); }

TEST(OSK32Startup, ShowsTheFrameAndTheNamedFileThenClosesCleanly) {
  ScratchFolder folder;
  const std::string file = folder.write("notes.txt", 3);
  Editor editor("\"" + file + "\"", folder.path());
  ASSERT_TRUE(editor.started());

  HWND frame = editor.waitForFrame();
  ASSERT_NE(frame, nullptr) << "no frame of class OSK32";
  EXPECT_EQ(windowText(frame), "OSK");
  EXPECT_NE(FindWindowExA(frame, nullptr, "MDICLIENT", nullptr), nullptr);

  ASSERT_TRUE(editor.waitForDocuments(1));
  HWND document = editor.documents().front();
  HWND view = editorOf(document);
  ASSERT_NE(view, nullptr) << "the document window holds no editor window";
  EXPECT_EQ(SendMessageA(view, ECD_GET_LINE_COUNT, 0, 0), 3);
  EXPECT_NE(SendMessageA(view, ECD_IS_READ_ONLY, 0, 0), 0);
  EXPECT_EQ(windowText(document), " " + file);   // the first character marks unsaved changes

  EXPECT_TRUE(editor.closeAndWait());
  EXPECT_EQ(editor.exitCode(), 0u);
}

TEST(OSK32Startup, OpensEveryNamedFileWithTheReadOnlyChoiceBeforeIt) {
  ScratchFolder folder;
  const std::string first = folder.write("first.txt", 2);
  const std::string second = folder.write("with blank.txt", 5);
  const std::string third = folder.write("third.txt", 1);
  // Relative names are taken from the program's current folder.
  Editor editor("/r1 first.txt \"with blank.txt\" -r0 third.txt", folder.path());
  ASSERT_TRUE(editor.started());
  ASSERT_NE(editor.waitForFrame(), nullptr);
  ASSERT_TRUE(editor.waitForDocuments(3));

  struct Expected {
    int lines;
    bool readOnly;
    std::string title;
  };
  const std::vector<Expected> expected{
      {2, true, " " + first + " (read-only)"}, {5, true, " " + second + " (read-only)"}, {1, false, " " + third}};
  // The last title is set just after its editor moves in: read them until all are there, or time runs out.
  std::vector<Expected> found;
  waitFor([&] {
    found.clear();
    for (HWND document : editor.documents()) {
      HWND view = editorOf(document);
      if (view == nullptr) return false;
      found.push_back({static_cast<int>(SendMessageA(view, ECD_GET_LINE_COUNT, 0, 0)),
                       SendMessageA(view, ECD_IS_READ_ONLY, 0, 0) == 0, windowText(document)});
    }
    return std::all_of(expected.begin(), expected.end(), [&](const Expected& want) {
      return std::any_of(found.begin(), found.end(), [&](const Expected& got) { return got.title == want.title; });
    });
  });
  for (const Expected& want : expected) {
    bool seen = false;
    for (const Expected& got : found) {
      if (got.title == want.title) {
        seen = true;
        EXPECT_EQ(got.lines, want.lines) << want.title;
        EXPECT_EQ(got.readOnly, want.readOnly) << want.title;
      }
    }
    EXPECT_TRUE(seen) << "no document titled " << want.title;
  }
}

TEST(OSK32Startup, NameOptionTitlesTheFrame) {
  ScratchFolder folder;
  folder.write("a.txt", 1);
  Editor editor("/name \"Work Notes\" a.txt", folder.path());
  HWND frame = editor.waitForFrame();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(windowText(frame), "Work Notes");
  EXPECT_TRUE(editor.waitForDocuments(1));
}

TEST(OSK32Startup, NamingOneFileTwiceOpensItOnce) {
  ScratchFolder folder;
  folder.write("same.txt", 4);
  Editor editor("same.txt SAME.TXT", folder.path());
  ASSERT_NE(editor.waitForFrame(), nullptr);
  ASSERT_TRUE(editor.waitForDocuments(1));
  std::this_thread::sleep_for(500ms);
  EXPECT_EQ(editor.documents().size(), 1u);
}

TEST(OSK32Startup, MissingFileIsReportedAndOpensNothing) {
  ScratchFolder folder;
  Editor editor("missing.txt", folder.path());
  ASSERT_NE(editor.waitForFrame(), nullptr);
  HWND box = editor.waitForMessageBox();
  ASSERT_NE(box, nullptr) << "no message box";
  EXPECT_EQ(windowText(box), "OSK");
  EXPECT_EQ(boxText(box), "Cannot find " + folder.pathOf("missing.txt") + " .");
  answer(box);
  EXPECT_TRUE(waitFor([&] { return !IsWindow(box); }));
  EXPECT_TRUE(editor.documents().empty());
  EXPECT_TRUE(editor.closeAndWait());
}

TEST(OSK32Startup, InvalidOptionIsReportedAfterTheFilesBeforeItOpened) {
  ScratchFolder folder;
  folder.write("before.txt", 2);
  folder.write("after.txt", 2);
  Editor editor("before.txt /x after.txt", folder.path());
  ASSERT_NE(editor.waitForFrame(), nullptr);
  HWND box = editor.waitForMessageBox();
  ASSERT_NE(box, nullptr) << "no message box";
  EXPECT_EQ(boxText(box), "Invalid option in command line");
  const std::vector<HWND> documents = editor.documents();
  ASSERT_EQ(documents.size(), 1u);
  EXPECT_EQ(windowText(documents.front()), " " + folder.pathOf("before.txt"));
  answer(box);
}

TEST(OSK32Startup, SecondCopyWithSingleInstanceHandsItsFilesToTheFirst) {
  ScratchFolder folder;
  folder.write("one.txt", 1);
  const std::string two = folder.write("two.txt", 2);
  Editor first("one.txt", folder.path());
  ASSERT_NE(first.waitForFrame(), nullptr);
  ASSERT_TRUE(first.waitForDocuments(1));

  Editor second("/i two.txt", folder.path());
  ASSERT_TRUE(second.started());
  ASSERT_TRUE(second.waitForEnd()) << "the second copy kept running";
  EXPECT_EQ(second.exitCode(), 0u);

  ASSERT_TRUE(first.waitForDocuments(2));
  bool found = false;
  for (HWND document : first.documents()) found = found || windowText(document) == " " + two;
  EXPECT_TRUE(found) << "the handed-over file is not open in the first copy";
}

}  // namespace
