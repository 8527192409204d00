# cmake -DFOLDER=... -DSTAMP=... -P check-floor.cmake: refuses a file of the
# ground floor (FOLDER) that includes a file of the project outside it. A
# quoted include must name a file beside the one that includes it; no
# include climbs out with "..", or names a folder of the floors above, in
# quotes or brackets. Touches STAMP when every file passes.
file(GLOB files ${FOLDER}/*.h ${FOLDER}/*.cpp ${FOLDER}/*.inc)
foreach(file IN LISTS files)
  file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*([\"<])([^\">]*)[\">].*" "\\1\\2" include "${line}")
    string(SUBSTRING "${include}" 1 -1 name)
    if(name MATCHES "\\.\\.|^(app|controls|editor|tools|core)[/\\\\]" OR
       (include MATCHES "^\"" AND (name MATCHES "[/\\\\]" OR NOT EXISTS ${FOLDER}/${name})))
      message(FATAL_ERROR "${file}: includes ${line}: the ground floor stands on the standard "
        "library and the platform, and includes no file of the project outside its folder")
    endif()
  endforeach()
endforeach()
file(TOUCH ${STAMP})
