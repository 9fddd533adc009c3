# The search benchmark (bench/search.sh runs it against grep -c): the buffer search counting matching lines.
add_executable(search_bench ${CMAKE_CURRENT_LIST_DIR}/search_bench.cpp)
target_link_libraries(search_bench PRIVATE osk_lang osk_store)
