// The installer and the uninstaller as a user meets them: the distribution installed through the wizard into a
// folder two levels below an existing one with a new program group, the installed editor started, everything
// removed again through the registry's uninstall command; hostile archives and logs change nothing they must not.
#include <windows.h>

#include <lzexpand.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "setup/archive.h"
#include "setup/archive_list.h"
#include "setup/szdd.h"

namespace {

using namespace std::chrono_literals;
using namespace osk::setup;

bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 30s) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < deadline) {
    if (condition()) return true;
    std::this_thread::sleep_for(30ms);
  }
  return condition();
}

std::string programFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of("\\/") + 1);
}

std::string windowsDirectory() {
  char path[MAX_PATH] = {};
  GetWindowsDirectoryA(path, MAX_PATH);
  return path;
}

// Through WM_GETTEXT, which also reads the controls of another process.
std::string windowText(HWND window) {
  char text[2048] = {};
  DWORD_PTR result = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &result);
  return text;
}

std::string className(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void copyFolder(const std::string& from, const std::string& to) {
  CreateDirectoryA(to.c_str(), nullptr);
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA((from + "\\*").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      CopyFileA((from + "\\" + data.cFileName).c_str(), (to + "\\" + data.cFileName).c_str(), FALSE);
    }
  } while (FindNextFileA(search, &data));
  FindClose(search);
}

void removeTree(const std::string& path) {
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &data);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = data.cFileName;
      if (name == "." || name == "..") continue;
      const std::string child = path + "\\" + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        removeTree(child);
      } else {
        DeleteFileA(child.c_str());
      }
    } while (FindNextFileA(search, &data));
    FindClose(search);
  }
  RemoveDirectoryA(path.c_str());
}

// Everything below a folder, as relative paths; directories end in a backslash.
void listFolder(const std::string& path, const std::string& prefix, bool recurse, std::set<std::string>& out) {
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      out.insert(prefix + name + "\\");
      if (recurse) listFolder(path + "\\" + name, prefix + name + "\\", true, out);
    } else {
      out.insert(prefix + name);
    }
  } while (FindNextFileA(search, &data));
  FindClose(search);
}

// Registry key names below a key, leaving out the big class registrations that nothing here touches.
void listKeys(HKEY parent, const std::string& prefix, int depth, std::set<std::string>& out) {
  char name[512];
  for (DWORD i = 0;; ++i) {
    DWORD length = sizeof name;
    if (RegEnumKeyExA(parent, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    const std::string key = prefix + name;
    if (_stricmp(name, "Classes") == 0) continue;
    out.insert(key);
    HKEY child = nullptr;
    if (depth > 0 && RegOpenKeyExA(parent, name, 0, KEY_READ, &child) == ERROR_SUCCESS) {
      listKeys(child, key + "\\", depth - 1, out);
      RegCloseKey(child);
    }
  }
}

std::string specialFolder(int which) {
  char path[MAX_PATH] = {};
  SHGetSpecialFolderPathA(nullptr, path, which, FALSE);
  return path;
}

void listKeysOf(HKEY root, const std::string& path, const std::string& prefix, std::set<std::string>& out) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
  out.insert(prefix);
  listKeys(key, prefix + "\\", 4, out);
  RegCloseKey(key);
}

// What an installation can change: the test's own folder, the files of the Windows directory that the tests
// install, the Start menu's program groups, and the registry under the keys an installation writes. Other tests
// running beside this one in the same Wine prefix may write elsewhere.
std::set<std::string> machineState(const std::string& testRoot) {
  std::set<std::string> state;
  listFolder(testRoot, "test:", true, state);
  std::set<std::string> windows;
  listFolder(windowsDirectory(), "windows:", false, windows);
  for (const std::string& name : windows) {
    if (_strnicmp(name.c_str(), "windows:OSKUNINS", 16) == 0 || _strnicmp(name.c_str(), "windows:OSKTST", 14) == 0) {
      state.insert(name);
    }
  }
  listFolder(specialFolder(CSIDL_COMMON_PROGRAMS), "common programs:", true, state);
  listFolder(specialFolder(CSIDL_PROGRAMS), "programs:", true, state);
  listKeysOf(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", "HKLM\\Uninstall", state);
  listKeysOf(HKEY_LOCAL_MACHINE, "Software\\OSK Software", "HKLM\\Software\\OSK Software", state);
  listKeysOf(HKEY_CURRENT_USER, "Software\\OskSetupTestForeign", "HKCU\\Software\\OskSetupTestForeign", state);
  return state;
}

std::string difference(const std::set<std::string>& before, const std::set<std::string>& after) {
  std::string text;
  for (const auto& s : after) {
    if (!before.count(s)) text += "  added:   " + s + "\n";
  }
  for (const auto& s : before) {
    if (!after.count(s)) text += "  removed: " + s + "\n";
  }
  return text;
}

void screenshot(const std::string& name) {
  // The test display's picture helps when a step times out; taken only on failure.
  const std::string command = "cmd /c start /unix /usr/bin/import -window root /tmp/" + name + ".png";
  WinExec(command.c_str(), SW_HIDE);
}

// A started program whose dialogs and message boxes the test answers.
class Program {
 public:
  Program(const std::string& commandLine, const std::string& folder) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string line = commandLine;
    started_ = CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                              &info) != 0;
    if (started_) {
      CloseHandle(info.hThread);
      process_ = info.hProcess;
      id_ = info.dwProcessId;
    }
  }
  ~Program() {
    if (!started_) return;
    if (!ended()) {
      TerminateProcess(process_, 1);
      WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
  }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  bool started() const { return started_; }
  bool ended() const { return WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; }
  bool waitForEnd(std::chrono::milliseconds timeout = 30s) const {
    return WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
  }

  std::vector<HWND> dialogs() const {
    struct Search {
      DWORD process;
      std::vector<HWND> found;
    } search{id_, {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
          auto& s = *reinterpret_cast<Search*>(data);
          DWORD owner = 0;
          GetWindowThreadProcessId(window, &owner);
          if (owner == s.process && className(window) == "#32770" && IsWindowVisible(window)) s.found.push_back(window);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
  }
  static bool isMessageBox(HWND window) { return GetDlgItem(window, 0xFFFF) != nullptr; }

  // The dialog that holds a control of this id (a message box does not count).
  HWND waitForDialogWith(int id) const {
    HWND found = nullptr;
    waitFor([&] {
      for (HWND dialog : dialogs()) {
        if (!isMessageBox(dialog) && descendant(dialog, id)) {
          found = dialog;
          return true;
        }
      }
      return false;
    });
    return found;
  }

  static HWND descendant(HWND parent, int id) {
    struct Search {
      int id;
      HWND found;
    } search{id, nullptr};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM data) -> BOOL {
          auto& s = *reinterpret_cast<Search*>(data);
          if (GetDlgCtrlID(child) == s.id && IsWindowVisible(child)) {
            s.found = child;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

  // Answers every message box until the program ends: `answer` gives the button for each text. Returns the texts.
  std::vector<std::string> answerUntilEnd(const std::function<int(const std::string&)>& answer,
                                          std::chrono::milliseconds timeout = 60s) const {
    std::vector<std::string> texts;
    std::set<HWND> answered;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!ended() && std::chrono::steady_clock::now() < deadline) {
      for (HWND box : dialogs()) {
        if (!isMessageBox(box) || answered.count(box)) continue;
        const std::string text = windowText(GetDlgItem(box, 0xFFFF));
        texts.push_back(text);
        answered.insert(box);
        PostMessageA(box, WM_COMMAND, answer(text), 0);
      }
      std::this_thread::sleep_for(30ms);
    }
    return texts;
  }

 private:
  bool started_ = false;
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

void click(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

int yesOrOk(const std::string& text) { return text.back() == '?' ? IDYES : IDOK; }

std::string readRegistryString(const std::string& keyPath, const char* value) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "<no key>";
  char data[1024] = {};
  DWORD size = sizeof data;
  DWORD type = 0;
  const LONG result = RegQueryValueExA(key, value, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(key);
  return result == ERROR_SUCCESS ? std::string(data) : "<no value>";
}

// A folder of the test's own on drive C:, removed with everything in it.
class TestRoot {
 public:
  explicit TestRoot(const std::string& name) : path_("C:\\osk-setup-test-" + name + "-" + std::to_string(GetCurrentProcessId())) {
    removeTree(path_);
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~TestRoot() { removeTree(path_); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

const std::string kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OSK 2.0";

TEST(SetupUnderWine, LzFunctionsExpandWhatTheCompressorWrites) {
  TestRoot root("lz");
  std::mt19937 random(11);
  std::vector<std::uint8_t> data(300000);
  for (std::size_t i = 0; i < data.size(); ++i) {
    data[i] = static_cast<std::uint8_t>(i % 7 == 0 ? random() : "int x = 0;\r\n"[i % 12]);
  }
  const auto compressed = szddCompress(data, 't');
  ASSERT_LT(compressed.size(), data.size() / 2);
  const std::string path = root.path() + "\\data.da_";
  writeFile(path, std::string(compressed.begin(), compressed.end()));
  OFSTRUCT of{};
  const INT handle = LZOpenFileA(const_cast<char*>(path.c_str()), &of, OF_READ);
  ASSERT_GE(handle, 0);
  std::vector<std::uint8_t> expanded;
  char buffer[4096];
  INT n = 0;
  while ((n = LZRead(handle, buffer, sizeof buffer)) > 0) expanded.insert(expanded.end(), buffer, buffer + n);
  LZClose(handle);
  EXPECT_TRUE(expanded == data) << "expanded " << expanded.size() << " of " << data.size() << " bytes";
}

TEST(SetupUnderWine, InstallsRunsAndUninstallsLeavingTheMachineAsItWas) {
  const std::string dist = programFolder() + "..\\dist";
  ASSERT_TRUE(exists(dist + "\\OSKSETUP.exe") && exists(dist + "\\osksetup.da_")) << "no distribution in " << dist;
  TestRoot root("install");
  const std::string disk = root.path() + "\\disk";
  copyFolder(dist, disk);
  const std::string installDir = root.path() + "\\Apps\\OSK";
  const std::string group = "OSK Test " + std::to_string(GetCurrentProcessId());
  const auto before = machineState(root.path());

  {
    Program setup("\"" + disk + "\\OSKSETUP.exe\"", disk);
    ASSERT_TRUE(setup.started());
    HWND wizard = setup.waitForDialogWith(1000);
    ASSERT_NE(wizard, nullptr) << "no wizard";
    EXPECT_EQ(windowText(wizard), "Setup");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(wizard, 3))) << "Back is enabled on the first page";
    click(wizard, 1000);
    HWND directory = nullptr;
    ASSERT_TRUE(waitFor([&] { return (directory = Program::descendant(wizard, 1101)) != nullptr; }));
    EXPECT_EQ(windowText(directory), "C:\\OSK");
    EXPECT_NE(windowText(Program::descendant(wizard, 1104)).find("  K Bytes"), std::string::npos);
    // Browse lists the drives and the directories of the typed path's deepest existing folder.
    SendMessageA(directory, WM_SETTEXT, 0, reinterpret_cast<LPARAM>((root.path() + "\\disk\\new").c_str()));
    click(GetParent(directory), 1102);
    HWND browse = setup.waitForDialogWith(1502);
    ASSERT_NE(browse, nullptr) << "no directory selection";
    EXPECT_EQ(windowText(GetDlgItem(browse, 1501)), root.path() + "\\disk");
    EXPECT_GT(SendMessageA(GetDlgItem(browse, 1503), CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(SendMessageA(GetDlgItem(browse, 1502), LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>("..")),
              0);
    click(browse, IDOK);
    ASSERT_TRUE(waitFor([&] { return windowText(directory) == root.path() + "\\disk"; }));
    SendMessageA(directory, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(installDir.c_str()));
    click(wizard, 1000);
    HWND groupBox = nullptr;
    ASSERT_TRUE(waitFor([&] { return (groupBox = Program::descendant(wizard, 1201)) != nullptr; }));
    SendMessageA(groupBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(group.c_str()));
    click(wizard, 1000);
    HWND confirmation = nullptr;
    ASSERT_TRUE(waitFor([&] { return (confirmation = Program::descendant(wizard, 1301)) != nullptr; }));
    EXPECT_EQ(windowText(confirmation),
              "Install directory:\r\n    " + installDir + "\r\n\r\nProgram Group:\r\n    " + group);
    EXPECT_EQ(windowText(GetDlgItem(wizard, 1000)), "&Install");
    click(wizard, 1000);
    const auto texts = setup.answerUntilEnd(yesOrOk);
    if (!setup.ended()) screenshot("osk-setup-install");
    ASSERT_TRUE(setup.ended()) << "the installer did not end";
    const std::vector<std::string> expected = {"Create directory " + root.path() + "\\Apps ?",
                                               "Create directory " + installDir + " ?", "Installation completed."};
    EXPECT_EQ(texts, expected);
  }

  // The program group and its items exist in the Start menu.
  const std::string installed = difference(before, machineState(root.path()));
  EXPECT_NE(installed.find(group + "\\OSK.lnk"), std::string::npos) << installed;
  EXPECT_NE(installed.find("HKLM\\Software\\OSK Software\\OSK\\2.0"), std::string::npos) << installed;
  for (const char* name : {"OSK32.exe", "OSKECD32.dll", "OSKOCS32.dll", "OSKECD32.stx", "welcome.txt", "uninstal.dat"}) {
    EXPECT_TRUE(exists(installDir + "\\" + name)) << name;
  }
  const std::string log = readFile(installDir + "\\uninstal.dat");
  const std::string dirs = "DELDIR\r\n" + root.path() + "\\Apps\r\nDELDIR\r\n" + installDir + "\r\n";
  EXPECT_NE(log.find(dirs), std::string::npos) << log;
  EXPECT_EQ(log.find("OSKUNINS"), std::string::npos) << "the uninstaller is logged";
  const std::string uninstallString = readRegistryString(kUninstallKey, "UninstallString");
  EXPECT_EQ(uninstallString, windowsDirectory() + "\\OSKUNINS.EXE " + installDir + "\\uninstal.dat");
  EXPECT_EQ(readRegistryString("Software\\OSK Software\\OSK\\2.0", "InstallDir"), installDir);

  {
    // The installed editor starts from its folder with its libraries and syntax file beside it, and opens a file.
    const std::string notes = root.path() + "\\notes.txt";
    writeFile(notes, "first line\r\nsecond line\r\n");
    Program editor("\"" + installDir + "\\OSK32.exe\" \"" + notes + "\"", installDir);
    ASSERT_TRUE(editor.started());
    HWND frame = nullptr;
    HWND view = nullptr;
    ASSERT_TRUE(waitFor([&] {
      frame = FindWindowA("OSK32", nullptr);
      HWND client = frame ? FindWindowExA(frame, nullptr, "MDICLIENT", nullptr) : nullptr;
      HWND document = client ? FindWindowExA(client, nullptr, "WCHILD", nullptr) : nullptr;
      view = document ? FindWindowExA(document, nullptr, "CC_EDCLASSOSK2HANDSHAKE", nullptr) : nullptr;
      return view != nullptr;
    })) << "the installed editor shows no document";
    EXPECT_EQ(SendMessageA(view, 1087, 0, 0), 2);   // the line count
    // A character typed into the document, and the change saved when the editor is closed.
    PostMessageA(view, WM_CHAR, 'X', 0);
    EXPECT_TRUE(waitFor([&] { return SendMessageA(view, 1080, 0, 0) == 0; })) << "the document was not changed";
    PostMessageA(frame, WM_CLOSE, 0, 0);
    const auto texts = editor.answerUntilEnd(yesOrOk, 20s);
    EXPECT_TRUE(editor.ended());
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts.front(), "Save changes to file " + notes + " ?");
    EXPECT_EQ(readFile(notes), "Xfirst line\r\nsecond line\r\n");
    DeleteFileA(notes.c_str());
  }

  {
    Program uninstall(uninstallString, root.path());
    ASSERT_TRUE(uninstall.started());
    HWND dialog = uninstall.waitForDialogWith(1100);
    if (!dialog) screenshot("osk-setup-uninstall");
    ASSERT_NE(dialog, nullptr) << "no uninstall dialog";
    click(dialog, IDOK);
    const auto texts = uninstall.answerUntilEnd(yesOrOk);
    EXPECT_TRUE(uninstall.ended());
    EXPECT_EQ(texts, std::vector<std::string>{"Uninstall completed."});
  }
  {
    Program again(uninstallString, root.path());
    const auto texts = again.answerUntilEnd(yesOrOk, 20s);
    EXPECT_EQ(texts, std::vector<std::string>{"Uninstall file not present"});
  }
  // The uninstaller itself stays in the Windows directory, as the installer never logs it.
  DeleteFileA((windowsDirectory() + "\\OSKUNINS.EXE").c_str());
  const auto after = machineState(root.path());
  EXPECT_EQ(difference(before, after), "");
}

ArchiveList hostileList() {
  ArchiveList list;
  list.header = {"OSK", "Editor", "OSK Software", "2.0", "", 0, 0, 0, "C:\\OSK", "OSK"};
  list.files = {{{Destination::InstallDirectory, "GOOD.TXT", 0}, ""}, {{Destination::InstallDirectory, "BAD.TXT", 0}, ""}};
  return list;
}

std::vector<std::uint8_t> hostileArchive(const std::function<void(std::vector<std::uint8_t>&)>& damage) {
  auto archive = buildArchive(hostileList(), {std::vector<std::uint8_t>(100, 'g'), std::vector<std::uint8_t>(100, 'b')});
  damage(archive);
  return szddCompress(archive, 't');
}

void putInt32(std::vector<std::uint8_t>& bytes, std::size_t at, std::int32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i));
}

TEST(SetupUnderWine, HostileArchivesAreRefusedBeforeAnythingIsWritten) {
  TestRoot root("hostile-archive");
  const std::size_t second = kHeaderSize + kTagSize + kFileBodySize + 100 + kTagSize;   // the second file's body
  const std::vector<std::pair<const char*, std::function<void(std::vector<std::uint8_t>&)>>> cases = {
      {"traversal", [&](auto& a) { std::memcpy(a.data() + second + 2, "..\\EVIL.TXT", 12); }},
      {"absolute", [&](auto& a) { std::memcpy(a.data() + second + 2, "C:EVIL.TXT", 11); }},
      {"negative length", [&](auto& a) { putInt32(a, second + 15, -100); }},
      {"truncated", [&](auto& a) { a.resize(a.size() - 50); }},
      {"wrong version", [&](auto& a) { putInt32(a, 4, 0x200); }},
  };
  const auto before = machineState(root.path());
  for (const auto& [name, damage] : cases) {
    const std::string disk = root.path() + "\\disk";
    CreateDirectoryA(disk.c_str(), nullptr);
    CopyFileA((programFolder() + "..\\dist\\OSKSETUP.exe").c_str(), (disk + "\\OSKSETUP.exe").c_str(), FALSE);
    const auto archive = hostileArchive(damage);
    writeFile(disk + "\\osksetup.da_", std::string(archive.begin(), archive.end()));
    Program setup("\"" + disk + "\\OSKSETUP.exe\"", disk);
    const auto texts = setup.answerUntilEnd(yesOrOk, 20s);
    EXPECT_EQ(texts, std::vector<std::string>{"Missing or corrupt osksetup.da_ file"}) << name;
    removeTree(disk);
    EXPECT_EQ(difference(before, machineState(root.path())), "") << name;
  }
}

TEST(SetupUnderWine, HostileLogTouchesNothingOutsideTheInstallation) {
  TestRoot root("hostile-log");
  const std::string outside = root.path() + "\\outside";
  const std::string install = root.path() + "\\install";
  CreateDirectoryA(outside.c_str(), nullptr);
  CreateDirectoryA(install.c_str(), nullptr);
  writeFile(outside + "\\keep.txt", "keep");
  writeFile(install + "\\mine.txt", "installed");
  HKEY foreign = nullptr;
  RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\OskSetupTestForeign", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &foreign,
                  nullptr);
  RegCloseKey(foreign);

  std::string log = "PDNAME\nOSK 2.0\nCPDISP\nEditor\n";
  log += "DELFIL\n" + outside + "\\keep.txt\n";
  log += "DELFIL\n" + install + "\\..\\outside\\keep.txt\n";
  log += "DELDIR\n" + outside + "\n";
  log += "DELRKY\nHKEY_CURRENT_USER\\Software\\OskSetupTestForeign\n";
  log += "DELRKY\nHKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\n";
  log += "PADDNG\n" + std::string(4700, 'p') + "\n";
  // Past the first 2048 bytes: read only when the log is taken whole.
  log += "DELFIL\n" + install + "\\mine.txt\n";
  log += "DELDIR\n";   // a dangling keyword without its argument
  ASSERT_GT(log.size(), 5000u);
  writeFile(install + "\\uninstal.dat", log);

  Program uninstall("\"" + programFolder() + "..\\dist-stage\\OSKUNINST.exe\" " + install + "\\uninstal.dat", root.path());
  HWND dialog = uninstall.waitForDialogWith(1100);
  ASSERT_NE(dialog, nullptr);
  click(dialog, IDOK);
  const auto texts = uninstall.answerUntilEnd(yesOrOk, 30s);
  const std::vector<std::string> expected = {"Failed to remove directory " + outside,
                                             "Failed to remove file " + install + "\\..\\outside\\keep.txt",
                                             "Failed to remove file " + outside + "\\keep.txt", "Uninstall completed."};
  EXPECT_EQ(texts, expected);
  EXPECT_EQ(readFile(outside + "\\keep.txt"), "keep");
  EXPECT_FALSE(exists(install + "\\mine.txt"));
  EXPECT_FALSE(exists(install + "\\uninstal.dat"));
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\OskSetupTestForeign", 0, KEY_READ, &foreign), ERROR_SUCCESS);
  RegCloseKey(foreign);
  HKEY windowsKey = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows", 0, KEY_READ, &windowsKey), ERROR_SUCCESS);
  RegCloseKey(windowsKey);
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\OskSetupTestForeign");

  // A file that is not a log, named by mistake, is neither played back nor deleted.
  Program mistaken("\"" + programFolder() + "..\\dist-stage\\OSKUNINST.exe\" " + outside + "\\keep.txt", root.path());
  EXPECT_EQ(mistaken.answerUntilEnd(yesOrOk, 20s), std::vector<std::string>{"Uninstall file not present"});
  EXPECT_EQ(readFile(outside + "\\keep.txt"), "keep");
}

}  // namespace

namespace {

TEST(SetupUnderWine, CancelDuringTheCopyTakesBackTheRunAndKeepsTheUsersWindowsFiles) {
  TestRoot root("cancel");
  const std::string disk = root.path() + "\\disk";
  CreateDirectoryA(disk.c_str(), nullptr);
  CopyFileA((programFolder() + "..\\dist\\OSKSETUP.exe").c_str(), (disk + "\\OSKSETUP.exe").c_str(), FALSE);
  // A file of the Windows directory that another program owns, and a file big enough to cancel while it copies.
  const std::string shared = windowsDirectory() + "\\OSKTST" + std::to_string(GetCurrentProcessId() % 100) + ".INI";
  writeFile(shared, "[owned]\r\nby=another program\r\n");
  ArchiveList list;
  list.header = {"OSK", "Editor", "OSK Software", "2.0", "", 0, 0, 0, "C:\\OSK", "OSK"};
  list.files = {{{Destination::WindowsDirectory, shared.substr(shared.find_last_of('\\') + 1), 0}, ""},
                {{Destination::InstallDirectory, "BIG.BIN", 0}, ""}};
  std::mt19937 random(5);
  std::vector<std::uint8_t> big(24 * 1024 * 1024);
  for (auto& b : big) b = static_cast<std::uint8_t>(random());
  const auto archive = szddCompress(buildArchive(list, {std::vector<std::uint8_t>(50, 'n'), big}), 't');
  writeFile(disk + "\\osksetup.da_", std::string(archive.begin(), archive.end()));
  const std::string installDir = root.path() + "\\OSK";
  const auto before = machineState(root.path());

  Program setup("\"" + disk + "\\OSKSETUP.exe\"", disk);
  HWND wizard = setup.waitForDialogWith(1000);
  ASSERT_NE(wizard, nullptr);
  click(wizard, 1000);
  HWND directory = nullptr;
  ASSERT_TRUE(waitFor([&] { return (directory = Program::descendant(wizard, 1101)) != nullptr; }));
  SendMessageA(directory, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(installDir.c_str()));
  click(wizard, 1000);
  ASSERT_TRUE(waitFor([&] { return Program::descendant(wizard, 1201) != nullptr; }));
  click(wizard, 1000);
  ASSERT_TRUE(waitFor([&] { return Program::descendant(wizard, 1301) != nullptr; }));
  click(wizard, 1000);
  bool cancelled = false;
  std::vector<std::string> texts;
  std::set<HWND> answered;
  ASSERT_TRUE(waitFor(
      [&] {
        for (HWND box : setup.dialogs()) {
          if (!Program::isMessageBox(box) || answered.count(box)) continue;
          const std::string text = windowText(GetDlgItem(box, 0xFFFF));
          texts.push_back(text);
          answered.insert(box);
          PostMessageA(box, WM_COMMAND, text.find("Replace it?") != std::string::npos ? IDNO : yesOrOk(text), 0);
        }
        HWND current = Program::descendant(wizard, 1401);
        if (!cancelled && current && windowText(current).ends_with("BIG.BIN")) {
          click(wizard, IDCANCEL);
          cancelled = true;
        }
        return setup.ended();
      },
      60s));
  ASSERT_TRUE(cancelled) << "the copy ended before Cancel";
  const std::vector<std::string> expected = {"Create directory " + installDir + " ?",
                                             "The file " + shared + " already exists. Replace it?",
                                             "Setup is incomplete. Exit setup?"};
  EXPECT_EQ(texts, expected);
  EXPECT_EQ(readFile(shared), "[owned]\r\nby=another program\r\n");
  EXPECT_EQ(difference(before, machineState(root.path())), "");
  DeleteFileA(shared.c_str());
}

}  // namespace
