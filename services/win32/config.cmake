# The Win32 edge of the services instance, configurations, histories and dates, added to OSKOCS32.
target_sources(OSKOCS32 PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/profile_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/history_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/date_format_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/config_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/instance_win32.cpp
)
