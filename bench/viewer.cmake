zelvor_add_bench(bench_viewer SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bench_viewer.cpp $<TARGET_OBJECTS:zelvor_res>
                 LIBS zelvor_app)
target_link_options(bench_viewer PRIVATE -municode)
