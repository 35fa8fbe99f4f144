# The spreadsheet module on LibreOffice Calc, built only where the office and its SDK are: the
# SDK ships the UNO runtime's own headers, and the headers of the office's interfaces are made
# here from its type libraries.
set(ORBEL_LIBREOFFICE_DIR /usr/lib/libreoffice CACHE PATH "Where LibreOffice is installed")
set(_lo_program ${ORBEL_LIBREOFFICE_DIR}/program)
find_program(ORBEL_CPPUMAKER cppumaker PATHS ${ORBEL_LIBREOFFICE_DIR}/sdk/bin NO_DEFAULT_PATH)
find_path(ORBEL_UNO_INCLUDE_DIR cppuhelper/bootstrap.hxx PATH_SUFFIXES libreoffice)
find_library(ORBEL_UNO_CPPU uno_cppu PATHS ${ORBEL_LIBREOFFICE_DIR}/sdk/lib NO_DEFAULT_PATH)
find_library(ORBEL_UNO_CPPUHELPER uno_cppuhelpergcc3 PATHS ${ORBEL_LIBREOFFICE_DIR}/sdk/lib
  NO_DEFAULT_PATH)
find_library(ORBEL_UNO_SAL uno_sal PATHS ${ORBEL_LIBREOFFICE_DIR}/sdk/lib NO_DEFAULT_PATH)
if(NOT ORBEL_CPPUMAKER OR NOT ORBEL_UNO_INCLUDE_DIR OR NOT ORBEL_UNO_CPPU OR
   NOT ORBEL_UNO_CPPUHELPER OR NOT ORBEL_UNO_SAL OR NOT EXISTS ${_lo_program}/types/offapi.rdb)
  message(STATUS "LibreOffice and its SDK not found: the spreadsheet module on Calc is not built")
  set(ORBEL_CALC OFF CACHE INTERNAL "")
  return()
endif()
set(ORBEL_CALC ON CACHE INTERNAL "")

set(_uno_out ${CMAKE_CURRENT_BINARY_DIR}/uno)
add_custom_command(OUTPUT ${_uno_out}/stamp
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${_uno_out}/com
  COMMAND ${ORBEL_CPPUMAKER} -Gc -O${_uno_out} ${_lo_program}/types.rdb
    ${_lo_program}/types/offapi.rdb
  COMMAND ${CMAKE_COMMAND} -E touch ${_uno_out}/stamp
  DEPENDS ${_lo_program}/types.rdb ${_lo_program}/types/offapi.rdb
  COMMENT "Making the UNO headers of LibreOffice's interfaces" VERBATIM)
add_custom_target(orbel_uno_headers DEPENDS ${_uno_out}/stamp)

add_library(orbel_spreadsheet_calc_module MODULE SpreadsheetModule.cpp CalcProgram.cpp
  CalcProcess.cpp)
add_dependencies(orbel_spreadsheet_calc_module orbel_uno_headers)
# The SDK's headers are not ours to keep free of warnings.
target_include_directories(orbel_spreadsheet_calc_module SYSTEM PRIVATE ${_uno_out}
  ${ORBEL_UNO_INCLUDE_DIR})
target_compile_definitions(orbel_spreadsheet_calc_module PRIVATE LINUX UNX CPPU_ENV=gcc3
  ORBEL_LIBREOFFICE_PROGRAM_DIR="${_lo_program}")
target_link_libraries(orbel_spreadsheet_calc_module PRIVATE orbel_warnings orbel_spreadsheet
  orbel_platform ${ORBEL_UNO_CPPUHELPER} ${ORBEL_UNO_CPPU} ${ORBEL_UNO_SAL})
set_target_properties(orbel_spreadsheet_calc_module PROPERTIES OUTPUT_NAME orbel-spreadsheet-calc
  PREFIX "" LIBRARY_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/lib
  BUILD_RPATH ${_lo_program} INSTALL_RPATH ${_lo_program})
