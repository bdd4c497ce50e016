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

# Fill benchmark on grid sets (bench_fill_sets): mode 1 beside the thorough
# mode 5 on the random patterns and the themed, open and boxed-corner grids of
# bench/grids; bench/fill_sets.py --help for the peer filler, threads and limits.
add_custom_target(bench_fill_sets
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/fill_sets.py --cli $<TARGET_FILE:korvo-cli>
  DEPENDS ${bench_fill_depends}
  USES_TERMINAL
  COMMENT "Filling the benchmark's grid sets in modes 1 and 5")

# The committed grid sets keep the rules of their sets, and the checker finds
# each kind of broken grid.
if(KORVO_BUILD_TESTS)
  add_test(NAME fill_sets_well_formed
           COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/make_fill_sets.py
                   --check ${CMAKE_CURRENT_LIST_DIR}/grids)
  add_test(NAME fill_sets_checker COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/make_fill_sets_test.py)
endif()
