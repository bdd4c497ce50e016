# The packed clue sources cdata1.bin ... cdata5.bin, one per word list, made
# from WordNet (and Faker's name lists) by make_clue_sources.py for the words
# of data1.bin ... data5.bin. Generated once into KORVO_DATA_CACHE, shared by
# every build tree, and copied beside the programs with the copyright notices
# of the sources.

set(korvo_clue_generator ${CMAKE_CURRENT_SOURCE_DIR}/make_clue_sources.py)
file(GLOB korvo_clue_modules CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/clues/*.py)

set(korvo_clue_cached "")
set(korvo_clue_shipped "")
set(korvo_clue_word_lists "")
foreach(n RANGE 1 5)
  list(APPEND korvo_clue_cached ${KORVO_DATA_CACHE}/cdata${n}.bin)
  list(APPEND korvo_clue_shipped ${KORVO_DATA_DIR}/cdata${n}.bin)
  list(APPEND korvo_clue_word_lists ${KORVO_DATA_CACHE}/data${n}.bin)
endforeach()

# The word lists come from the word_lists target when it is part of the build;
# otherwise the lists already in the cache are used as they are.
set(korvo_clue_list_depends "")
if(TARGET word_lists)
  set(korvo_clue_list_depends ${korvo_clue_word_lists})
endif()

add_custom_command(
  OUTPUT ${korvo_clue_cached}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KORVO_DATA_CACHE}
  COMMAND ${Python3_EXECUTABLE} -B ${korvo_clue_generator}
          --word-lists ${KORVO_DATA_CACHE}
          --out ${KORVO_DATA_CACHE}
          --report ${KORVO_DATA_CACHE}/clue_sources_report.txt
  DEPENDS ${korvo_clue_generator} ${korvo_clue_modules} ${korvo_clue_list_depends}
  COMMENT "Generating the clue sources cdata1.bin ... cdata5.bin"
  VERBATIM)

# Each source's copyright notice travels with the data made from it.
set(korvo_clue_notices
  /usr/share/doc/wordnet-base/copyright wordnet-base.copyright
  /usr/share/doc/python3-fake-factory/copyright python3-fake-factory.copyright)
set(korvo_clue_notice_files "")
while(korvo_clue_notices)
  list(POP_FRONT korvo_clue_notices from to)
  add_custom_command(
    OUTPUT ${KORVO_DATA_DIR}/${to}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${from} ${KORVO_DATA_DIR}/${to}
    DEPENDS ${from}
    VERBATIM)
  list(APPEND korvo_clue_notice_files ${KORVO_DATA_DIR}/${to})
endwhile()

foreach(n RANGE 1 5)
  add_custom_command(
    OUTPUT ${KORVO_DATA_DIR}/cdata${n}.bin
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${KORVO_DATA_CACHE}/cdata${n}.bin ${KORVO_DATA_DIR}/cdata${n}.bin
    DEPENDS ${KORVO_DATA_CACHE}/cdata${n}.bin
    VERBATIM)
endforeach()

add_custom_target(clue_sources ALL DEPENDS ${korvo_clue_shipped} ${korvo_clue_notice_files})
if(TARGET word_lists)
  add_dependencies(clue_sources word_lists)
endif()

install(FILES ${korvo_clue_shipped} ${korvo_clue_notice_files} DESTINATION share/korvo)
