# Menus and tool bars on Windows, added to OSKOCS32.
target_sources(OSKOCS32 PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/menus_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tool_bars_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tool_bar_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tool_tip_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tool_bar_dialog_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bars.rc
)
target_link_libraries(OSKOCS32 PRIVATE osk_bars)
