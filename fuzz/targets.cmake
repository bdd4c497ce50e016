# The fuzz targets, shared by the libFuzzer build (fuzz/CMakeLists.txt) and
# the regression replays of the test suite (tests/fuzz_replay): every
# fuzz/<name>_fuzz.cpp is one target <name>, with its seed corpus in
# fuzz/corpus/<name>/ and its regression inputs in fuzz/regressions/<name>/.
set(KORVO_FUZZ_DIR ${CMAKE_CURRENT_LIST_DIR})

file(GLOB _korvo_fuzz_sources CONFIGURE_DEPENDS ${KORVO_FUZZ_DIR}/*_fuzz.cpp)
set(KORVO_FUZZ_TARGETS "")
# A target whose reader is not part of the core yet names the source it
# needs in a line "// Needs: src/<path>"; it is left out until that exists.
foreach(_source ${_korvo_fuzz_sources})
  get_filename_component(_stem ${_source} NAME_WE)
  string(REGEX REPLACE "_fuzz$" "" _name ${_stem})
  file(STRINGS ${_source} _needs REGEX "^// Needs: ")
  set(_ready TRUE)
  foreach(_line ${_needs})
    string(REGEX REPLACE "^// Needs: *" "" _needed "${_line}")
    if(NOT EXISTS ${KORVO_FUZZ_DIR}/../${_needed})
      set(_ready FALSE)
    endif()
  endforeach()
  if(_ready)
    list(APPEND KORVO_FUZZ_TARGETS ${_name})
  endif()
endforeach()
list(SORT KORVO_FUZZ_TARGETS)

# korvo_fuzz_link(target name): the libraries a target's code needs: the
# core, and those its source names in lines "// Links: <library>".
function(korvo_fuzz_link target name)
  file(STRINGS ${KORVO_FUZZ_DIR}/${name}_fuzz.cpp links REGEX "^// Links: ")
  foreach(line ${links})
    string(REGEX REPLACE "^// Links: *" "" library "${line}")
    target_link_libraries(${target} PRIVATE ${library})
  endforeach()
  target_link_libraries(${target} PRIVATE korvo_core)
  # The tests' header-only helpers (support/…) serve the targets as well.
  target_include_directories(${target} PRIVATE ${KORVO_FUZZ_DIR} ${KORVO_FUZZ_DIR}/../tests)
endfunction()
