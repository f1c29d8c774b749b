# A quoted include that climbs out of its folder ("../") would reach another
# layer's files whatever the include roots say: none is allowed under src/.
file(GLOB_RECURSE sources "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
set(breaches "")
foreach(source IN LISTS sources)
  file(STRINGS "${source}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]*\\.\\./")
  if(lines)
    list(APPEND breaches "${source}: ${lines}")
  endif()
endforeach()
if(breaches)
  list(JOIN breaches "\n" report)
  message(FATAL_ERROR "Includes that leave their layer's include root:\n${report}")
endif()
