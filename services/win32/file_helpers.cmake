# The services' file and drawing helpers for the program, added to OSKOCS32.
target_sources(OSKOCS32 PRIVATE ${CMAKE_CURRENT_LIST_DIR}/file_helpers_win32.cpp)
