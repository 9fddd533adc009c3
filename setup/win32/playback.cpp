#include "setup/win32/playback.h"

#include <shlobj.h>

#include "setup/install_rules.h"

namespace osk::setup {

namespace {

HKEY rootKey(const std::string& name) {
  if (name == "HKEY_CLASSES_ROOT") return HKEY_CLASSES_ROOT;
  if (name == "HKEY_CURRENT_USER") return HKEY_CURRENT_USER;
  if (name == "HKEY_LOCAL_MACHINE") return HKEY_LOCAL_MACHINE;
  if (name == "HKEY_USERS") return HKEY_USERS;
  return nullptr;
}

// Entries of a program group's folder in the Start menu, when the program manager cannot list the group itself;
// -1 when no such folder is found.
int groupFolderEntries(const std::string& group) {
  int found = -1;
  for (int folder : {CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS}) {
    char path[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, path, folder, FALSE)) continue;
    const std::string pattern = std::string(path) + "\\" + group + "\\*";
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(pattern.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) continue;
    if (found < 0) found = 0;
    do {
      const std::string name = data.cFileName;
      if (name != "." && name != "..") ++found;
    } while (FindNextFileA(search, &data));
    FindClose(search);
  }
  return found;
}

void deleteGroupIfEmpty(const std::string& group, Progman& progman) {
  progman.execute(showGroupCommand(group, 1));
  if (const auto reply = progman.request(group, 5000)) {
    if (uninstall::groupItemCount(*reply) == 0) progman.execute(deleteGroupCommand(group));
    return;
  }
  // A group whose contents cannot be read at all is kept: it may hold the user's own items.
  if (groupFolderEntries(group) == 0) progman.execute(deleteGroupCommand(group));
}

void deleteKey(const std::string& parentPath, const std::string& name) {
  HKEY parent = openRegistryPath(parentPath, KEY_ALL_ACCESS);
  if (parent == nullptr) return;
  HKEY key = nullptr;
  if (RegOpenKeyExA(parent, name.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
    DWORD subkeys = 0;
    const bool leaf = RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr,
                                       nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
                      subkeys == 0;
    RegCloseKey(key);
    // Only a key without subkeys goes: some systems delete a whole tree, and keys below are not ours to judge.
    if (leaf) RegDeleteKeyA(parent, name.c_str());
  }
  RegCloseKey(parent);
}

}  // namespace

HKEY openRegistryPath(const std::string& path, REGSAM access) {
  const std::size_t first = path.find('\\');
  HKEY current = rootKey(path.substr(0, first));
  if (current == nullptr) return nullptr;
  if (first == std::string::npos) {
    HKEY copy = nullptr;
    return RegOpenKeyExA(current, nullptr, 0, access, &copy) == ERROR_SUCCESS ? copy : nullptr;
  }
  HKEY key = nullptr;
  return RegOpenKeyExA(current, path.substr(first + 1).c_str(), 0, access, &key) == ERROR_SUCCESS ? key : nullptr;
}

void playBack(const std::vector<uninstall::UninstallStep>& steps, Progman& progman, const PlaybackReport& report) {
  using Kind = uninstall::UninstallStep::Kind;
  for (const auto& step : steps) {
    switch (step.kind) {
      case Kind::DeleteFile:
        if (!DeleteFileA(step.path.c_str())) {
          report(uninstall::pathMessage("Failed to remove file %s", step.path));
        } else {
          for (const std::string& companion : uninstall::helpCompanions(step.path)) DeleteFileA(companion.c_str());
        }
        break;
      case Kind::RefusedFile:
        report(uninstall::pathMessage("Failed to remove file %s", step.path));
        break;
      case Kind::DeleteDirectory:
        if (!RemoveDirectoryA(step.path.c_str())) report(uninstall::pathMessage("Failed to remove directory %s", step.path));
        break;
      case Kind::RefusedDirectory:
        report(uninstall::pathMessage("Failed to remove directory %s", step.path));
        break;
      case Kind::DeleteGroup:
        deleteGroupIfEmpty(step.path, progman);
        break;
      case Kind::DeleteItem:
        progman.execute(showGroupCommand(step.path, 1));
        progman.execute(deleteItemCommand(step.name));
        break;
      case Kind::DeleteKey:
        deleteKey(step.path, step.name);
        break;
    }
  }
}

}  // namespace osk::setup
