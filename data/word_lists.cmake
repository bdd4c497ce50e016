# The word lists, generated from SCOWL and WordNet by make_word_lists.py into
# the shared cache. The clue generator (clue_sources.cmake) reads them, leaves
# out the rare words it cannot clue and writes the shipped data1.bin ...
# data5.bin with their scores; this file copies the sources' copyright
# notices beside the executables, and its word_lists target stands for the
# shipped lists.
#
# For other generators in this folder:
#   KORVO_WORD_LIST_TEXT_FILES  the same five lists as plain text, one word a
#                               line: ${KORVO_WORD_LIST_CACHE}/words1.txt ...
#                               words5.txt (usable as DEPENDS of a custom
#                               command in this folder).
# For the tests: the global property KORVO_WORD_LISTS_TEST_COMMAND, the
# command that runs the generator's own tests.
include(GNUInstallDirs)

set(KORVO_WORD_LIST_LEVEL 60 CACHE STRING "Largest SCOWL size level of the shipped word lists (10 to 95)")
set(KORVO_SCOWL_DIR /usr/share/dict/scowl CACHE PATH "SCOWL word lists (Debian package scowl)")
set(KORVO_WORDNET_DIR /usr/share/wordnet CACHE PATH "WordNet dictionary files (Debian package wordnet-base)")
set(KORVO_SCOWL_COPYRIGHT /usr/share/doc/scowl/copyright CACHE FILEPATH "SCOWL's copyright and permission notice")
set(KORVO_WORDNET_COPYRIGHT /usr/share/doc/wordnet-base/copyright CACHE FILEPATH "WordNet's copyright and permission notice")

foreach(source IN ITEMS KORVO_SCOWL_DIR KORVO_WORDNET_DIR KORVO_SCOWL_COPYRIGHT KORVO_WORDNET_COPYRIGHT)
  if(NOT EXISTS "${${source}}")
    message(FATAL_ERROR "${${source}} not found: run scripts/setup to install scowl and wordnet-base, "
                        "or configure with -DKORVO_BUILD_DATA=OFF")
  endif()
endforeach()
if(NOT KORVO_WORD_LIST_LEVEL MATCHES "^[0-9]+$" OR KORVO_WORD_LIST_LEVEL LESS 10 OR KORVO_WORD_LIST_LEVEL GREATER 95)
  message(FATAL_ERROR "KORVO_WORD_LIST_LEVEL must be a SCOWL size level from 10 to 95, not '${KORVO_WORD_LIST_LEVEL}'")
endif()

# One cache folder per level, so builds with different levels do not undo
# each other's generation.
set(KORVO_WORD_LIST_CACHE ${KORVO_DATA_CACHE}/word-lists-${KORVO_WORD_LIST_LEVEL})

set(word_list_generator ${CMAKE_CURRENT_SOURCE_DIR}/make_word_lists.py)
# The words kept out of every list (and every clue), and the module that
# applies them with their inflections.
set(KORVO_EXCLUDED_WORDS ${CMAKE_CURRENT_SOURCE_DIR}/excluded_words.txt)
set(KORVO_EXCLUSION_MODULE ${CMAKE_CURRENT_SOURCE_DIR}/exclusions.py)
file(GLOB word_list_sources CONFIGURE_DEPENDS
  ${KORVO_SCOWL_DIR}/*
  ${KORVO_WORDNET_DIR}/data.*
  ${KORVO_WORDNET_DIR}/*.exc)

set(word_list_cached)
set(word_list_shipped)
set(KORVO_WORD_LIST_TEXT_FILES)
foreach(n RANGE 1 5)
  list(APPEND word_list_cached ${KORVO_WORD_LIST_CACHE}/data${n}.bin)
  list(APPEND word_list_shipped ${KORVO_DATA_DIR}/data${n}.bin)
  list(APPEND KORVO_WORD_LIST_TEXT_FILES ${KORVO_WORD_LIST_CACHE}/words${n}.txt)
endforeach()

# The words that fail the breakfast test, applied like the exclusion list.
set(KORVO_BREAKFAST_WORDS ${CMAKE_CURRENT_SOURCE_DIR}/breakfast_words.txt)

# The generator skips the work (in a fraction of a second) when the cache
# already holds its output for the same sources and options, so a second
# build preset does not generate again.
add_custom_command(
  OUTPUT ${word_list_cached} ${KORVO_WORD_LIST_TEXT_FILES} ${KORVO_WORD_LIST_CACHE}/report.txt
  COMMAND ${Python3_EXECUTABLE} ${word_list_generator}
          --scowl ${KORVO_SCOWL_DIR}
          --wordnet ${KORVO_WORDNET_DIR}
          --level ${KORVO_WORD_LIST_LEVEL}
          --excluded ${KORVO_EXCLUDED_WORDS}
          --breakfast ${KORVO_BREAKFAST_WORDS}
          --out ${KORVO_WORD_LIST_CACHE}
          --text ${KORVO_WORD_LIST_CACHE}
          --report ${KORVO_WORD_LIST_CACHE}/report.txt
  DEPENDS ${word_list_generator} ${KORVO_EXCLUSION_MODULE} ${KORVO_EXCLUDED_WORDS} ${KORVO_BREAKFAST_WORDS}
          ${word_list_sources}
  COMMENT "Generating the word lists (SCOWL level ${KORVO_WORD_LIST_LEVEL})"
  VERBATIM)

set(word_list_notices ${KORVO_DATA_DIR}/scowl-copyright.txt ${KORVO_DATA_DIR}/wordnet-copyright.txt)
add_custom_command(
  OUTPUT ${word_list_notices}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KORVO_DATA_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy ${KORVO_SCOWL_COPYRIGHT} ${KORVO_DATA_DIR}/scowl-copyright.txt
  COMMAND ${CMAKE_COMMAND} -E copy ${KORVO_WORDNET_COPYRIGHT} ${KORVO_DATA_DIR}/wordnet-copyright.txt
  DEPENDS ${KORVO_SCOWL_COPYRIGHT} ${KORVO_WORDNET_COPYRIGHT}
  COMMENT "Copying the copyright notices of the word lists into ${KORVO_DATA_DIR}"
  VERBATIM)

# data1.bin ... data5.bin in KORVO_DATA_DIR are made by clue_sources.cmake.
add_custom_target(word_lists ALL DEPENDS ${word_list_shipped} ${word_list_notices})

install(FILES ${word_list_notices} DESTINATION ${CMAKE_INSTALL_DATADIR}/korvo)

set_property(GLOBAL PROPERTY KORVO_WORD_LISTS_TEST_COMMAND
             ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/make_word_lists_test.py)
