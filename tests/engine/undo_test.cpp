// Undo groups, the undo area, save stamps and the modified flag, and the faults they must not have.
#include <gtest/gtest.h>

#include "editing_fixture.h"
#include "engine/buffer_messages.h"
#include "engine/ecd_api.h"
#include "engine/gauge.h"

namespace osk::test {
namespace {

class UndoTest : public EditingTest {};

TEST_F(UndoTest, TypingRunIsOneGroupAndUndoRestoresTheLine) {
  Buffer* b = make({"hello"});
  TextPos at{1, 6};
  ASSERT_EQ(type(b, " world", at), Status::kOk);
  EXPECT_EQ(text(b), (std::vector<std::string>{"hello world"}));
  EXPECT_TRUE(canUndo(b));
  TextPos caret;
  ASSERT_EQ(b->undo(caret), Status::kOk);
  EXPECT_EQ(text(b), (std::vector<std::string>{"hello"}));
  EXPECT_EQ(caret, (TextPos{1, 6}));
  EXPECT_FALSE(canUndo(b));
  ASSERT_EQ(b->redo(caret), Status::kOk);
  EXPECT_EQ(text(b), (std::vector<std::string>{"hello world"}));
  EXPECT_EQ(caret, (TextPos{1, 12}));
}

TEST_F(UndoTest, EditRightAfterSaveReadsModifiedAndUndoingBackReadsSaved) {
  Buffer* b = make({"abc"});
  TextPos at{1, 4};
  type(b, "d", at);
  ASSERT_EQ(b->save(nullptr, nullptr, false), 0);
  EXPECT_FALSE(b->modified());
  at = TextPos{1, 1};
  ASSERT_EQ(type(b, "x", at), Status::kOk);
  EXPECT_TRUE(b->modified());
  ASSERT_EQ(undo(b), Status::kOk);   // back to the saved text
  EXPECT_FALSE(b->modified());
  ASSERT_EQ(redo(b), Status::kOk);
  EXPECT_TRUE(b->modified());
  ASSERT_EQ(undo(b), Status::kOk);
  ASSERT_EQ(undo(b), Status::kOk);   // before the save
  EXPECT_TRUE(b->modified());
  EXPECT_EQ(text(b), (std::vector<std::string>{"abc"}));
}

TEST_F(UndoTest, EditAfterSaveInsideAnOpenGroupReadsModified) {
  Buffer* b = make({"abc", "def"});
  TextPos at{1, 1};
  ASSERT_EQ(b->startOp(at), Status::kOk);
  ASSERT_EQ(replaceLine(*b, 1, "ABC"), Status::kOk);
  b->setModified(false);
  EXPECT_FALSE(b->modified());
  ASSERT_EQ(replaceLine(*b, 2, "DEF"), Status::kOk);   // extends the same record
  EXPECT_TRUE(b->modified());
  ASSERT_EQ(b->endOp(at), Status::kOk);
  EXPECT_TRUE(b->modified());
}

TEST_F(UndoTest, AStateSaved512SavesAgoDoesNotReadAsSaved) {
  Buffer* b = make({"abc"});
  TextPos at{1, 1};
  type(b, "1", at);
  b->setModified(false);   // the state "1abc" is saved
  type(b, "2", at);        // "12abc"
  for (int i = 0; i < 512; ++i) b->setModified(false);   // the 9-bit counter comes round again
  EXPECT_FALSE(b->modified());
  ASSERT_EQ(undo(b), Status::kOk);
  EXPECT_EQ(text(b), (std::vector<std::string>{"1abc"}));
  EXPECT_TRUE(b->modified()) << "the file holds 12abc";
}

TEST_F(UndoTest, ChangesNoRecordCoversLeaveTheBufferModifiedUntilSaved) {
  for (int32_t capacity : {0, 1, 2}) {
    Buffer* b = make({"abc"}, capacity, 8, "cap" + std::to_string(capacity) + ".txt");
    TextPos at{1, 1};
    ASSERT_EQ(type(b, "x", at), Status::kOk);
    ASSERT_EQ(newLine(*b, at), Status::kOk);
    ASSERT_EQ(deleteLines(*b, 1, 1, at), Status::kOk);
    EXPECT_TRUE(b->modified()) << capacity;
    EXPECT_FALSE(canUndo(b)) << capacity;
    EXPECT_NE(undo(b), Status::kOk);
    EXPECT_TRUE(b->modified()) << capacity;
    ASSERT_EQ(b->save(nullptr, nullptr, false), 0);
    EXPECT_FALSE(b->modified()) << capacity;
  }
}

TEST_F(UndoTest, HistoryLostInTheMiddleOfAGroupStillReadsModified) {
  Buffer* b = make({"a", "b", "c", "d"}, 3);
  TextPos at{1, 1};
  ASSERT_EQ(b->startOp(at), Status::kOk);
  replaceLine(*b, 1, "A");
  insertLine(*b, 4, "e", at);   // needs a fourth record: the group's start is lost
  replaceLine(*b, 3, "C");
  EXPECT_EQ(toEngineCode(b->endOp(at)), ECD_ERR_FATAL);
  EXPECT_TRUE(b->modified());
  EXPECT_FALSE(canUndo(b));
  EXPECT_EQ(text(b), (std::vector<std::string>{"A", "b", "C", "d", "e"}));
}

TEST_F(UndoTest, CapacityThreeKeepsTheMostRecentGroups) {
  Buffer* b = make({"line"}, 3);
  for (int i = 0; i < 50; ++i) {
    ASSERT_EQ(replaceLine(*b, 1, ("v" + std::to_string(i)).c_str()), Status::kOk);
    EXPECT_TRUE(canUndo(b));
  }
  ASSERT_EQ(undo(b), Status::kOk);
  EXPECT_EQ(text(b), (std::vector<std::string>{"v48"}));
  EXPECT_FALSE(canUndo(b));
  EXPECT_TRUE(canRedo(b));
}

TEST_F(UndoTest, OldestGroupsGiveWayToNewOnes) {
  Buffer* b = make({"x"}, 10);
  for (int i = 0; i < 8; ++i) replaceLine(*b, 1, std::to_string(i).c_str());   // 3 records each
  int undone = 0;
  while (undo(b) == Status::kOk) ++undone;
  EXPECT_EQ(undone, 3);
  EXPECT_EQ(text(b), (std::vector<std::string>{"4"}));
  EXPECT_TRUE(b->modified());
}

TEST_F(UndoTest, CapacityOneOrTwoNeverUndoes) {
  for (int32_t capacity : {1, 2}) {
    Buffer* b = make({"x"}, capacity, 8, "c" + std::to_string(capacity) + ".txt");
    TextPos at{1, 1};
    type(b, "abc", at);
    EXPECT_FALSE(canUndo(b));
    b->flushLine();
    EXPECT_FALSE(canUndo(b));
  }
}

TEST_F(UndoTest, GroupsNestToSixteenAndUndoAsOne) {
  Buffer* b = make({"a", "b", "c"});
  TextPos at{2, 1};
  for (int i = 0; i < 16; ++i) ASSERT_EQ(b->startOp(at), Status::kOk);
  EXPECT_EQ(b->startOp(at), static_cast<Status>(1615));
  replaceLine(*b, 1, "A");
  deleteLines(*b, 3, 1, at);
  insertLine(*b, 0, "top", at);
  TextPos typing{2, 2};
  type(b, "!", typing);   // the typing record joins the open group too
  EXPECT_FALSE(canUndo(b)) << "nothing is undoable while a group is open";
  for (int i = 0; i < 16; ++i) ASSERT_EQ(b->endOp(at), Status::kOk);
  EXPECT_EQ(b->endOp(at), static_cast<Status>(1617));
  EXPECT_EQ(text(b), (std::vector<std::string>{"top", "A!", "b"}));
  TextPos caret;
  ASSERT_EQ(b->undo(caret), Status::kOk);
  EXPECT_EQ(text(b), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(caret, (TextPos{2, 1}));
  EXPECT_FALSE(canUndo(b));
}

TEST_F(UndoTest, GroupsKeepTheMarkOfTheirStartAndEnd) {
  Buffer* b = make({"one", "two", "three"});
  UndoPlace start(TextPos{1, 2});
  start.markType = 3;   // a column mark from 1:2 to 2:3
  start.update = TextPos{2, 3};
  ASSERT_EQ(b->startOp(start), Status::kOk);
  replaceLine(*b, 2, "TWO");
  ASSERT_EQ(b->endOp(TextPos{3, 1}), Status::kOk);
  EXPECT_EQ((b->history().record(0).head >> 4) & 7u, 3u);
  TextPos caret;
  UndoPlace place;
  ASSERT_EQ(b->undo(caret, nullptr, &place), Status::kOk);
  EXPECT_EQ(caret, (TextPos{1, 2}));
  EXPECT_EQ(place.markType, 3u);
  EXPECT_EQ(place.update, (TextPos{2, 3}));
  ASSERT_EQ(b->redo(caret, nullptr, &place), Status::kOk);
  EXPECT_EQ(caret, (TextPos{3, 1}));
  EXPECT_EQ(place.markType, 0u);
}

TEST_F(UndoTest, EmptyGroupLeavesNoRecord) {
  Buffer* b = make({"a"});
  ASSERT_EQ(b->startOp(TextPos{1, 1}), Status::kOk);
  ASSERT_EQ(b->endOp(TextPos{1, 1}), Status::kOk);
  EXPECT_EQ(b->history().undoIndex(), 0);
  EXPECT_FALSE(canUndo(b));
}

TEST_F(UndoTest, ScatteredChangesInOneGroupRestoreTextAndBookmarks) {
  Buffer* b = make({"l1", "l2", "l3", "l4", "l5", "l6"});
  b->store().properties().set(5, 1);
  ASSERT_EQ(b->startOp(TextPos{1, 1}), Status::kOk);
  replaceLine(*b, 1, "one");
  replaceLine(*b, 5, "five");
  replaceLine(*b, 3, "three");
  replaceLine(*b, 4, "four");
  replaceLine(*b, 5, "FIVE");
  changeLineBits(*b, 5, 0, 1);
  ASSERT_EQ(b->endOp(TextPos{1, 1}), Status::kOk);
  EXPECT_EQ(b->history().record(1).type(), kUndoRunsChanged);
  EXPECT_EQ(b->store().properties().get(5), 0u);
  ASSERT_EQ(undo(b), Status::kOk);
  EXPECT_EQ(text(b), (std::vector<std::string>{"l1", "l2", "l3", "l4", "l5", "l6"}));
  EXPECT_EQ(b->store().properties().get(5), 1u);
  ASSERT_EQ(redo(b), Status::kOk);
  EXPECT_EQ(text(b), (std::vector<std::string>{"one", "l2", "three", "four", "FIVE", "l6"}));
  EXPECT_EQ(b->store().properties().get(5), 0u);
}

TEST_F(UndoTest, DeletedLinesMoveIntoTheUndoAreaWithoutACopy) {
  std::vector<std::string> lines;
  for (int i = 0; i < 200000; ++i) lines.push_back("line number " + std::to_string(i));
  Buffer* b = make(lines);
  const int32_t blocks = b->store().blockCount();
  TextPos at{1, 1};
  ASSERT_EQ(deleteLines(*b, 1001, 198000, at), Status::kOk);
  EXPECT_EQ(b->lineCount(), 2000);
  EXPECT_EQ(b->store().undoAreaLines(), 198000);
  // Whole blocks changed hands: text and undo area together hold what the text held, plus the two split ones.
  EXPECT_LE(b->store().blockCount() + b->store().undoArea().blockCount(), blocks + 3);
  EXPECT_EQ(b->store().peekLine(1001), "line number 199000");
  ASSERT_EQ(undo(b), Status::kOk);
  EXPECT_EQ(text(b), lines);
  EXPECT_EQ(b->store().undoAreaLines(), 0);
  ASSERT_EQ(redo(b), Status::kOk);
  EXPECT_EQ(b->lineCount(), 2000);
  EXPECT_TRUE(b->store().selfCheck());
  EXPECT_TRUE(b->store().undoArea().selfCheck());
}

TEST_F(UndoTest, UndoAreaLinesAreNeverSaved) {
  Buffer* b = make({"keep", "gone"});
  TextPos at{1, 1};
  deleteLines(*b, 2, 1, at);
  ASSERT_EQ(b->save(nullptr, nullptr, false), 0);
  EXPECT_EQ(read(path("text.txt")), "keep\r\n");
}

TEST_F(UndoTest, FinaliseEndsAlsoWithRedoRecords) {
  Buffer* b = make({"a"});
  replaceLine(*b, 1, "b");
  replaceLine(*b, 1, "c");
  ASSERT_EQ(undo(b), Status::kOk);
  ASSERT_TRUE(canRedo(b));
  EXPECT_EQ(bufferMessage(*b, ECD_FINALISE, 0, 0), 0);
  EXPECT_FALSE(canUndo(b));
  EXPECT_FALSE(canRedo(b));
  EXPECT_EQ(b->store().undoAreaLines(), 0);
  EXPECT_TRUE(b->modified());
  EXPECT_EQ(text(b), (std::vector<std::string>{"b"}));
}

TEST_F(UndoTest, FinaliseOnSaveDiscardsRedoRecordsToo) {
  Engine::instance().options.word[ECD_OPT_FINALISE_ON_SAVE] = 1;
  Buffer* b = make({"a"});
  replaceLine(*b, 1, "b");
  replaceLine(*b, 1, "c");
  ASSERT_EQ(undo(b), Status::kOk);
  EcdSaveRecord record{};
  record.mayFinalise = 1;
  ASSERT_EQ(bufferMessage(*b, ECD_SAVE, 0, reinterpret_cast<intptr_t>(&record)), 0);
  EXPECT_FALSE(canUndo(b));
  EXPECT_FALSE(canRedo(b));
  EXPECT_FALSE(b->modified());
}

TEST_F(UndoTest, ReadOnlyDiscardsHistoryAndRefusesChanges) {
  Buffer* b = make({"a"});
  replaceLine(*b, 1, "b");
  undo(b);
  ASSERT_EQ(b->setProperty(kPropReadOnly, 1), 0);
  EXPECT_FALSE(canUndo(b));
  EXPECT_FALSE(canRedo(b));
  TextPos at{1, 1};
  EXPECT_EQ(toEngineCode(writeChar(*b, 'x', at)), ECD_ERR_READ_ONLY);
  EXPECT_EQ(toEngineCode(b->undo(at)), ECD_ERR_READ_ONLY);
  EXPECT_EQ(bufferMessage(*b, ECD_FINALISE, 0, 0), ECD_ERR_READ_ONLY);
  ASSERT_EQ(b->setProperty(kPropReadOnly, 0), 0);
  EXPECT_FALSE(canUndo(b));
  EXPECT_FALSE(canRedo(b));
  ASSERT_EQ(writeChar(*b, 'x', at), Status::kOk);
  EXPECT_TRUE(canUndo(b));
}

TEST_F(UndoTest, ClearingReadOnlyOnAWritableBufferKeepsItsHistory) {
  Buffer* b = make({"a"});
  replaceLine(*b, 1, "b");
  ASSERT_EQ(bufferMessage(*b, ECD_SET_READ_ONLY, 0, 0), 0);
  EXPECT_TRUE(canUndo(b));
  ASSERT_EQ(undo(b), Status::kOk);
  EXPECT_EQ(text(b), (std::vector<std::string>{"a"}));
}

TEST_F(UndoTest, BufferRowsThroughTheEntryPoint) {
  Buffer* b = make({"a"});
  HEDBUFFER h = toHandle(b);
  EXPECT_EQ(ECD_flBufferMessage(h, ECD_CAN_UNDO, 0, 0), ECD_ERR_NO_OPERATIONS);
  replaceLine(*b, 1, "b");
  EXPECT_EQ(ECD_flBufferMessage(h, ECD_CAN_UNDO, 0, 0), 0);
  EXPECT_EQ(ECD_flBufferMessage(h, ECD_IS_MODIFIED, 0, 0), 0);
  undo(b);
  EXPECT_EQ(ECD_flBufferMessage(h, ECD_CAN_REDO, 0, 0), 0);
  EXPECT_EQ(ECD_flBufferMessage(h, ECD_IS_MODIFIED, 0, 0), ECD_ERR_NOT_SET);
  EXPECT_EQ(ECD_flBufferMessage(h, ECD_FINALISE, 0, 0), 0);
  EXPECT_EQ(ECD_flBufferMessage(h, ECD_CAN_REDO, 0, 0), ECD_ERR_NO_OPERATIONS);
  EXPECT_EQ(ECD_flBufferMessage(h, ECD_SET_UNDO_CAPACITY, 2, 0), 0);
  replaceLine(*b, 1, "c");
  EXPECT_EQ(ECD_flBufferMessage(h, ECD_CAN_UNDO, 0, 0), ECD_ERR_NO_OPERATIONS);
  EXPECT_EQ(ECD_flBufferMessage(h, ECD_IS_MODIFIED, 0, 0), 0);
  EXPECT_EQ(ECD_flBufferMessage(h, ECD_SET_MODIFIED, 1, 0), 0);   // the present state becomes the saved one
  EXPECT_EQ(ECD_flBufferMessage(h, ECD_IS_MODIFIED, 0, 0), ECD_ERR_NOT_SET);
}

TEST_F(UndoTest, ReloadDiscardsHistoryAndReadsSaved) {
  const std::string file = write("r.txt", "one\ntwo\n");
  HEDBUFFER h = nullptr;
  ASSERT_EQ(open(file, ECD_OPEN_READ, &h), 0);
  Buffer* b = Engine::instance().find(h);
  replaceLine(*b, 1, "ONE");
  undo(b);
  ASSERT_EQ(b->reload(0, nullptr), 100);
  EXPECT_FALSE(canUndo(b));
  EXPECT_FALSE(canRedo(b));
  EXPECT_FALSE(b->modified());
  TextPos at{1, 1};
  type(b, "x", at);
  EXPECT_TRUE(b->modified());
  ASSERT_EQ(undo(b), Status::kOk);
  EXPECT_FALSE(b->modified());
}

TEST_F(UndoTest, NoticesTellWhenUndoAndRedoBecomePossible) {
  Buffer* b = make({"a"});
  b->addWindow(reinterpret_cast<OskWindow>(1));
  TextPos at{1, 1};
  type(b, "xy", at);
  EXPECT_EQ(countNotices(ECDB_UNDO), 1);
  EXPECT_EQ(countNotices(ECDB_MODIFIED), 1);
  undo(b);
  EXPECT_EQ(countNotices(ECDB_UNDO), 2);   // impossible again
  EXPECT_EQ(countNotices(ECDB_REDO), 1);
  EXPECT_EQ(countNotices(ECDB_MODIFIED), 2);
  EXPECT_EQ(bufferMessage(*b, ECD_CAN_UNDO, 0, 0), ECD_ERR_NO_OPERATIONS);
  EXPECT_EQ(bufferMessage(*b, ECD_CAN_REDO, 0, 0), 0);
}

int32_t gaugeStarts = 0, gaugeCount = 0, gaugeSteps = 0, gaugeEnds = 0;
int32_t OSK_CALL onStart(int32_t, int32_t count, const char*) {
  ++gaugeStarts;
  gaugeCount = count;
  return 0;
}
int32_t OSK_CALL onStep(int32_t) {
  ++gaugeSteps;
  return 0;
}
int32_t OSK_CALL onEnd() {
  ++gaugeEnds;
  return 0;
}

TEST_F(UndoTest, LongUndoAndRedoShowProgress) {
  Engine::instance().gauge = GaugeCallbacks{onStart, onStep, onEnd};
  gaugeStarts = gaugeSteps = gaugeEnds = 0;
  Buffer* b = make({"a", "b", "c", "d", "e", "f", "g", "h"});
  TextPos at{1, 1};
  b->startOp(at);
  for (int32_t l = 1; l <= 8; l += 2) replaceLine(*b, l, "x");   // four runs in one record
  deleteLines(*b, 2, 1, at);
  insertLine(*b, 0, "new", at);
  b->endOp(at);
  TextPos caret;
  ASSERT_EQ(b->undo(caret, "Undoing"), Status::kOk);
  EXPECT_EQ(gaugeStarts, 1);
  EXPECT_EQ(gaugeCount, 6);
  EXPECT_EQ(gaugeSteps, 3);
  EXPECT_EQ(gaugeEnds, 1);
  ASSERT_EQ(b->redo(caret, nullptr), Status::kOk);   // no caption: no gauge
  EXPECT_EQ(gaugeStarts, 1);
  // A short group shows nothing.
  replaceLine(*b, 1, "y");
  ASSERT_EQ(b->undo(caret, "Undoing"), Status::kOk);
  EXPECT_EQ(gaugeStarts, 1);
}

TEST_F(UndoTest, CapacityChangesThroughTheMessageDiscardHistory) {
  Buffer* b = make({"a"});
  replaceLine(*b, 1, "b");
  EXPECT_EQ(bufferMessage(*b, ECD_SET_UNDO_CAPACITY, 4000, 0), 0);
  EXPECT_EQ(bufferMessage(*b, ECD_GET_UNDO_CAPACITY, 0, 0), 3276);
  EXPECT_EQ(b->history().capacity(), 3276);
  EXPECT_FALSE(canUndo(b));
  EXPECT_TRUE(b->modified());
  replaceLine(*b, 1, "c");
  EXPECT_TRUE(canUndo(b));
}

}  // namespace
}  // namespace osk::test
