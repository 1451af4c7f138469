zelvor_add_bench(bench_history SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bench_history.cpp LIBS zelvor_filelist)
