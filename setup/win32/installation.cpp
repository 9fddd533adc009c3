// The installation itself: directories, files, program items, registry keys and the uninstall log, each change
// logged as it is made.
#include <cstdio>
#include <optional>
#include <vector>

#include "setup/install_rules.h"
#include "setup/uninstall_log.h"
#include "setup/win32/gauge.h"
#include "setup/win32/lz_archive.h"
#include "setup/win32/playback.h"
#include "setup/win32/setup_ids.h"
#include "setup/win32/setup_state.h"

namespace osk::setup {

namespace {

constexpr std::size_t kChunk = 1024;

std::string windowsDirectory() {
  char path[MAX_PATH] = {};
  GetWindowsDirectoryA(path, MAX_PATH);
  return path;
}

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class Installation {
 public:
  explicit Installation(SetupState& state)
      : state_(state), owner_(state.wizard), header_(state.catalogue.header) {}

  bool run() {
    log_.add(kProductName, state_.productKey);
    log_.add(kDisplayLine, header_.displayLine);
    if (!makeDirectory()) return false;
    if (!copyFiles()) return false;
    if (!addProgramItems()) return false;
    if (!writeRegistry()) return false;
    return writeLog();
  }

  // Takes back what the run logged, last first, without messages: the user has already been told what failed.
  void takeBack() {
    const auto steps = uninstall::planUninstall(log_.records(), state_.directory, windowsDirectory());
    playBack(steps, state_.progman, [](const std::string&) {});
  }

 private:
  bool makeDirectory() {
    const auto steps = installDirectorySteps(state_.directory);
    bool good = steps.has_value();
    if (good) {
      for (const std::string& path : *steps) {
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
          if (!askSetup(owner_, "Create directory " + path + " ?")) return false;
          if (!CreateDirectoryA(path.c_str(), nullptr)) {
            showSetupError(owner_, "Cannot create directory " + path);
            good = false;
            break;
          }
          log_.add(kDeleteDirectory, path);
        } else if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
          showSetupError(owner_, path + " is not a directory.");
          good = false;
          break;
        }
      }
    }
    if (!good) showSetupError(owner_, "Invalid installation directory");
    return good;
  }

  HWND control(int id) const { return GetDlgItem(state_.page, id); }

  bool copyFiles() {
    if (!archive_.open(state_.archivePath)) {
      showSetupError(owner_, kCorruptArchive);
      return false;
    }
    reader_.emplace(archive_);
    ArchiveReader& reader = *reader_;
    if (!reader.readHeader()) {
      showSetupError(owner_, kCorruptArchive);
      return false;
    }
    HWND gauge = control(IDC_FILES_GAUGE);
    const std::uint64_t range =
        static_cast<std::uint64_t>(header_.fileCount) * 1000 + static_cast<std::uint64_t>(header_.totalSize);
    setGaugeRange(gauge, range);
    std::uint64_t done = 0;
    const std::string windows = windowsDirectory();
    for (std::int32_t i = 0; i < header_.fileCount; ++i) {
      const auto entry = reader.nextFile();
      if (!entry) {
        showSetupError(owner_, kCorruptArchive);
        return false;
      }
      const bool toWindows = entry->destination != Destination::InstallDirectory;
      const std::string target = (toWindows ? windows : state_.directory) + "\\" + entry->name;
      SetWindowTextA(control(IDC_CURRENT_FILE), target.c_str());
      const bool existed = exists(target);
      bool keep = true;
      // A file of the Windows directory that is already there may belong to another program: it is replaced only
      // when the user agrees, and then never logged, so that uninstalling cannot take it away.
      if (entry->destination == Destination::WindowsDirectory && existed) {
        keep = askSetup(owner_, "The file " + target + " already exists. Replace it?");
      }
      if (!copyOne(reader, target, keep, gauge, done)) return false;
      done += 1000;
      setGaugePosition(gauge, done);
      if (!keep) continue;
      if (entry->destination == Destination::Uninstaller) {
        uninstallerPath_ = target;
      } else if (!(entry->destination == Destination::WindowsDirectory && existed)) {
        log_.add(kDeleteFile, target);
      }
    }
    return true;
  }

  // Copies the current file's data to a scratch file beside the target and puts it in place only when whole, so a
  // file that was there before survives a failed or cancelled copy. With keep false the data is only passed over.
  bool copyOne(ArchiveReader& reader, const std::string& target, bool keep, HWND gauge, std::uint64_t& done) {
    const std::string folder = target.substr(0, target.find_last_of('\\'));
    char scratch[MAX_PATH] = {};
    HANDLE file = INVALID_HANDLE_VALUE;
    if (keep) {
      if (GetTempFileNameA(folder.c_str(), "osk", 0, scratch) != 0) {
        file = CreateFileA(scratch, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
      }
      if (file == INVALID_HANDLE_VALUE) {
        if (scratch[0] != '\0') DeleteFileA(scratch);
        showSetupError(owner_, "Cannot create target file - " + target);
        return false;
      }
    }
    auto abandon = [&](const char* message) {
      if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        DeleteFileA(scratch);
      }
      if (message) showSetupError(owner_, message);
      return false;
    };
    std::uint8_t buffer[kChunk];
    for (;;) {
      const std::size_t n = reader.readData(buffer, sizeof buffer);
      if (n == 0) {
        if (reader.failed()) return abandon("Error reading from osksetup.da_ file");
        break;
      }
      DWORD written = 0;
      if (file != INVALID_HANDLE_VALUE &&
          (!WriteFile(file, buffer, static_cast<DWORD>(n), &written, nullptr) || written != n)) {
        return abandon("Error writing target file");
      }
      done += n;
      setGaugePosition(gauge, done);
      pumpMessages(10);
      if (state_.cancelled) return abandon(nullptr);
    }
    if (file == INVALID_HANDLE_VALUE) return true;
    const bool closed = CloseHandle(file) != 0;
    if (!closed || !MoveFileExA(scratch, target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
      DeleteFileA(scratch);
      showSetupError(owner_, "Cannot create target file - " + target);
      return false;
    }
    return true;
  }

  bool addProgramItems() {
    HWND gauge = control(IDC_ITEMS_GAUGE);
    const std::uint64_t range = static_cast<std::uint64_t>(header_.programCount) + 1;
    setGaugeRange(gauge, range);
    const std::string& group = state_.group;
    state_.progman.execute(createGroupCommand(group));
    state_.progman.execute(showGroupCommand(group, 1));
    log_.add(kDeleteGroup, group);
    std::uint64_t done = 1;
    setGaugePosition(gauge, done);
    for (std::int32_t i = 0; i < header_.programCount; ++i) {
      const auto program = reader_->nextProgram();
      if (!program) {
        showSetupError(owner_, kCorruptArchive);
        return false;
      }
      state_.progman.execute(addItemCommand(programCommandLine(state_.directory, program->command), program->title));
      log_.addItem(group, program->title);
      setGaugePosition(gauge, ++done);
      if (state_.cancelled) return false;
    }
    if (!uninstallerPath_.empty()) {
      const std::string title = "Uninstall " + header_.productName;
      state_.progman.execute(addItemCommand(uninstallCommandLine(uninstallerPath_, state_.directory), title));
      log_.addItem(group, title);
    }
    return !state_.cancelled;
  }

  // Creates each component of a path below its root in turn, with full access. The last key is always logged, and
  // so is every key ending at or after `loggedFrom` that did not exist before, outermost first, so that
  // uninstalling leaves no empty key of ours behind.
  HKEY createPath(const std::string& path, std::size_t loggedFrom) {
    const std::size_t first = path.find('\\');
    if (path.substr(0, first) != "HKEY_LOCAL_MACHINE") return nullptr;
    HKEY current = HKEY_LOCAL_MACHINE;
    std::size_t start = first + 1;
    while (start <= path.size()) {
      std::size_t end = path.find('\\', start);
      if (end == std::string::npos) end = path.size();
      HKEY next = nullptr;
      DWORD disposition = 0;
      const LONG result = RegCreateKeyExA(current, path.substr(start, end - start).c_str(), 0, nullptr,
                                          REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &next, &disposition);
      if (current != HKEY_LOCAL_MACHINE) RegCloseKey(current);
      if (result != ERROR_SUCCESS) return nullptr;
      current = next;
      if (end >= loggedFrom && (end == path.size() || disposition == REG_CREATED_NEW_KEY)) {
        log_.addRegistryKey(path.substr(0, start - 1), path.substr(start, end - start));
      }
      start = end + 1;
    }
    return current;
  }

  static bool setString(HKEY key, const char* name, const std::string& value) {
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
  }

  bool writeRegistry() {
    HWND gauge = control(IDC_REGISTRY_GAUGE);
    setGaugeRange(gauge, 6);
    const std::string uninstallPath = std::string(kUninstallRoot) + "\\" + state_.productKey;
    // Only the product's own key is logged under the system's uninstall key.
    HKEY uninstallKey = createPath(uninstallPath, uninstallPath.size());
    bool good = uninstallKey != nullptr;
    setGaugePosition(gauge, 1);
    if (good) {
      const std::string command =
          uninstallerPath_.empty() ? std::string() : uninstallCommandLine(uninstallerPath_, state_.directory);
      good = setString(uninstallKey, "DisplayName", header_.productName) &&
             setString(uninstallKey, "UninstallString", command);
      RegCloseKey(uninstallKey);
    }
    setGaugePosition(gauge, 3);
    if (good) {
      const std::string software = std::string(kSoftwareRoot) + "\\";
      const std::string versionPath = software + header_.companyKey + "\\" + header_.productName + "\\" + versionKey(header_);
      HKEY versionKeyHandle = createPath(versionPath, software.size());
      good = versionKeyHandle != nullptr;
      setGaugePosition(gauge, 4);
      if (good) {
        good = setString(versionKeyHandle, "InstallDir", state_.directory);
        RegCloseKey(versionKeyHandle);
      }
    }
    setGaugePosition(gauge, 6);
    if (!good) showSetupError(owner_, "Error writing to Registry");
    return good;
  }

  bool writeLog() {
    const std::string path = state_.directory + "\\" + kLogFileName;
    const std::string text = log_.text();
    FILE* file = std::fopen(path.c_str(), "w");
    bool good = file != nullptr;
    if (good) {
      good = std::fwrite(text.data(), 1, text.size(), file) == text.size();
      good = std::fclose(file) == 0 && good;
      if (!good) DeleteFileA(path.c_str());
    }
    if (!good) showSetupError(owner_, "Unable to create unistall files");
    return good;
  }

  SetupState& state_;
  HWND owner_;
  const ArchiveHeader& header_;
  UninstallLogWriter log_;
  LzArchiveSource archive_;
  std::optional<ArchiveReader> reader_;
  std::string uninstallerPath_;
};

}  // namespace

bool runInstallation(SetupState& state) {
  Installation installation(state);
  if (installation.run()) return true;
  installation.takeBack();
  return false;
}

}  // namespace osk::setup
