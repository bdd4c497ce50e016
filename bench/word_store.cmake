# FindNext over a word list of about 100,000 words (bench_word_store).
find_package(benchmark REQUIRED)
add_executable(bench_word_store ${CMAKE_CURRENT_LIST_DIR}/word_store.cpp)
target_link_libraries(bench_word_store PRIVATE korvo_bench_words korvo_core benchmark::benchmark)
target_compile_definitions(bench_word_store PRIVATE KORVO_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
