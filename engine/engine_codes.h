// Status numbers of the buffer layer and their one translation into engine error codes.
#pragma once

#include <cstdint>

#include "engine/store/line_store.h"

namespace osk {

// The buffer layer's own status numbers (1600 and up). kOk is 0.
enum class Status : int32_t {
  kOk = 0,
  kFailure = 1600,
  kLockFailed = 1601,
  kFileError = 1602,
  kFileError2 = 1603,
  kNoMemory = 1604,
  kOpenWriteFailed = 1605,
  kWriteFailed = 1606,
  kReadFailed = 1607,
  kSwap = 1608,
  kCommandFailed = 1609,      // 1609 to 1617: a command could not be carried out
  kBadLine = 1612,
  kCommandFailedLast = 1617,
  kBadName = 1621,
  kReadOnly = 1624,
  kAlreadyLoaded = 1625,
  kNoSuchFile = 1626,
  kNoSuchDirectory = 1627,
  kFileExists = 1628,
  kBadMargin = 1630,
  kLoadAborted = 1634,
  kSaveAborted = 1635,
  kCreatedWithWarning = 1650,  // creation succeeded; counts as success
  kLineTooLong = 1652,
  kUnnamed = 1654,
};

// The store's statuses as the buffer layer reports them.
Status fromStore(StoreStatus status);

// The single translation from buffer-layer statuses to the interface's engine codes (0 or -1 to -32).
int32_t toEngineCode(Status status);

// The message text of an engine code ("File error." ...); any unknown code gives "Unknown Error.".
const char* engineErrorText(int32_t code);

}  // namespace osk
