# Keystroke macros and the print stream.
osk_add_test(test_macro_print
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/macro_file_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/macro_recorder_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/print_stream_test.cpp
  LIBS osk_lang)

osk_add_fuzz(fuzz_macro_load SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_macro_load.cpp LIBS osk_lang)
