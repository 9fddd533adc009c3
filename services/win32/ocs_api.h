// The common services library's public interface: the OCS_ entry points exported by name from OSKOCS32.dll.
#pragma once

#include "engine/ecd_types.h"
#include "services/ocs_config_api.h"
#include "services/win32/ocs_bars_api.h"
#include "services/ocs_dialogs_api.h"
#include "services/ocs_print_api.h"
#include "services/win32/ocs_file_api.h"

#ifdef __cplusplus
extern "C" {
#endif

#define OCS_HANDSHAKE "OSK2HANDSHAKE"

// Answers 1 whatever the string: the services accept every program that links them.
int32_t OSK_CALL OCS_fbCheckVersion(const char* handshake);

#ifdef __cplusplus
}
#endif
