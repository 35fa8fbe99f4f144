# Installs the headers a host compiles against and nothing else: the entry headers of the host
# kit and every header of ours they include, found by asking the compiler. Run at install time
# with ORBEL_CXX, ORBEL_SOURCE_DIR, ORBEL_BINARY_DIR, ORBEL_ENTRY_HEADERS, ORBEL_SYSTEM_INCLUDES
# (the include folders of outside libraries, searched last, as system folders, and never
# installed) and ORBEL_DEST.
set(probe "${ORBEL_BINARY_DIR}/host-headers-probe.cpp")
set(text "")
foreach(h IN LISTS ORBEL_ENTRY_HEADERS)
  string(APPEND text "#include \"${h}\"\n")
endforeach()
file(WRITE "${probe}" "${text}")
set(system_flags "")
foreach(dir IN LISTS ORBEL_SYSTEM_INCLUDES)
  list(APPEND system_flags -idirafter "${dir}")
endforeach()
execute_process(
  COMMAND "${ORBEL_CXX}" -std=c++20 -MM -I "${ORBEL_SOURCE_DIR}" -I "${ORBEL_BINARY_DIR}"
          ${system_flags} "${probe}"
  OUTPUT_VARIABLE deps ERROR_VARIABLE problem RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot list the host kit's headers: ${problem}")
endif()
string(REGEX REPLACE "\\\\\n" " " deps "${deps}")
string(REGEX REPLACE "^[^:]*:" "" deps "${deps}")
separate_arguments(deps UNIX_COMMAND "${deps}")
foreach(file IN LISTS deps)
  if(file STREQUAL probe OR NOT file MATCHES "\\.h$")
    continue()
  endif()
  get_filename_component(file "${file}" ABSOLUTE)
  file(RELATIVE_PATH fromBinary "${ORBEL_BINARY_DIR}" "${file}")
  file(RELATIVE_PATH fromSource "${ORBEL_SOURCE_DIR}" "${file}")
  if(NOT fromBinary MATCHES "^\\.\\./")
    set(rel "${fromBinary}")
  elseif(NOT fromSource MATCHES "^\\.\\./")
    set(rel "${fromSource}")
  else()
    continue()
  endif()
  get_filename_component(dir "${rel}" DIRECTORY)
  file(INSTALL DESTINATION "${ORBEL_DEST}/${dir}" TYPE FILE FILES "${file}")
endforeach()
