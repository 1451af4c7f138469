# The start-up benchmark launches the real Zelvor.exe and the minimal window program beside it.
add_executable(minimal_window WIN32 ${CMAKE_CURRENT_SOURCE_DIR}/minimal_window.cpp)
target_link_libraries(minimal_window PRIVATE comctl32)
target_link_options(minimal_window PRIVATE -municode)
zelvor_add_bench(bench_startup SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bench_startup.cpp LIBS zelvor_config zelvor_filelist psapi)
target_include_directories(bench_startup PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
add_dependencies(bench_startup zelvor minimal_window)
