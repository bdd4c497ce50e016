# cmake -DOUT=file -DHEADER=file -DNOTICES="a;b;c" -P make_copyright.cmake
# Writes the package's copyright file: HEADER, then each notice under a line
# naming the file it ships as in /usr/share/korvo.
file(READ ${HEADER} text)
foreach(notice IN LISTS NOTICES)
  get_filename_component(name ${notice} NAME)
  file(READ ${notice} body)
  string(APPEND text "\n==> /usr/share/korvo/${name} <==\n\n${body}")
endforeach()
file(WRITE ${OUT} "${text}")
