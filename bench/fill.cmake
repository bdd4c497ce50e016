# Fill benchmark (bench_fill): runs korvo-cli fill over fixed seeds for the
# sizes 9, 11, 13, 15 and 21 in the four modes with the shipped word list 1
# and prints filled/attempts, median and 90th-percentile seconds and steps.
# Run it with `cmake --build build/release --target bench_fill`, or call
# bench/fill.py directly for other seeds, sizes, modes or limits.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(KORVO_BENCH_FILL_SEEDS 8 CACHE STRING "Random patterns per size and mode of bench_fill")
set(bench_fill_depends korvo-cli)
if(TARGET word_lists)
  list(APPEND bench_fill_depends word_lists)
endif()
add_custom_target(bench_fill
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/fill.py
          --cli $<TARGET_FILE:korvo-cli> --seeds ${KORVO_BENCH_FILL_SEEDS} --verify
  DEPENDS ${bench_fill_depends}
  USES_TERMINAL
  COMMENT "Filling random grids of every size in every mode")
