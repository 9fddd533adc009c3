# The Replace All benchmark (bench/replace.sh runs it against sed and vim): the search session the Replace dialog
# runs, over a buffer of the engine.
add_executable(replace_bench ${CMAKE_CURRENT_LIST_DIR}/replace_bench.cpp)
target_link_libraries(replace_bench PRIVATE osk_app_core osk_engine_core)
