zelvor_add_bench(bench_copy SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bench_copy.cpp LIBS zelvor_fileops)
