#include <gtest/gtest.h>

#include <filesystem>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "engine/buffer.h"
#include "engine/ecd_api.h"
#include "engine/file_io.h"
#include "engine_fixture.h"

namespace osk::test {
namespace {

class LoadSaveTest : public EngineTest {
 protected:
  Buffer* openFile(const std::string& file, int32_t flags = ECD_OPEN_READ) {
    HEDBUFFER h = nullptr;
    EXPECT_EQ(open(file, flags, &h), 0);
    return Engine::instance().find(h);
  }
  static int32_t save(Buffer* b, const char* name = nullptr) { return b->save(name, nullptr, true); }
  void setOption(int word, int32_t value) { Engine::instance().options.word[word] = value; }
  void TearDown() override {
    fileio::SaveTarget::failWritesAfter(-1);
    EngineTest::TearDown();
  }
};

TEST_F(LoadSaveTest, UnixFileStaysUnixAndDosFileStaysDos) {
  std::string unixFile = write("u.txt", "one\ntwo\r\nthree\n");
  Buffer* u = openFile(unixFile);
  EXPECT_EQ(u->property(kPropUnixLineEnds), 1);
  EXPECT_EQ(u->lineCount(), 3);
  u->setModified(true);
  ASSERT_EQ(save(u), 0);
  EXPECT_EQ(read(unixFile), "one\ntwo\r\nthree\n");

  std::string dosFile = write("d.txt", "one\r\ntwo\nthree");
  Buffer* d = openFile(dosFile);
  EXPECT_EQ(d->property(kPropUnixLineEnds), 0);
  ASSERT_EQ(save(d), 0);
  EXPECT_EQ(read(dosFile), "one\r\ntwo\r\nthree\r\n");
}

TEST_F(LoadSaveTest, EmptyFileGivesNoLines) {
  Buffer* b = openFile(write("empty.txt", ""));
  EXPECT_EQ(b->lineCount(), 0);
  EXPECT_EQ(b->property(kPropNew), 0);
}

TEST_F(LoadSaveTest, SaveOptionsStripBlanksAndAppendCtrlZ) {
  setOption(ECD_OPT_STRIP_EOL_SPACE, 1);
  setOption(ECD_OPT_ADD_CTRLZ, 1);
  std::string file = write("opts.txt", "abc \t\r\nx\r\n");
  Buffer* b = openFile(file);
  ASSERT_EQ(save(b), 0);
  EXPECT_EQ(read(file), "abc\r\nx\r\n\x1a");
  EXPECT_EQ(b->store().peekLine(1), "abc");   // the buffer lost the blanks too
  setOption(ECD_OPT_REMOVE_CTRLZ, 1);
  ASSERT_EQ(b->reload(0, nullptr), 100);
  EXPECT_EQ(b->lineCount(), 2);
}

TEST_F(LoadSaveTest, FailedSaveLeavesTheFileIntactAndTheBufferModified) {
  std::string original(200000, 'o');
  for (std::size_t i = 80; i < original.size(); i += 81) original[i] = '\n';
  std::string file = write("keep.txt", original);
  Buffer* b = openFile(file);
  b->store().replaceLine(1, "changed");
  b->setModified(true);
  fileio::SaveTarget::failWritesAfter(100000);   // the disk fills half way
  EXPECT_EQ(save(b), ECD_ERR_DISK_WRITE);
  EXPECT_EQ(read(file), original);
  EXPECT_TRUE(b->modified());
  // No temporary file is left behind.
  int files = 0;
  for (auto& e : std::filesystem::directory_iterator(dir_)) files += e.is_regular_file();
  EXPECT_EQ(files, 1);
  fileio::SaveTarget::failWritesAfter(-1);
  ASSERT_EQ(save(b), 0);
  EXPECT_FALSE(b->modified());
  EXPECT_EQ(read(file).substr(0, 9), "changed\n" + std::string(1, 'o'));
}

TEST_F(LoadSaveTest, SaveIntoAnUnwritableDirectoryFailsCleanly) {
#ifdef _WIN32
  GTEST_SKIP() << "directory permissions are POSIX modes";
#else
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
#endif
  std::filesystem::create_directories(dir_ / "ro");
  std::string file = write("ro/x.txt", "old\n");
  Buffer* b = openFile(file);
  std::filesystem::permissions(dir_ / "ro", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  std::filesystem::permissions(file, std::filesystem::perms::owner_read);
  EXPECT_EQ(save(b), ECD_ERR_FILE);
  EXPECT_EQ(read(file), "old\n");
}

TEST_F(LoadSaveTest, SaveAsChecksTheNameBeforeWriting) {
  std::string held = write("held.txt", "held\r\n");
  openFile(held);
  Buffer* b = openFile(write("mine.txt", "mine\r\n"));
  EXPECT_EQ(save(b, held.c_str()), ECD_ERR_ALREADY_LOADED);
  EXPECT_EQ(read(held), "held\r\n");
  EXPECT_EQ(save(b, path("no/such/dir.txt").c_str()), ECD_ERR_INVALID_DIRECTORY);
  EXPECT_EQ(save(b, path("wild*.txt").c_str()), ECD_ERR_INVALID_NAME);
  EXPECT_EQ(save(b, dir_.string().c_str()), ECD_ERR_INVALID_NAME);
  EXPECT_FALSE(std::filesystem::exists(path("wild*.txt")));
  notices().clear();
  b->addWindow(reinterpret_cast<OskWindow>(0x1));
  std::string target = path("copy.txt");
  ASSERT_EQ(save(b, target.c_str()), 0);
  EXPECT_EQ(b->fileName(), target);
  EXPECT_EQ(read(target), "mine\r\n");
  ASSERT_FALSE(notices().empty());
  EXPECT_EQ(notices().back().code, 2035u);
}

TEST_F(LoadSaveTest, UnnamedBufferCannotSaveWithoutName) {
  HEDBUFFER h;
  ASSERT_EQ(open("", 0, &h), 0);
  EXPECT_EQ(save(Engine::instance().find(h)), ECD_ERR_UNNAMED);
}

TEST_F(LoadSaveTest, ReloadKeepsOldTextWhenTheReadFails) {
  std::string file = write("r.txt", "first\r\nsecond\r\nthird\r\n");
  Buffer* b = openFile(file);
  b->store().properties().set(3, 1);
  b->setModified(true);
  std::filesystem::remove(file);
  EXPECT_EQ(b->reload(0, nullptr), ECD_ERR_NO_FILE);
  EXPECT_EQ(b->lineCount(), 3);
  EXPECT_TRUE(b->modified());
  write("r.txt", "only\r\n");
  EXPECT_EQ(b->reload(0, nullptr), 100);
  EXPECT_EQ(b->lineCount(), 1);
  EXPECT_FALSE(b->modified());
  EXPECT_EQ(b->store().properties().size(), 0u);   // the bookmark on line 3 went with the line
}

TEST_F(LoadSaveTest, ReloadOnlyWhenChangedAndQuery) {
  std::string file = write("q.txt", "a\r\n");
  Buffer* b = openFile(file);
  EXPECT_EQ(b->reload(2, nullptr), 0);
  EXPECT_EQ(b->reload(1, nullptr), 0);
  auto t = std::filesystem::last_write_time(file);
  write("q.txt", "a\r\nb\r\n");
  std::filesystem::last_write_time(file, t + std::chrono::seconds(5));
  EXPECT_EQ(b->reload(2, nullptr), 1);
  EXPECT_EQ(b->reload(1, nullptr), 100);
  EXPECT_EQ(b->lineCount(), 2);
  EXPECT_EQ(b->reload(2, nullptr), 0);
}

TEST_F(LoadSaveTest, ReadOnlyAttributeMakesTheBufferReadOnlyWithOption8) {
  std::string file = write("attr.txt", "x\r\n");
  std::filesystem::permissions(file, std::filesystem::perms::owner_read);
  setOption(ECD_OPT_READ_ONLY_AS_READ_ONLY, 1);
  Buffer* b = openFile(file);
  EXPECT_TRUE(b->readOnly());
  EXPECT_EQ(b->property(kPropFileReadOnly), 1);
  // A missing file opened without reading is read only too.
  Buffer* missing = openFile(path("none.txt"), 0);
  EXPECT_TRUE(missing->readOnly());
  setOption(ECD_OPT_READ_ONLY_AS_READ_ONLY, 0);
  Buffer* plain = openFile(file, ECD_OPEN_READ | ECD_OPEN_ALLOW_DUPLICATE);
  EXPECT_FALSE(plain->readOnly());
}

int32_t OSK_CALL abortingStep(int32_t) { return 1; }
int32_t OSK_CALL quietStart(int32_t, int32_t, const char*) { return 0; }

TEST_F(LoadSaveTest, GaugeAbortsLoadAndSave) {
  std::string text;
  for (int i = 0; i < 2000; ++i) text += "a line of some length to fill blocks\r\n";
  std::string file = write("big.txt", text);
  Engine::instance().gauge = {quietStart, abortingStep, nullptr};
  HEDBUFFER h;
  EcdOpenRecord r{};
  r.fileName = file.c_str();
  r.flags = ECD_OPEN_READ;
  r.caption = "Loading";
  EXPECT_EQ(ECD_flOpenBuffer(&r), ECD_ERR_LOAD_ABORTED);
  EXPECT_TRUE(Engine::instance().buffers().empty());
  // Without a caption there is no gauge, so nothing can abort.
  ASSERT_EQ(open(file, ECD_OPEN_READ, &h), 0);
  Buffer* b = Engine::instance().find(h);
  b->setModified(true);
  b->store().replaceLine(1, "edited");
  EXPECT_EQ(b->save(nullptr, "Saving", true), ECD_ERR_SAVE_ABORTED);
  EXPECT_TRUE(b->modified());
  EXPECT_EQ(read(file), text);
}

}  // namespace
}  // namespace osk::test
