# Build-time half of the layering rule (cmake/layering.cmake): no source of the
# headless core includes a Qt header. Run as: cmake -DROOT=... -DRULE=... -P this file.
file(GLOB_RECURSE sources ${ROOT}/src/*.h ${ROOT}/src/*.cpp ${ROOT}/tests/*.h ${ROOT}/tests/*.cpp
     ${ROOT}/bench/*.h ${ROOT}/bench/*.cpp)
list(FILTER sources EXCLUDE REGEX "^${ROOT}/(src|tests)/gui/")
set(found "")
foreach(source ${sources})
  file(STRINGS ${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]Q[A-Za-z0-9_]*[>/\"]")
  foreach(line ${lines})
    file(RELATIVE_PATH rel ${ROOT} ${source})
    string(STRIP "${line}" line)
    list(APPEND found "  ${rel}: ${line}")
  endforeach()
endforeach()
if(found)
  list(JOIN found "\n" found)
  message(FATAL_ERROR "${RULE}. Qt headers included in the core:\n${found}")
endif()
