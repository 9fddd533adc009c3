# OLE drag and drop of marked text, added to OSKOCS32.
target_sources(OSKOCS32 PRIVATE ${CMAKE_CURRENT_LIST_DIR}/drag_drop_win32.cpp)
target_link_libraries(OSKOCS32 PRIVATE ole32 shell32 uuid)
