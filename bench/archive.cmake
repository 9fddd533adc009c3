# The installation archive benchmark: compressing, expanding and checking an archive the size of the editor's.
add_executable(archive_bench ${CMAKE_CURRENT_LIST_DIR}/archive_bench.cpp)
target_link_libraries(archive_bench PRIVATE osk_setup_core)
