# The editing benchmark: keystrokes, line edits with undo and redo, and undoing the deletion of every line.
add_executable(editing_bench ${CMAKE_CURRENT_LIST_DIR}/editing_bench.cpp)
target_link_libraries(editing_bench PRIVATE osk_engine_core)
