zelvor_add_bench(bench_textsearch
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/search_textsearch.cpp ${CMAKE_CURRENT_SOURCE_DIR}/search_textgen.cpp
    LIBS zelvor_search)
zelvor_add_bench(bench_finder
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/search_finder.cpp ${CMAKE_CURRENT_SOURCE_DIR}/search_findfiles.cpp
            ${CMAKE_CURRENT_SOURCE_DIR}/search_textgen.cpp
    LIBS zelvor_searchform)
