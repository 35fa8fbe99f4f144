# What `cmake --install` puts in a prefix: the platform libraries, the control module, the
# test container (and the demo, from host/demo), the static host kit (adapter, SQLite store,
# row layouts) with the headers a host needs, and orbel.pc. Installed programs and libraries
# find each other through RPATHs relative to themselves, so a prefix can be moved.
include_guard(GLOBAL)
include(${CMAKE_CURRENT_LIST_DIR}/OrbelLayout.cmake)

# Shared libraries find their siblings beside them; the module finds the platform one level
# up; programs look in the library folder.
set_target_properties(orbel_platform PROPERTIES INSTALL_RPATH "$ORIGIN")
set_target_properties(orbel_module PROPERTIES INSTALL_RPATH "$ORIGIN/${ORBEL_MODULEDIR_TO_LIB}")
set_target_properties(orbel-container PROPERTIES INSTALL_RPATH "$ORIGIN/${ORBEL_BIN_TO_LIB}")

install(TARGETS orbel_platform LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
if(TARGET orbel_platform_qt)
  set_target_properties(orbel_platform_qt PROPERTIES INSTALL_RPATH "$ORIGIN")
  install(TARGETS orbel_platform_qt LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
endif()
install(TARGETS orbel_module LIBRARY DESTINATION ${ORBEL_INSTALL_MODULEDIR})
install(TARGETS orbel-container RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS orbel_host_adapter orbel_host_store orbel_rows
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})

# Headers, under include/orbel with the paths hosts include them by ("platform/...",
# "host/adapter/HostAdapter.h", "host/wrapper/OrbelWrapper.h").
install(DIRECTORY ${PROJECT_SOURCE_DIR}/platform/
  DESTINATION ${ORBEL_INSTALL_INCLUDEDIR}/platform
  FILES_MATCHING PATTERN "*.h")
foreach(part adapter store)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/host/${part}/
    DESTINATION ${ORBEL_INSTALL_INCLUDEDIR}/host/${part}
    FILES_MATCHING PATTERN "*.h")
endforeach()
install(FILES ${CMAKE_BINARY_DIR}/host/wrapper/OrbelWrapper.h
  DESTINATION ${ORBEL_INSTALL_INCLUDEDIR}/host/wrapper)
# The row layouts are the protocol: a host that keeps the tables reads rows with this code.
install(FILES ${PROJECT_SOURCE_DIR}/src/store/RecordFormats.h
  DESTINATION ${ORBEL_INSTALL_INCLUDEDIR}/src/store)

# orbel.pc finds its prefix from where it lies, so a moved prefix needs no edit.
get_target_property(ORBEL_MODULE_NAME orbel_module OUTPUT_NAME)
set(ORBEL_MODULE_FILE ${ORBEL_MODULE_NAME}${CMAKE_SHARED_MODULE_SUFFIX})
# The store library links libpq when it was built with the server-backed store.
get_target_property(ORBEL_STORE_DEFS orbel_host_store INTERFACE_COMPILE_DEFINITIONS)
set(ORBEL_PC_REQUIRES_STORE "")
if(ORBEL_STORE_DEFS MATCHES "ORBEL_WITH_POSTGRES")
  set(ORBEL_PC_REQUIRES_STORE " libpq")
endif()
configure_file(${PROJECT_SOURCE_DIR}/data/orbel.pc.in ${PROJECT_BINARY_DIR}/orbel.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/orbel.pc DESTINATION ${ORBEL_INSTALL_PKGCONFIGDIR})
