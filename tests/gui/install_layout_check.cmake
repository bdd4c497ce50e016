# Installs the window program's part of the build into a scratch folder and
# checks the layout: the program in bin, the help page in share/korvo, the
# desktop entry, the puzzle file type and the icons in share.
# Run with -DBUILD_DIR=... -DSCRATCH=...
file(REMOVE_RECURSE "${SCRATCH}")
set(ENV{DESTDIR} "${SCRATCH}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --component shell --prefix /opt/korvo
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "install failed:\n${output}")
endif()

set(root "${SCRATCH}/opt/korvo")
foreach(path
    bin/korvo
    share/korvo/help/index.html
    share/applications/korvo.desktop
    share/mime/packages/korvo.xml
    share/icons/hicolor/48x48/apps/korvo.png
    share/icons/hicolor/48x48/mimetypes/application-x-korvo-puzzle.png)
  if(NOT EXISTS "${root}/${path}")
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endforeach()

file(READ "${root}/share/applications/korvo.desktop" desktop)
foreach(line "Exec=korvo %f" "Icon=korvo" "MimeType=application/x-korvo-puzzle;" "Name=Tolvane! Rodirirov Ivozova")
  string(FIND "${desktop}" "${line}\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "desktop entry lacks '${line}'")
  endif()
endforeach()

# The file type compiles and claims *.kvz when the tool is there.
find_program(update_mime update-mime-database)
if(update_mime)
  execute_process(COMMAND "${update_mime}" "${root}/share/mime" RESULT_VARIABLE result
    OUTPUT_QUIET ERROR_VARIABLE output)
  file(READ "${root}/share/mime/globs2" globs)
  string(FIND "${globs}" "application/x-korvo-puzzle:*.kvz" at)
  if(NOT result EQUAL 0 OR at EQUAL -1)
    message(FATAL_ERROR "puzzle file type not registered:\n${output}")
  endif()
endif()
file(REMOVE_RECURSE "${SCRATCH}")
