# The services' dialogs and the settings the program hands over, added to OSKOCS32.
target_sources(OSKOCS32 PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/dialogs.rc
  ${CMAKE_CURRENT_LIST_DIR}/dialogs_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/options_dialog_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/run_command_dialog_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/key_map_dialog_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/customise_dialog_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/services_settings_win32.cpp
)
target_link_libraries(OSKOCS32 PRIVATE osk_dialogs comctl32 comdlg32)
