# The packed clue sources cdata1.bin ... cdata5.bin, one per word list, made
# from WordNet (and Faker's name lists, GCIDE, the ISO country tables, tzdata
# and libgweather's city database) by make_clue_sources.py for the words
# of the generated lists, and the shipped lists data1.bin ... data5.bin (the
# generated ones less the rare words no clue explains) with their word scores
# data1.scores ... data5.scores. Generated once into KORVO_DATA_CACHE, shared
# by every build tree, and copied beside the programs with the copyright
# notices of the sources.

set(korvo_clue_generator ${CMAKE_CURRENT_SOURCE_DIR}/make_clue_sources.py)
file(GLOB korvo_clue_modules CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/clues/*.py)
# No clue answers or holds a word of the exclusion list.
set(korvo_clue_excluded ${CMAKE_CURRENT_SOURCE_DIR}/excluded_words.txt)
set(korvo_clue_breakfast ${CMAKE_CURRENT_SOURCE_DIR}/breakfast_words.txt)
# Hand-written clues of common short words no source explains.
list(APPEND korvo_clue_modules ${CMAKE_CURRENT_SOURCE_DIR}/extra_clues.txt)
# SCOWL entries that are misspellings or no word: left out of the lists.
list(APPEND korvo_clue_modules ${CMAKE_CURRENT_SOURCE_DIR}/misspelt_words.txt)
list(APPEND korvo_clue_modules ${CMAKE_CURRENT_SOURCE_DIR}/exclusions.py)

# The word lists come from the word_lists target (its cache folder, one per
# size level); without it, from data1.bin ... data5.bin already in the cache.
if(TARGET word_lists AND DEFINED KORVO_WORD_LIST_CACHE)
  set(korvo_clue_lists_dir ${KORVO_WORD_LIST_CACHE})
  set(korvo_clue_cache ${KORVO_DATA_CACHE}/clue-sources-${KORVO_WORD_LIST_LEVEL})
else()
  set(korvo_clue_lists_dir ${KORVO_DATA_CACHE})
  set(korvo_clue_cache ${KORVO_DATA_CACHE}/clue-sources)
endif()

set(korvo_clue_cached "")
set(korvo_clue_shipped "")
set(korvo_clue_list_depends "")
foreach(n RANGE 1 5)
  foreach(file cdata${n}.bin data${n}.bin data${n}.scores)
    list(APPEND korvo_clue_cached ${korvo_clue_cache}/${file})
    list(APPEND korvo_clue_shipped ${KORVO_DATA_DIR}/${file})
  endforeach()
  if(TARGET word_lists)
    list(APPEND korvo_clue_list_depends ${korvo_clue_lists_dir}/data${n}.bin)
  endif()
endforeach()

add_custom_command(
  OUTPUT ${korvo_clue_cached}
  COMMAND ${Python3_EXECUTABLE} -B ${korvo_clue_generator}
          --word-lists ${korvo_clue_lists_dir}
          --excluded ${korvo_clue_excluded}
          --breakfast ${korvo_clue_breakfast}
          --out ${korvo_clue_cache}
          --report ${korvo_clue_cache}/report.txt
          --stats ${korvo_clue_cache}/stats.json
  BYPRODUCTS ${korvo_clue_cache}/stats.json
  DEPENDS ${korvo_clue_generator} ${korvo_clue_modules} ${korvo_clue_excluded} ${korvo_clue_breakfast}
          ${korvo_clue_list_depends}
  COMMENT "Generating the clue sources cdata1.bin ... cdata5.bin, the shipped word lists and their scores"
  VERBATIM)

# Each source's copyright notice travels with the data made from it. The word
# lists already ship WordNet's as wordnet-copyright.txt.
set(korvo_clue_notices
  /usr/share/doc/python3-fake-factory/copyright python3-fake-factory-copyright.txt
  /usr/share/doc/dict-gcide/copyright dict-gcide-copyright.txt
  /usr/share/doc/iso-codes/copyright iso-codes-copyright.txt
  /usr/share/doc/tzdata/copyright tzdata-copyright.txt
  /usr/share/doc/libgweather-4-common/copyright libgweather-4-common-copyright.txt)
if(NOT TARGET word_lists)
  list(APPEND korvo_clue_notices /usr/share/doc/wordnet-base/copyright wordnet-copyright.txt)
endif()
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
  foreach(file cdata${n}.bin data${n}.bin data${n}.scores)
    add_custom_command(
      OUTPUT ${KORVO_DATA_DIR}/${file}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${korvo_clue_cache}/${file} ${KORVO_DATA_DIR}/${file}
      DEPENDS ${korvo_clue_cache}/${file}
      VERBATIM)
  endforeach()
endforeach()

# The word_lists target (word_lists.cmake) depends on the shipped lists made
# here, so the clue sources do not depend on that target, only on the cached
# lists it generates.
add_custom_target(clue_sources ALL DEPENDS ${korvo_clue_shipped} ${korvo_clue_notice_files})

include(GNUInstallDirs)
install(FILES ${korvo_clue_shipped} ${korvo_clue_notice_files} DESTINATION ${CMAKE_INSTALL_DATADIR}/korvo)

# The data report data/REPORT.md, on demand (it is committed with the data
# generators): `cmake --build --preset release --target data_report`.
if(DEFINED KORVO_WORD_LIST_CACHE)
  add_custom_target(data_report
    COMMAND ${Python3_EXECUTABLE} -B ${CMAKE_CURRENT_SOURCE_DIR}/make_report.py
            --word-lists ${KORVO_WORD_LIST_CACHE} --clue-sources ${korvo_clue_cache}
            --out ${CMAKE_CURRENT_SOURCE_DIR}/REPORT.md
    DEPENDS ${korvo_clue_cached} ${CMAKE_CURRENT_SOURCE_DIR}/make_report.py
    COMMENT "Writing data/REPORT.md"
    VERBATIM)
endif()
