#include "setup/win32/progman.h"

namespace osk::setup {

namespace {

HDDEDATA CALLBACK ddeCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) { return nullptr; }

}  // namespace

void pumpMessages(int limit) {
  MSG msg;
  for (int i = 0; i < limit && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

bool Progman::open() {
  if (DdeInitializeA(&instance_, ddeCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) {
    instance_ = 0;
    return false;
  }
  service_ = DdeCreateStringHandleA(instance_, "Progman", CP_WINANSI);
  conversation_ = DdeConnect(instance_, service_, service_, nullptr);
  if (conversation_ == nullptr) {
    close();
    return false;
  }
  return true;
}

void Progman::close() {
  if (conversation_) DdeDisconnect(conversation_);
  conversation_ = nullptr;
  if (service_) DdeFreeStringHandle(instance_, service_);
  service_ = nullptr;
  if (instance_) DdeUninitialize(instance_);
  instance_ = 0;
}

bool Progman::execute(const std::string& command, DWORD timeout) {
  if (!conversation_) return false;
  DWORD result = 0;
  HDDEDATA data = DdeClientTransaction(reinterpret_cast<LPBYTE>(const_cast<char*>(command.c_str())),
                                       static_cast<DWORD>(command.size() + 1), conversation_, nullptr, 0,
                                       XTYP_EXECUTE, timeout, &result);
  pumpMessages(50);
  return data != nullptr;
}

std::optional<std::string> Progman::request(const std::string& item, DWORD timeout) {
  if (!conversation_) return std::nullopt;
  HSZ itemName = DdeCreateStringHandleA(instance_, item.c_str(), CP_WINANSI);
  DWORD result = 0;
  HDDEDATA data = DdeClientTransaction(nullptr, 0, conversation_, itemName, CF_TEXT, XTYP_REQUEST, timeout, &result);
  DdeFreeStringHandle(instance_, itemName);
  pumpMessages(50);
  if (data == nullptr) return std::nullopt;
  std::string text(DdeGetData(data, nullptr, 0, 0), '\0');
  if (!text.empty()) DdeGetData(data, reinterpret_cast<LPBYTE>(text.data()), static_cast<DWORD>(text.size()), 0);
  DdeFreeDataHandle(data);
  text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
  return text;
}

}  // namespace osk::setup
