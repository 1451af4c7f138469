zelvor_add_bench(bench_filelist SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bench_filelist.cpp LIBS zelvor_filelist)
