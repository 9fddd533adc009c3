# The printing benchmark (bench/print.sh runs it against enscript or a2ps): the print stream of a file written,
# read back and laid out on pages.
add_executable(print_bench ${CMAKE_CURRENT_LIST_DIR}/print_bench.cpp)
target_link_libraries(print_bench PRIVATE osk_lang osk_store osk_print)
