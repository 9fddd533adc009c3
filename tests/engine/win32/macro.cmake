# Keystroke macros recorded and played in a test frame, under Wine.
osk_add_test(test_macro_hooks
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/macro_hooks_test.cpp
  LIBS OSKECD32 user32 gdi32
  GUI)
