# The paint plan benchmark: a full screen of a 1,000,000-line buffer at its top, middle and end.
add_executable(paint_bench ${CMAKE_CURRENT_LIST_DIR}/paint_bench.cpp)
target_link_libraries(paint_bench PRIVATE osk_engine_core)
