// A fresh engine for each test, a scratch directory, and a recorder of buffer notices.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/ecd_api.h"
#include "engine/engine_context.h"

namespace osk::test {

struct Notice {
  OskWindow window;
  uint32_t code;
  uintptr_t wParam;
  intptr_t lParam;
};

inline std::vector<Notice>& notices() {
  static std::vector<Notice> list;
  return list;
}

inline intptr_t recordNotice(OskWindow window, uint32_t code, uintptr_t wParam, intptr_t lParam) {
  notices().push_back({window, code, wParam, lParam});
  return 0;
}

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Engine::instance().resetForTests();
    Engine::instance().noticeSender = recordNotice;
    notices().clear();
    ASSERT_EQ(ECD_flInitialise(nullptr, nullptr, nullptr, nullptr, nullptr), 0);
    dir_ = std::filesystem::temp_directory_path() /
           ("osk-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override {
    Engine::instance().resetForTests();
    std::error_code ec;
    std::filesystem::permissions(dir_, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(dir_, ec);
  }

  std::string path(const std::string& name) const { return (dir_ / name).string(); }

  std::string write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(path(name), std::ios::binary);
    out << bytes;
    return path(name);
  }

  static std::string read(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  // Opens a buffer; returns the engine code and the handle through `out`.
  static int32_t open(const std::string& name, int32_t flags, HEDBUFFER* out, int32_t capacity = 100,
                      int32_t tab = 8) {
    EcdOpenRecord r{};
    r.fileName = name.empty() ? nullptr : name.c_str();
    r.undoCapacity = capacity;
    r.tabLength = tab;
    r.flags = flags;
    int32_t code = ECD_flOpenBuffer(&r);
    *out = r.buffer;
    return code;
  }

  std::filesystem::path dir_;
};

}  // namespace osk::test
