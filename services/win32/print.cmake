# Printing and print preview, added to OSKOCS32: the spooler, the preview control and the print options dialog.
target_sources(OSKOCS32 PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/print_gdi_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/print_job_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/print_preview_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/print_settings_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/print.rc
)
target_link_libraries(OSKOCS32 PRIVATE osk_print comdlg32 comctl32 winspool)
