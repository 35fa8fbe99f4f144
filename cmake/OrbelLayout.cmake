# Where an installation puts things, relative to its prefix, and how a program in bin/ finds
# them from its own folder. The demo bakes the relative paths in, so an installed tree works
# wherever it is unpacked.
include_guard(DIRECTORY)
include(GNUInstallDirs)

set(ORBEL_INSTALL_MODULEDIR ${CMAKE_INSTALL_LIBDIR}/orbel)
set(ORBEL_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/orbel)
set(ORBEL_INSTALL_SAMPLESDIR ${CMAKE_INSTALL_DATADIR}/orbel/samples)
set(ORBEL_INSTALL_TEMPLATESDIR ${CMAKE_INSTALL_DATADIR}/orbel/templates)
set(ORBEL_INSTALL_BROWSERDIR ${CMAKE_INSTALL_DATADIR}/orbel/browser)
set(ORBEL_INSTALL_PKGCONFIGDIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
set(ORBEL_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/Orbel)
set(ORBEL_INSTALL_EXAMPLESDIR ${CMAKE_INSTALL_DATADIR}/orbel/examples)

# orbel_relative(VAR FROM TO): the path from install folder FROM to install folder TO, both
# relative to the prefix ("bin" to "lib" gives "../lib").
function(orbel_relative var from to)
  file(RELATIVE_PATH rel /prefix/${from} /prefix/${to})
  string(REGEX REPLACE "/$" "" rel "${rel}")
  if(rel STREQUAL "")
    set(rel ".")
  endif()
  set(${var} ${rel} PARENT_SCOPE)
endfunction()

orbel_relative(ORBEL_BIN_TO_LIB ${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_LIBDIR})
orbel_relative(ORBEL_BIN_TO_MODULEDIR ${CMAKE_INSTALL_BINDIR} ${ORBEL_INSTALL_MODULEDIR})
orbel_relative(ORBEL_BIN_TO_SAMPLES ${CMAKE_INSTALL_BINDIR} ${ORBEL_INSTALL_SAMPLESDIR})
orbel_relative(ORBEL_MODULEDIR_TO_LIB ${ORBEL_INSTALL_MODULEDIR} ${CMAKE_INSTALL_LIBDIR})
orbel_relative(ORBEL_PKGCONFIG_TO_PREFIX ${ORBEL_INSTALL_PKGCONFIGDIR} .)
orbel_relative(ORBEL_CMAKEDIR_TO_PREFIX ${ORBEL_INSTALL_CMAKEDIR} .)
