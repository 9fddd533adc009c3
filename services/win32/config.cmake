# The configuration, history and date services' Win32 edge, added to OSKOCS32.
target_sources(OSKOCS32 PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/profile_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/history_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/date_format_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/config_win32.cpp
)
