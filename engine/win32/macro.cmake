# Keystroke macro hooks and the macro window.
target_sources(OSKECD32 PRIVATE ${CMAKE_CURRENT_LIST_DIR}/macro_hooks.cpp)
