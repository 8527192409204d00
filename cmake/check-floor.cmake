# cmake -DFOLDER=... -DSTAMP=... -P check-floor.cmake: refuses a file of the
# ground floor (FOLDER) that includes a file of the project outside it. A
# quoted include must name a file beside the one that includes it, and no
# include climbs out with "..". Touches STAMP when every file passes.
file(GLOB files ${FOLDER}/*.h ${FOLDER}/*.cpp ${FOLDER}/*.inc)
foreach(file IN LISTS files)
  file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*([\"<])([^\">]*)[\">].*" "\\1\\2" include "${line}")
    string(SUBSTRING "${include}" 1 -1 name)
    if(name MATCHES "\\.\\." OR (include MATCHES "^\"" AND (name MATCHES "[/\\\\]" OR NOT EXISTS ${FOLDER}/${name})))
      message(FATAL_ERROR "${file}: includes ${line}: the ground floor stands on the standard "
        "library alone, and includes no file of the project outside its folder")
    endif()
  endforeach()
endforeach()
file(TOUCH ${STAMP})
