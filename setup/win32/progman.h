// The conversation with the program manager over DDE (service and topic "Progman"): commands and requests as text.
#pragma once

#include <windows.h>

#include <ddeml.h>

#include <optional>
#include <string>

namespace osk::setup {

class Progman {
 public:
  Progman() = default;
  ~Progman() { close(); }
  Progman(const Progman&) = delete;
  Progman& operator=(const Progman&) = delete;

  bool open();
  void close();
  // Sends one command ("[CreateGroup(...)]"); false when the program manager refused it or did not answer in time.
  bool execute(const std::string& command, DWORD timeout = 1000);
  // The text reply for an item ("GROUPS", or a group's name); nullopt when there is none.
  std::optional<std::string> request(const std::string& item, DWORD timeout = 5000);

 private:
  DWORD instance_ = 0;
  HSZ service_ = nullptr;
  HCONV conversation_ = nullptr;
};

// Dispatches up to `limit` pending messages of this thread; used between DDE transactions and copied chunks.
void pumpMessages(int limit);

}  // namespace osk::setup
