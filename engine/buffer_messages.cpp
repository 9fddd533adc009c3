#include "engine/buffer_messages.h"

#include <cstring>

#include "engine/buffer.h"
#include "engine/ecd_api.h"

namespace osk {

namespace {

int32_t yesNo(bool yes, int32_t no) { return yes ? 0 : no; }

}  // namespace

bool isBufferMessage(uint32_t code) {
  switch (code) {
    case ECD_SAVE: case ECD_FINALISE: case ECD_SET_MODIFIED: case ECD_SET_FILE_NAME: case ECD_SET_WORD_WRAP:
    case ECD_SET_FIRST_OFFSET: case ECD_SET_LEFT_MARGIN: case ECD_SET_RIGHT_MARGIN: case ECD_SET_TAB_LENGTH:
    case ECD_SET_TABS_AS_SPACES: case ECD_SET_AUTO_MARGIN: case ECD_RELOAD: case ECD_SET_UNIX:
    case ECD_SET_READ_ONLY: case ECD_SET_UNDO_CAPACITY: case ECD_CAN_UNDO: case ECD_CAN_REDO: case ECD_HAS_MARK:
    case ECD_IS_MODIFIED: case ECD_GET_FILE_NAME: case ECD_IS_WORD_WRAP: case ECD_GET_FIRST_OFFSET:
    case ECD_GET_LEFT_MARGIN: case ECD_GET_RIGHT_MARGIN: case ECD_GET_TAB_LENGTH: case ECD_IS_TABS_AS_SPACES:
    case ECD_GET_UNDO_CAPACITY: case ECD_IS_AUTO_MARGIN: case ECD_IS_UNIX: case ECD_IS_READ_ONLY:
    case ECD_IS_FILE_READ_ONLY:
      return true;
    default:
      return false;
  }
}

int32_t bufferMessage(Buffer& b, uint32_t code, uintptr_t wParam, intptr_t lParam) {
  const auto w = static_cast<intptr_t>(wParam);
  switch (code) {
    case ECD_SAVE: {
      const auto* record = reinterpret_cast<const EcdSaveRecord*>(lParam);
      if (record == nullptr) return b.save(nullptr, nullptr, true);
      return b.save(record->fileName, record->caption, record->mayFinalise != 0);
    }
    case ECD_FINALISE: return b.finalise();
    case ECD_SET_MODIFIED: return b.setProperty(kPropModified, w);
    case ECD_SET_FILE_NAME: return b.setProperty(kPropFileName, lParam);
    case ECD_SET_WORD_WRAP: return b.setProperty(kPropWordWrap, w);
    case ECD_SET_FIRST_OFFSET: return b.setProperty(kPropFirstOffset, w);
    case ECD_SET_LEFT_MARGIN: return b.setProperty(kPropLeftMargin, w);
    case ECD_SET_RIGHT_MARGIN: return b.setProperty(kPropRightMargin, w);
    case ECD_SET_TAB_LENGTH: return b.setProperty(kPropTabLength, w);
    case ECD_SET_TABS_AS_SPACES: return b.setProperty(kPropTabsAsSpaces, w);
    case ECD_SET_AUTO_MARGIN: return b.setProperty(kPropAutoMargin, w);
    case ECD_RELOAD: return b.reload(static_cast<int32_t>(w), reinterpret_cast<const char*>(lParam));
    case ECD_SET_UNIX: return b.setProperty(kPropUnixLineEnds, w);
    case ECD_SET_READ_ONLY: return b.setProperty(kPropReadOnly, w);
    case ECD_SET_UNDO_CAPACITY: return b.setProperty(kPropUndoCapacity, w);
    case ECD_CAN_UNDO: return yesNo(b.property(kPropUndoPossible) == 1, ECD_ERR_NO_OPERATIONS);
    case ECD_CAN_REDO: return yesNo(b.property(kPropRedoPossible) == 1, ECD_ERR_NO_OPERATIONS);
    case ECD_HAS_MARK: return yesNo(b.has(kStateMark), ECD_ERR_NO_SELECTION);
    case ECD_IS_MODIFIED: return yesNo(b.modified(), ECD_ERR_NOT_SET);
    case ECD_GET_FILE_NAME: {
      if (!b.named()) return ECD_ERR_UNNAMED;
      char* destination = reinterpret_cast<char*>(lParam);
      if (destination == nullptr) return ECD_ERR_PARAMETER;
      // Names are at most 260 characters, so they fit the 261-byte destination.
      std::memcpy(destination, b.fileName().c_str(), b.fileName().size() + 1);
      return 0;
    }
    case ECD_IS_WORD_WRAP: return yesNo(b.wordWrap(), ECD_ERR_NOT_SET);
    case ECD_GET_FIRST_OFFSET: return b.firstOffset();
    case ECD_GET_LEFT_MARGIN: return b.leftMargin();
    case ECD_GET_RIGHT_MARGIN: return b.rightMargin();
    case ECD_GET_TAB_LENGTH: return b.tabLength();
    case ECD_IS_TABS_AS_SPACES: return yesNo(b.has(kStateTabsAsSpaces), ECD_ERR_NOT_SET);
    case ECD_GET_UNDO_CAPACITY: return b.undoCapacity();
    case ECD_IS_AUTO_MARGIN: return yesNo(b.autoMargin(), ECD_ERR_NOT_SET);
    case ECD_IS_UNIX: return yesNo(b.store().unixLineEnds(), ECD_ERR_NOT_SET);
    case ECD_IS_READ_ONLY: return yesNo(b.readOnly(), ECD_ERR_NOT_SET);
    case ECD_IS_FILE_READ_ONLY: return yesNo(b.has(kStateFileReadOnly), ECD_ERR_NOT_SET);
    default: return ECD_ERR_INVALID_MESSAGE;
  }
}

}  // namespace osk
