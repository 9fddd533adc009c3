#include "services/win32/ocs_api.h"

extern "C" int32_t OSK_CALL OCS_fbCheckVersion(const char* /*handshake*/) { return 1; }
