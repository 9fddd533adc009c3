# Keystroke macros (buffer, files, recorder and player) and the print stream writer.
target_sources(osk_lang PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/macro_buffer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/macro_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/macro_recorder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/print_stream.cpp)
