// Macro files: round trips of real key sequences, the exact layout, and every malformed file refused whole.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "engine/lang/macro_file.h"

namespace {

using osk::macro::KeystrokeMacro;
using osk::macro::LoadResult;
using osk::macro::MacroEvent;

MacroEvent Key(uint32_t message, uint8_t vk, uint8_t scan, uint32_t time) {
  MacroEvent e;
  e.message = message;
  e.paramL = vk | static_cast<uint32_t>(scan) << 8;
  e.paramH = 1;
  e.time = time;
  e.window = reinterpret_cast<OskWindow>(static_cast<intptr_t>(0x00010234));
  return e;
}

// "Hi" typed with Shift held for the H, then Enter.
KeystrokeMacro TypedHi() {
  KeystrokeMacro m;
  m.append(Key(0x100, 0x10, 0x2A, 1000));
  m.append(Key(0x100, 'H', 0x23, 1010));
  m.append(Key(0x101, 'H', 0x23, 1020));
  m.append(Key(0x101, 0x10, 0x2A, 1030));
  m.append(Key(0x100, 'I', 0x17, 1040));
  m.append(Key(0x101, 'I', 0x17, 1050));
  m.append(Key(0x100, 0x0D, 0x1C, 1060));
  m.append(Key(0x101, 0x0D, 0x1C, 1070));
  return m;
}

std::vector<uint8_t> Header(uint8_t a, uint8_t b, uint32_t count) {
  return {a, b, static_cast<uint8_t>(count), static_cast<uint8_t>(count >> 8), static_cast<uint8_t>(count >> 16),
          static_cast<uint8_t>(count >> 24)};
}

void PutEvent(std::vector<uint8_t>& bytes, uint32_t message) {
  for (uint32_t word : {message, 0x1E41u, 1u, 5000u, 0x1234u}) {
    for (int s = 0; s < 32; s += 8) bytes.push_back(static_cast<uint8_t>(word >> s));
  }
}

class MacroFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("osk_macro_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Path(const char* name) const { return (dir_ / name).string(); }
  void Write(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                               static_cast<std::streamsize>(bytes.size()));
  }
  std::filesystem::path dir_;
};

TEST_F(MacroFileTest, SavedMacroIsSixPlusTwentyBytesPerEventAndLoadsBackTheSame) {
  const KeystrokeMacro typed = TypedHi();
  const std::string path = Path("hi.kbd");
  ASSERT_TRUE(osk::macro::saveMacroFile(typed, path));
  EXPECT_EQ(std::filesystem::file_size(path), 6u + 20u * 8u);

  KeystrokeMacro loaded;
  ASSERT_EQ(osk::macro::loadMacroFile(path, loaded), LoadResult::kLoaded);
  ASSERT_EQ(loaded.count(), 8);
  for (int32_t i = 0; i < 8; ++i) EXPECT_EQ(loaded[i], typed[i]) << "event " << i;
  EXPECT_TRUE(loaded.present());
}

TEST_F(MacroFileTest, FieldsAreLittleEndianInRecordOrder) {
  KeystrokeMacro m;
  MacroEvent e = Key(0x104, 0x12, 0x38, 0xA1B2C3D4);
  e.paramH = 0x8001;
  e.window = reinterpret_cast<OskWindow>(static_cast<intptr_t>(-2));   // handles widen with their sign
  m.append(e);
  const std::vector<uint8_t> bytes = osk::macro::encodeMacro(m);
  const std::vector<uint8_t> expected = {1, 0, 1, 0, 0, 0,
                                         0x04, 0x01, 0, 0,  0x12, 0x38, 0, 0,  0x01, 0x80, 0, 0,
                                         0xD4, 0xC3, 0xB2, 0xA1,  0xFE, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(bytes, expected);
  KeystrokeMacro back;
  ASSERT_EQ(osk::macro::decodeMacro(bytes, back), LoadResult::kLoaded);
  EXPECT_EQ(back[0], e);
}

TEST_F(MacroFileTest, FullMacroOf4096EventsRoundTrips) {
  KeystrokeMacro m;
  std::mt19937 random(7);
  for (int i = 0; i < 4096; ++i) {
    MacroEvent e = Key(0x100 + random() % 9, static_cast<uint8_t>(random()), static_cast<uint8_t>(random()),
                       static_cast<uint32_t>(random()));
    e.paramH = static_cast<uint32_t>(random());
    ASSERT_TRUE(m.append(e));
  }
  EXPECT_FALSE(m.append(Key(0x100, 'A', 0x1E, 1)));
  const std::string path = Path("full.kbd");
  ASSERT_TRUE(osk::macro::saveMacroFile(m, path));
  EXPECT_EQ(std::filesystem::file_size(path), 6u + 20u * 4096u);
  KeystrokeMacro loaded;
  ASSERT_EQ(osk::macro::loadMacroFile(path, loaded), LoadResult::kLoaded);
  ASSERT_EQ(loaded.count(), 4096);
  for (int32_t i = 0; i < 4096; ++i) ASSERT_EQ(loaded[i], m[i]) << i;
}

TEST_F(MacroFileTest, MalformedFilesAreRefusedWholeAndLeaveNoMacro) {
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    LoadResult result;
  };
  std::vector<Case> cases;
  cases.push_back({"empty file", {}, LoadResult::kBadFormat});
  cases.push_back({"first byte 2", Header(2, 0, 1), LoadResult::kBadFormat});
  cases.push_back({"second byte 1", Header(1, 1, 1), LoadResult::kBadFormat});
  cases.push_back({"count cut short", {1, 0, 1, 0}, LoadResult::kTruncated});
  cases.push_back({"no events", Header(1, 0, 0), LoadResult::kNoEvents});
  cases.push_back({"4097 events declared", Header(1, 0, 4097), LoadResult::kTooManyEvents});
  cases.push_back({"negative count", Header(1, 0, 0xFFFFFFFF), LoadResult::kTooManyEvents});
  {
    std::vector<uint8_t> b = Header(1, 0, 3);
    PutEvent(b, 0x100);
    PutEvent(b, 0x101);
    cases.push_back({"two of three events", b, LoadResult::kTruncated});
    b.resize(b.size() + 19);
    cases.push_back({"last event one byte short", b, LoadResult::kTruncated});
  }
  for (uint32_t message : {0x0000u, 0x00FFu, 0x0109u, 0x0200u /* mouse move */, 0x0201u}) {
    std::vector<uint8_t> b = Header(1, 0, 3);
    PutEvent(b, 0x100);
    PutEvent(b, message);
    PutEvent(b, 0x101);
    cases.push_back({"not a key message", b, LoadResult::kNotKeyMessage});
  }
  {
    // More than 4096 real events behind a header that says so.
    std::vector<uint8_t> b = Header(1, 0, 5000);
    for (int i = 0; i < 5000; ++i) PutEvent(b, 0x100);
    cases.push_back({"5000 events", b, LoadResult::kTooManyEvents});
  }

  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    KeystrokeMacro m = TypedHi();   // a macro present before the load must not survive a failed one
    const std::string path = Path("bad.kbd");
    Write(path, c.bytes);
    EXPECT_EQ(osk::macro::loadMacroFile(path, m), c.result);
    EXPECT_EQ(m.count(), 0);
    EXPECT_FALSE(m.present());
  }
}

TEST_F(MacroFileTest, BytesAfterTheDeclaredEventsAreIgnored) {
  std::vector<uint8_t> b = Header(1, 0, 2);
  PutEvent(b, 0x100);
  PutEvent(b, 0x102);
  b.insert(b.end(), {9, 9, 9});
  KeystrokeMacro m;
  ASSERT_EQ(osk::macro::decodeMacro(b, m), LoadResult::kLoaded);
  EXPECT_EQ(m.count(), 2);
  EXPECT_EQ(m[1].message, 0x102u);
}

TEST_F(MacroFileTest, MissingFileAndEmptyMacro) {
  KeystrokeMacro m = TypedHi();
  EXPECT_EQ(osk::macro::loadMacroFile(Path("none.kbd"), m), LoadResult::kCannotRead);
  EXPECT_FALSE(m.present());
  // An empty macro is not saved and makes no file.
  EXPECT_FALSE(osk::macro::saveMacroFile(m, Path("empty.kbd")));
  EXPECT_FALSE(std::filesystem::exists(Path("empty.kbd")));
  // A file in a missing folder cannot be written.
  EXPECT_FALSE(osk::macro::saveMacroFile(TypedHi(), Path("no/such/folder.kbd")));
}

TEST(MacroBufferTest, OnlyKeyMessagesAreStored) {
  KeystrokeMacro m;
  EXPECT_FALSE(m.append(Key(0x200, 0, 0, 0)));
  EXPECT_FALSE(m.append(Key(0x0FF, 0, 0, 0)));
  EXPECT_FALSE(m.present());
  for (uint32_t message = 0x100; message <= 0x108; ++message) EXPECT_TRUE(m.append(Key(message, 'A', 0, 0)));
  EXPECT_EQ(m.count(), 9);
  m.clear();
  EXPECT_EQ(m.count(), 0);
  EXPECT_FALSE(m.present());
}

}  // namespace
