# The colouring benchmark (bench/colouring.sh runs it against grep -c): colouring every line of a C file, and the
# repaint after an edit that opens a block comment at the top.
add_executable(colouring_bench ${CMAKE_CURRENT_LIST_DIR}/colouring_bench.cpp)
target_link_libraries(colouring_bench PRIVATE osk_lang osk_store)
