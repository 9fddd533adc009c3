// The history store's entry points and the combo box it fills.
#include <windows.h>

#include <cstring>
#include <new>

#include "services/history_store.h"
#include "services/ocs_config_api.h"
#include "services/win32/profile_win32.h"

struct OcsHistoryStore {
  osk::CHistoryStore store;
};

namespace {

uint16_t historyIdOf(int32_t id) { return static_cast<uint16_t>(id); }

}  // namespace

extern "C" {

HOCSHISTORY OSK_CALL OCS_CreateHistoryStore(void) { return new (std::nothrow) OcsHistoryStore; }

void OSK_CALL OCS_DestroyHistoryStore(HOCSHISTORY store) { delete store; }

void OSK_CALL OCS_AddHistoryString(HOCSHISTORY store, const char* text, int32_t historyId) {
  if (!store || !text) return;
  store->store.add(text, historyIdOf(historyId));
}

void OSK_CALL OCS_FillCombo(HOCSHISTORY store, OskWindow combo, int32_t historyId) {
  if (!store || !combo) return;
  HWND hwnd = reinterpret_cast<HWND>(combo);
  const int length = GetWindowTextLengthA(hwnd);
  std::string typed(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
  GetWindowTextA(hwnd, typed.data(), static_cast<int>(typed.size()));
  typed.resize(std::strlen(typed.c_str()));
  SendMessageA(hwnd, CB_RESETCONTENT, 0, 0);
  const auto strings = store->store.strings(historyIdOf(historyId));
  for (const std::string& s : strings) SendMessageA(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
  SendMessageA(hwnd, CB_SETEXTENDEDUI, 1, 0);
  if (!strings.empty())
    SendMessageA(hwnd, CB_SETCURSEL, 0, 0);
  else
    SetWindowTextA(hwnd, typed.c_str());
}

void OSK_CALL OCS_GetTopString(HOCSHISTORY store, char* buffer, int32_t size, int32_t historyId) {
  if (!store || !buffer || size < 0) return;
  const auto top = store->store.top(historyIdOf(historyId));
  if (!top) return;
  const size_t n = top->size() < static_cast<size_t>(size) ? top->size() : static_cast<size_t>(size);
  std::memcpy(buffer, top->data(), n);
  buffer[n] = '\0';
}

void OSK_CALL OCS_LoadHistorySettings(HOCSHISTORY store, const char* settingsPath) {
  if (!store || !settingsPath) return;
  osk::win32::ProfileSettings settings(settingsPath);
  store->store.load(settings);
}

void OSK_CALL OCS_SaveHistorySettings(HOCSHISTORY store, const char* settingsPath) {
  if (!store || !settingsPath) return;
  osk::win32::ProfileSettings settings(settingsPath);
  store->store.save(settings);
}

}  // extern "C"
