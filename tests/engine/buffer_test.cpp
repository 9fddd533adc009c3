#include <gtest/gtest.h>

#include <cstring>

#include "engine/buffer.h"
#include "engine/ecd_api.h"
#include "engine_fixture.h"

namespace osk::test {
namespace {

using BufferTest = EngineTest;

TEST_F(BufferTest, VersionHandshakeIsCaseSensitive) {
  EXPECT_EQ(ECD_fbCheckVersion("OSK2HANDSHAKE"), 1);
  EXPECT_EQ(ECD_fbCheckVersion("osk2handshake"), 0);
  EXPECT_EQ(ECD_fbCheckVersion(nullptr), 0);
  char patch[8] = "x";
  EXPECT_EQ(ECD_fvGetPatchVersion(patch), patch);
  EXPECT_STREQ(patch, "x");
}

TEST_F(BufferTest, SecondInitialiseFailsAndKeepsTheFirstOwner) {
  auto* owner = reinterpret_cast<OskWindow>(0x1234);
  EXPECT_EQ(ECD_flInitialise(owner, nullptr, nullptr, nullptr, nullptr), ECD_ERR_ALREADY_INITIALISED);
  EXPECT_EQ(Engine::instance().owner, nullptr);
  EXPECT_EQ(ECD_flTerminate(), 0);
  EXPECT_EQ(ECD_flInitialise(owner, nullptr, nullptr, nullptr, nullptr), ECD_ERR_ALREADY_INITIALISED);
}

TEST_F(BufferTest, OpenBeforeInitialiseFails) {
  Engine::instance().resetForTests();
  HEDBUFFER b;
  EXPECT_EQ(open("", 0, &b), ECD_ERR_NOT_INITIALISED);
}

TEST_F(BufferTest, UntitledCounterNeverGoesBack) {
  HEDBUFFER a, b, c;
  ASSERT_EQ(open("", 0, &a), 0);
  ASSERT_EQ(open("", 0, &b), 0);
  ASSERT_EQ(ECD_flCloseBuffer(a), 0);
  ASSERT_EQ(ECD_flCloseBuffer(b), 0);
  ASSERT_EQ(open("", 0, &c), 0);
  Buffer* buffer = Engine::instance().find(c);
  ASSERT_NE(buffer, nullptr);
  EXPECT_EQ(buffer->displayName(), "Untitled: 3");
  EXPECT_EQ(buffer->property(kPropUntitledNumber), 3);
  EXPECT_EQ(buffer->property(kPropFileName), ECD_ERR_UNNAMED);
  EXPECT_EQ(buffer->property(kPropNew), 1);
}

TEST_F(BufferTest, OpenRecordLimitsTabLengthAndUndoCapacity) {
  HEDBUFFER a, b, c;
  ASSERT_EQ(open("", 0, &a, 4000, 0), 0);
  ASSERT_EQ(open("", 0, &b, 3276, 40), 0);
  ASSERT_EQ(open("", 0, &c, 3277, 32), 0);
  EXPECT_EQ(ECD_flBufferMessage(a, ECD_GET_TAB_LENGTH, 0, 0), 1);
  EXPECT_EQ(ECD_flBufferMessage(a, ECD_GET_UNDO_CAPACITY, 0, 0), 3276);
  EXPECT_EQ(ECD_flBufferMessage(b, ECD_GET_TAB_LENGTH, 0, 0), 1);
  EXPECT_EQ(ECD_flBufferMessage(b, ECD_GET_UNDO_CAPACITY, 0, 0), 3276);
  EXPECT_EQ(ECD_flBufferMessage(c, ECD_GET_TAB_LENGTH, 0, 0), 32);
  EXPECT_EQ(ECD_flBufferMessage(c, ECD_GET_UNDO_CAPACITY, 0, 0), 3276);
  EXPECT_EQ(ECD_flBufferMessage(c, ECD_GET_LEFT_MARGIN, 0, 0), 1);
  EXPECT_EQ(ECD_flBufferMessage(c, ECD_GET_RIGHT_MARGIN, 0, 0), 79);
}

TEST_F(BufferTest, SameFileIsRefusedUnlessDuplicatesAreAllowed) {
  std::string file = write("same.txt", "text\r\n");
  HEDBUFFER a, b, c;
  ASSERT_EQ(open(file, ECD_OPEN_READ, &a), 0);
  EXPECT_EQ(open(file, ECD_OPEN_READ, &b), ECD_ERR_ALREADY_LOADED);
  // The same file named another way: relative to the current directory, and in other case.
  std::filesystem::current_path(dir_);
  EXPECT_EQ(open("same.txt", ECD_OPEN_READ, &b), ECD_ERR_ALREADY_LOADED);
  EXPECT_EQ(open("SAME.TXT", 0, &b), ECD_ERR_ALREADY_LOADED);
  EXPECT_EQ(open(file, ECD_OPEN_READ | ECD_OPEN_ALLOW_DUPLICATE, &c), 0);
  EXPECT_EQ(Engine::instance().buffers().size(), 2u);
}

TEST_F(BufferTest, BadNamesAreRefusedWithTheirCodes) {
  HEDBUFFER b;
  EXPECT_EQ(open(path("a?.txt"), 0, &b), ECD_ERR_INVALID_NAME);
  EXPECT_EQ(open(path("*.txt"), 0, &b), ECD_ERR_INVALID_NAME);
  EXPECT_EQ(open(path("nodir/x.txt"), 0, &b), ECD_ERR_INVALID_DIRECTORY);
  EXPECT_EQ(open(path("missing.txt"), ECD_OPEN_READ, &b), ECD_ERR_NO_FILE);
  EXPECT_EQ(open(path(std::string(300, 'n')), 0, &b), ECD_ERR_INVALID_NAME);
  EXPECT_TRUE(Engine::instance().buffers().empty());
  // A named buffer without the read flag starts empty and new.
  ASSERT_EQ(open(path("fresh.txt"), 0, &b), 0);
  EXPECT_EQ(Engine::instance().find(b)->lineCount(), 0);
  EXPECT_EQ(Engine::instance().find(b)->property(kPropNew), 1);
}

TEST_F(BufferTest, BufferMessageInterfaceServesOnlyBufferRows) {
  HEDBUFFER b;
  ASSERT_EQ(open("", 0, &b), 0);
  EXPECT_EQ(ECD_flBufferMessage(b, 1042, 0, 0), ECD_ERR_INVALID_MESSAGE);
  EXPECT_EQ(ECD_flBufferMessage(b, ECD_SET_CARET, 0, 0), ECD_ERR_INVALID_MESSAGE);
  EXPECT_EQ(ECD_flBufferMessage(nullptr, ECD_IS_MODIFIED, 0, 0), ECD_ERR_NO_BUFFER);
  EXPECT_EQ(ECD_flBufferMessage(b, ECD_IS_MODIFIED, 0, 0), ECD_ERR_NOT_SET);
  EXPECT_EQ(ECD_flBufferMessage(b, ECD_SET_MODIFIED, 0, 0), 0);   // zero: the present state is not saved
  EXPECT_EQ(ECD_flBufferMessage(b, ECD_IS_MODIFIED, 0, 0), 0);
  EXPECT_EQ(ECD_flBufferMessage(b, ECD_SET_MODIFIED, 1, 0), 0);
  EXPECT_EQ(ECD_flBufferMessage(b, ECD_IS_MODIFIED, 0, 0), ECD_ERR_NOT_SET);
  EXPECT_EQ(ECD_flBufferMessage(b, ECD_CAN_UNDO, 0, 0), ECD_ERR_NO_OPERATIONS);
  EXPECT_EQ(ECD_flBufferMessage(b, ECD_HAS_MARK, 0, 0), ECD_ERR_NO_SELECTION);
  char name[261];
  EXPECT_EQ(ECD_flBufferMessage(b, ECD_GET_FILE_NAME, 0, reinterpret_cast<intptr_t>(name)), ECD_ERR_UNNAMED);
  EXPECT_EQ(ECD_flBufferMessage(b, ECD_RELOAD, 2, 0), 0);   // unnamed: nothing changed on disk
  EXPECT_EQ(ECD_flBufferMessage(b, ECD_SET_WORD_WRAP, 5, 0), 0);
  EXPECT_EQ(ECD_flBufferMessage(b, ECD_IS_WORD_WRAP, 0, 0), 0);
  EXPECT_EQ(ECD_flBufferMessage(b, ECD_SET_RIGHT_MARGIN, 5000, 0), 0);
  EXPECT_EQ(ECD_flBufferMessage(b, ECD_GET_RIGHT_MARGIN, 0, 0), 1024);
  EXPECT_EQ(ECD_flBufferMessage(b, ECD_SET_LEFT_MARGIN, 0, 0), 0);
  EXPECT_EQ(ECD_flBufferMessage(b, ECD_GET_LEFT_MARGIN, 0, 0), 1);
}

TEST_F(BufferTest, ModifiedChangesAndRenamesAreAnnouncedToWindows) {
  HEDBUFFER h;
  ASSERT_EQ(open("", 0, &h), 0);
  Buffer* b = Engine::instance().find(h);
  auto* w1 = reinterpret_cast<OskWindow>(0x10);
  auto* w2 = reinterpret_cast<OskWindow>(0x20);
  b->addWindow(w1);
  b->addWindow(w2);
  b->addWindow(w1);
  EXPECT_EQ(b->windows().size(), 2u);
  notices().clear();
  ECD_flBufferMessage(h, ECD_SET_MODIFIED, 0, 0);
  ASSERT_EQ(notices().size(), 2u);
  EXPECT_EQ(notices()[0].code, 2030u);
  EXPECT_EQ(notices()[0].wParam, 1u);
  b->removeWindow(w1);
  notices().clear();
  std::string name = path("renamed.txt");
  EXPECT_EQ(ECD_flBufferMessage(h, ECD_SET_FILE_NAME, 0, reinterpret_cast<intptr_t>(name.c_str())), 0);
  ASSERT_EQ(notices().size(), 1u);
  EXPECT_EQ(notices()[0].window, w2);
  EXPECT_EQ(notices()[0].code, 2035u);
  char got[261];
  EXPECT_EQ(ECD_flBufferMessage(h, ECD_GET_FILE_NAME, 0, reinterpret_cast<intptr_t>(got)), 0);
  EXPECT_EQ(std::string(got), name);
  notices().clear();
  EXPECT_EQ(ECD_flCloseBuffer(h), 0);
  ASSERT_EQ(notices().size(), 1u);
  EXPECT_EQ(notices()[0].code, 2025u);
  EXPECT_EQ(ECD_flCloseBuffer(h), ECD_ERR_PARAMETER);   // a closed buffer's handle is refused, not followed
}

TEST_F(BufferTest, RenameRefusesANameAnotherBufferHolds) {
  HEDBUFFER a, b;
  std::string file = write("held.txt", "x\r\n");
  ASSERT_EQ(open(file, ECD_OPEN_READ, &a), 0);
  ASSERT_EQ(open("", 0, &b), 0);
  EXPECT_EQ(ECD_flBufferMessage(b, ECD_SET_FILE_NAME, 0, reinterpret_cast<intptr_t>(file.c_str())),
            ECD_ERR_ALREADY_LOADED);
  std::string bad = path("x*.txt");
  EXPECT_EQ(ECD_flBufferMessage(b, ECD_SET_FILE_NAME, 0, reinterpret_cast<intptr_t>(bad.c_str())),
            ECD_ERR_INVALID_NAME);
}

TEST_F(BufferTest, ChainLinksAndUnlinks) {
  HEDBUFFER a, b, c;
  ASSERT_EQ(open("", 0, &a), 0);
  ASSERT_EQ(open("", 0, &b), 0);
  ASSERT_EQ(open("", 0, &c), 0);
  EXPECT_EQ(ECD_fhLinkBuffer(a, b), a);
  EXPECT_EQ(ECD_fhLinkBuffer(b, c), b);
  EXPECT_EQ(ECD_fhNextBuffer(a), b);
  // Removing the middle of a -> b -> c keeps the head.
  EXPECT_EQ(ECD_fhUnlinkBuffer(b, a), a);
  EXPECT_EQ(ECD_fhNextBuffer(a), c);
  EXPECT_EQ(ECD_fhNextBuffer(b), nullptr);
  // Removing the head returns the new head.
  EXPECT_EQ(ECD_fhUnlinkBuffer(a, a), c);
  EXPECT_EQ(ECD_fhNextBuffer(a), nullptr);
  // A chain that loops back on itself does not hang the walk.
  ECD_fhLinkBuffer(a, b);
  ECD_fhLinkBuffer(b, a);
  EXPECT_EQ(ECD_fhUnlinkBuffer(c, a), a);
}

TEST_F(BufferTest, SystemOptionsRoundTrip) {
  EcdSystemOptions in{};
  for (int i = 0; i < 12; ++i) in.word[i] = i * 3;
  ECD_fvSetSystemOptions(&in);
  EcdSystemOptions out{};
  ECD_fvGetSystemOptions(&out);
  EXPECT_EQ(std::memcmp(&in, &out, sizeof in), 0);
}

TEST_F(BufferTest, ReadOnlyAndUnixLineEndProperties) {
  HEDBUFFER h;
  ASSERT_EQ(open("", ECD_OPEN_UNIX | ECD_OPEN_READ_ONLY, &h), 0);
  EXPECT_EQ(ECD_flBufferMessage(h, ECD_IS_UNIX, 0, 0), 0);
  EXPECT_EQ(ECD_flBufferMessage(h, ECD_IS_READ_ONLY, 0, 0), 0);
  EXPECT_EQ(ECD_flBufferMessage(h, ECD_FINALISE, 0, 0), ECD_ERR_READ_ONLY);
  EXPECT_EQ(ECD_flBufferMessage(h, ECD_SET_READ_ONLY, 0, 0), 0);
  EXPECT_EQ(ECD_flBufferMessage(h, ECD_IS_READ_ONLY, 0, 0), ECD_ERR_NOT_SET);
  EXPECT_EQ(ECD_flBufferMessage(h, ECD_FINALISE, 0, 0), 0);
  EXPECT_EQ(ECD_flBufferMessage(h, ECD_SET_UNIX, 0, 0), 0);
  EXPECT_EQ(ECD_flBufferMessage(h, ECD_IS_UNIX, 0, 0), ECD_ERR_NOT_SET);
}

}  // namespace
}  // namespace osk::test
