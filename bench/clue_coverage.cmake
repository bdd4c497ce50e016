# Clue coverage benchmark (bench_clue_coverage): 20 fills of every shipped
# word list through the document (korvo-cli fill --data-folder) and, per
# list, the share of real clues, generic clues repeated in one puzzle, clues
# failing the data build's checks and the mean SCOWL level of placed words.
# Run it with `cmake --build build/release --target bench_clue_coverage`, or
# call bench/clue_coverage directly for other lists, seeds or sizes.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(bench_clue_coverage_depends korvo-cli)
if(TARGET clue_sources)
  list(APPEND bench_clue_coverage_depends clue_sources)
endif()
add_custom_target(bench_clue_coverage
  COMMAND ${Python3_EXECUTABLE} -B ${CMAKE_CURRENT_LIST_DIR}/clue_coverage --cli $<TARGET_FILE:korvo-cli>
  DEPENDS ${bench_clue_coverage_depends}
  USES_TERMINAL
  COMMENT "Filling 20 grids of every word list and checking their clues")
