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
set_target_properties(orbel_imaging_module PROPERTIES
  INSTALL_RPATH "$ORIGIN/${ORBEL_MODULEDIR_TO_LIB}")
install(TARGETS orbel_imaging_module LIBRARY DESTINATION ${ORBEL_INSTALL_MODULEDIR})
# The script component sits beside the control module, which registers it with itself.
set_target_properties(orbel_script_module PROPERTIES
  INSTALL_RPATH "$ORIGIN/${ORBEL_MODULEDIR_TO_LIB}")
install(TARGETS orbel_script_module LIBRARY DESTINATION ${ORBEL_INSTALL_MODULEDIR})
# The web browser component, and the start page its Home shows.
set_target_properties(orbel_browser_module PROPERTIES
  INSTALL_RPATH "$ORIGIN/${ORBEL_MODULEDIR_TO_LIB}")
install(TARGETS orbel_browser_module LIBRARY DESTINATION ${ORBEL_INSTALL_MODULEDIR})
install(FILES ${PROJECT_SOURCE_DIR}/data/browser/start.html DESTINATION ${ORBEL_INSTALL_BROWSERDIR})
# The spreadsheet component: the workbook-file program the container starts, and the one over
# LibreOffice Calc the demo starts, which also finds the office's own libraries where they are.
set_target_properties(orbel_spreadsheet_module PROPERTIES
  INSTALL_RPATH "$ORIGIN/${ORBEL_MODULEDIR_TO_LIB}")
install(TARGETS orbel_spreadsheet_module LIBRARY DESTINATION ${ORBEL_INSTALL_MODULEDIR})
if(TARGET orbel_spreadsheet_calc_module)
  get_target_property(_calc_rpath orbel_spreadsheet_calc_module INSTALL_RPATH)
  set_target_properties(orbel_spreadsheet_calc_module PROPERTIES
    INSTALL_RPATH "$ORIGIN/${ORBEL_MODULEDIR_TO_LIB};${_calc_rpath}")
  install(TARGETS orbel_spreadsheet_calc_module LIBRARY DESTINATION ${ORBEL_INSTALL_MODULEDIR})
endif()
install(TARGETS orbel-container RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS orbel_host_adapter orbel_host_store orbel_rows
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})

# Headers, under include/orbel with the paths hosts include them by ("platform/...",
# "host/adapter/HostAdapter.h", "host/wrapper/OrbelWrapper.h"): the host kit's own and what they
# include, not the rest of the platform or the control's insides. The row layouts are the
# protocol: a host that keeps the tables reads rows with that code.
set(ORBEL_HOST_HEADERS
  host/adapter/EmbeddedControl.h host/adapter/HostAdapter.h host/adapter/ProgramPaths.h
  host/store/SqliteTableStore.h host/store/TableStore.h host/store/StoreRows.h
  host/wrapper/OrbelWrapper.h host/wrapper/OrbelVersion.h src/store/RecordFormats.h
  platform/headless/HeadlessPlatform.h platform/framework/Wnd.h
  platform/automation/ComRuntime.h)
set(ORBEL_HOST_SYSTEM_INCLUDES "")
if(TARGET orbel_platform_qt)
  list(APPEND ORBEL_HOST_HEADERS platform/qt/QtPlatform.h)
  set(ORBEL_HOST_SYSTEM_INCLUDES "$<TARGET_PROPERTY:Qt6::Widgets,INTERFACE_INCLUDE_DIRECTORIES>")
endif()
install(CODE "
  set(ORBEL_CXX \"${CMAKE_CXX_COMPILER}\")
  set(ORBEL_SOURCE_DIR \"${PROJECT_SOURCE_DIR}\")
  set(ORBEL_BINARY_DIR \"${PROJECT_BINARY_DIR}\")
  set(ORBEL_ENTRY_HEADERS \"${ORBEL_HOST_HEADERS}\")
  set(ORBEL_SYSTEM_INCLUDES \"${ORBEL_HOST_SYSTEM_INCLUDES}\")
  set(ORBEL_DEST \"\${CMAKE_INSTALL_PREFIX}/${ORBEL_INSTALL_INCLUDEDIR}\")
  include(\"${CMAKE_CURRENT_LIST_DIR}/InstallHostHeaders.cmake\")")

# Two example hosts with their build files, which build against the installed kit as they are.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/examples/headless-host
  DESTINATION ${ORBEL_INSTALL_EXAMPLESDIR})
if(TARGET orbel_platform_qt)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/examples/qt-host
    DESTINATION ${ORBEL_INSTALL_EXAMPLESDIR})
endif()

# The CMake package: find_package(Orbel [COMPONENTS Qt]).
include(CMakePackageConfigHelpers)
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
if(TARGET orbel_platform_qt)
  configure_file(${PROJECT_SOURCE_DIR}/data/orbel-qt.pc.in ${PROJECT_BINARY_DIR}/orbel-qt.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/orbel-qt.pc DESTINATION ${ORBEL_INSTALL_PKGCONFIGDIR})
endif()
configure_file(${PROJECT_SOURCE_DIR}/data/OrbelConfig.cmake.in
  ${PROJECT_BINARY_DIR}/OrbelConfig.cmake @ONLY)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/OrbelConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/OrbelConfig.cmake ${PROJECT_BINARY_DIR}/OrbelConfigVersion.cmake
  DESTINATION ${ORBEL_INSTALL_CMAKEDIR})
