#include "engine/engine_codes.h"

#include "engine/ecd_api.h"

namespace osk {

Status fromStore(StoreStatus status) {
  switch (status) {
    case StoreStatus::kOk: return Status::kOk;
    case StoreStatus::kNoMemory: return Status::kNoMemory;
    case StoreStatus::kReadFailed: return Status::kReadFailed;
    case StoreStatus::kWriteFailed: return Status::kWriteFailed;
    case StoreStatus::kLoadAborted: return Status::kLoadAborted;
    case StoreStatus::kSaveAborted: return Status::kSaveAborted;
    case StoreStatus::kRefused:
    case StoreStatus::kFailure:
    case StoreStatus::kFailure2: return Status::kFailure;
  }
  return Status::kFailure;
}

int32_t toEngineCode(Status status) {
  const int32_t s = static_cast<int32_t>(status);
  switch (status) {
    case Status::kOk:
    case Status::kCreatedWithWarning: return 0;
    case Status::kLockFailed: return ECD_ERR_FATAL;
    case Status::kFileError:
    case Status::kFileError2:
    case Status::kOpenWriteFailed:
    case Status::kReadFailed: return ECD_ERR_FILE;
    case Status::kNoMemory: return ECD_ERR_MEMORY;
    case Status::kWriteFailed: return ECD_ERR_DISK_WRITE;
    case Status::kSwap: return ECD_ERR_SWAP;
    case Status::kBadName: return ECD_ERR_INVALID_NAME;
    case Status::kReadOnly: return ECD_ERR_READ_ONLY;
    case Status::kAlreadyLoaded: return ECD_ERR_ALREADY_LOADED;
    case Status::kNoSuchFile: return ECD_ERR_NO_FILE;
    case Status::kNoSuchDirectory: return ECD_ERR_INVALID_DIRECTORY;
    case Status::kFileExists: return ECD_ERR_FILE_EXISTS;
    case Status::kBadMargin: return ECD_ERR_INVALID_MARGIN;
    case Status::kLoadAborted: return ECD_ERR_LOAD_ABORTED;
    case Status::kSaveAborted: return ECD_ERR_SAVE_ABORTED;
    case Status::kUnnamed: return ECD_ERR_UNNAMED;
    default: break;
  }
  if (s >= 1609 && s <= 1617) return ECD_ERR_COMMAND_FAILED;
  return ECD_ERR_FATAL;
}

const char* engineErrorText(int32_t code) {
  static const char* const kTexts[] = {
      "File error.",           "Disk write error.", "Parameter error.",    "Insufficient Memory.",
      "Swap file error.",      "Unknown Error.",    "Fatal error.",        "Unknown Error.",
      "Resource error.",       "Class already initialised.", "Class not initialised.", "Empty buffer.",
      "Macro seg read error.", "Macro seg corrupt.", "Cannot find required DLL.", "Command Failed.",
      "File does not exist.",  "Invalid directory.", "File exists.",       "File missing.",
      "File already loaded.",  "File is read only.", "File is unnamed.",   "File name is invalid.",
      "Range Snap.",           "No selection.",     "No operations.",      "Not set.",
      "Invalid Margin.",       "Invalid Message.",  "Load Aborted.",       "Save Aborted.",
  };
  if (code <= -1 && code >= -32) return kTexts[-code - 1];
  return "Unknown Error.";
}

}  // namespace osk
