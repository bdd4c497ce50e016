# The five clue installs of the first-run setup, timed together (bench_install).
add_executable(bench_install ${CMAKE_CURRENT_LIST_DIR}/install.cpp)
target_link_libraries(bench_install PRIVATE korvo_bench_words korvo_core)
target_compile_definitions(bench_install PRIVATE KORVO_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
