#include "services/win32/config_win32.h"

#include <cstring>
#include <vector>

#include "services/config/config_writer.h"
#include "services/ocs_config_api.h"

namespace osk::win32 {
namespace {

void showError(HWND owner, const char* text) {
  MessageBeep(MB_ICONHAND);
  MessageBoxA(owner, text, "OSK", MB_OK | MB_ICONHAND);
}

std::unique_ptr<CConfiguration> finishLoad(HWND owner, ConfigLoadResult result) {
  if (result.status != ConfigLoadStatus::kOk) {
    if (loadFailureIsReported(result.status)) showError(owner, "Failed to load configuration.");
    return nullptr;
  }
  if (result.unresolved > 0) showError(owner, "One or more commands in this configuration is invalid.");
  return std::move(result.config);
}

}  // namespace

CommandProvider frameCommandProvider(HWND frame) {
  return [frame](int32_t index, CommandDetails& out) {
    if (!frame) return false;
    OcsCommandDetails record{};
    if (SendMessageA(frame, OCS_MSG_COMMAND_DETAILS, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&record)) ==
        0)
      return false;
    out.name.assign(record.name, strnlen(record.name, sizeof record.name));
    out.conditionWord = record.conditionWord;
    out.enablingTest = reinterpret_cast<std::uintptr_t>(record.enablingTest);
    return true;
  };
}

std::string configurationPath(int inWindowsDirectory, const char* name) {
  if (!name) return {};
  char dir[MAX_PATH + 1] = {};
  if (inWindowsDirectory) {
    const UINT n = GetWindowsDirectoryA(dir, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return {};
  } else {
    const DWORD n = GetModuleFileNameA(nullptr, dir, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return {};
    char* slash = std::strrchr(dir, '\\');
    if (slash) *slash = '\0';
  }
  std::string path = std::string(dir) + "\\" + name;
  // The path buffer of the file functions holds 260 characters and the terminator.
  return path.size() < MAX_PATH ? path : std::string();
}

std::unique_ptr<CConfiguration> loadConfigurationFile(void* instance, HWND owner, const std::string& path,
                                                      std::span<const CommandProvider> providers) {
  if (path.empty()) return nullptr;
  std::vector<uint8_t> bytes;
  ConfigLoadResult result;
  result.status = readConfigurationFile(path, bytes);
  if (result.status == ConfigLoadStatus::kOk)
    result = loadConfiguration(bytes, providers, instance, reinterpret_cast<HWND__*>(owner));
  return finishLoad(owner, std::move(result));
}

std::unique_ptr<CConfiguration> loadConfigurationResource(void* instance, HWND owner, HMODULE module, int id,
                                                          std::span<const CommandProvider> providers) {
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), "CONFIGFILE");
  if (!found) return nullptr;
  const DWORD size = SizeofResource(module, found);
  HGLOBAL handle = LoadResource(module, found);
  const void* data = handle ? LockResource(handle) : nullptr;
  if (!data || size == 0) return nullptr;
  return finishLoad(owner, loadConfiguration(std::span(static_cast<const uint8_t*>(data), size), providers, instance,
                                             reinterpret_cast<HWND__*>(owner)));
}

bool saveConfiguration(HWND owner, const CConfiguration& cfg, const std::string& path) {
  std::vector<uint8_t> bytes;
  bool ok = serializeConfiguration(cfg, bytes) == ConfigSaveStatus::kOk;
  if (ok) {
    // A temporary file beside the target replaces it only once it is complete.
    const std::string temp = path + ".new";
    HANDLE f = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ok = f != INVALID_HANDLE_VALUE;
    if (ok) {
      DWORD written = 0;
      ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
      ok = CloseHandle(f) && ok;
      ok = ok && MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
      if (!ok) DeleteFileA(temp.c_str());
    }
  }
  if (!ok) showError(owner, "Failed to save configuration.");
  return ok;
}

int systemKeyChar(int virtualKey) {
  const UINT ch = MapVirtualKeyA(static_cast<UINT>(virtualKey), MAPVK_VK_TO_CHAR);
  // The top bit marks a dead key, which produces no character of its own.
  return (ch & 0x80000000u) ? 0 : static_cast<int>(ch & 0xFFFF);
}

bool isConfigurationFile(const std::string& path) { return osk::isConfigurationFile(path); }

}  // namespace osk::win32

extern "C" {

int32_t OSK_CALL OCS_MapMouseMessageToKeyEvent(uint32_t message) { return osk::mouseEventFromMessage(message); }
int32_t OSK_CALL MapMouseMessageToKeyEvent(uint32_t message) { return osk::mouseEventFromMessage(message); }

}  // extern "C"
