# The Debian package korvo_<version>_<arch>.deb, made by CPack from the
# install rules: cmake --build --preset release --target package (or
# scripts/package, which also checks it). The version is the project's.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tolvane! Rodirirov Ivozova")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "crossword builder: design, fill, print and export puzzles")
# The long description, in lines of at most 80 characters.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "A desktop crossword builder. A grid of 9 to 21 squares a side starts from a"
  "random symmetric block pattern; the constructor toggles blocks, types theme"
  "words and circles squares, and the fill engine completes the grid from an"
  "English word list. Every entry gets a clue from a clue database built from"
  "WordNet. The finished page is edited, printed, saved as a puzzle file (.kvz)"
  "and exported as Across Lite text, Across Lite, ipuz or PDF. The headless"
  "builder korvo-cli fills and converts puzzles from the command line.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${KORVO_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries' packages (Qt 6, the C++ runtime) come from dpkg-shlibdeps;
# the fonts are not a linked library: the page's default face "Arial" is
# matched by Liberation Sans.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-liberation2)
# Online Help opens the help page in the browser through xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Most of the package is the clue sources (about 60 MB); gzip packs them in
# seconds where xz takes a minute of processor time for a quarter less.
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)
include(CPack)
