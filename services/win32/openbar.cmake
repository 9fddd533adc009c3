# The Open Bar's Win32 side, added to OSKOCS32.
target_sources(OSKOCS32 PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/openbar_platform_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/openbar_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/openbar_dialogs_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/openbar_api.cpp
  ${CMAKE_CURRENT_LIST_DIR}/openbar.rc
)
target_link_libraries(OSKOCS32 PRIVATE osk_openbar comdlg32)
