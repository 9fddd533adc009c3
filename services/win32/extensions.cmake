# The extension libraries' Win32 edge and the extensions dialog, added to OSKOCS32.
target_sources(OSKOCS32 PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/extensions_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/extensions.rc
)
target_link_libraries(OSKOCS32 PRIVATE osk_extensions comdlg32)
