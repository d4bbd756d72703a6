# SPDX-License-Identifier: GPL-3.0-or-later
# The driver list the registry is compiled from (acquisition/ScopeRegistry.h): one line
# KIV_SCOPE_DRIVER(<key>) per entry of KIV_SCOPE_DRIVERS, in its order. Each driver's folder,
# src/acquisition/drivers/<key>/, holds the driver (kiv_core), its simulator model in sim/
# (kiv-scope-sim) and its tests in tests/ (kiv_core_tests); the global property
# KIV_SCOPE_DRIVER_DIRS lists those folders for the other targets.
set(KIV_SCOPE_DRIVER_LIST "")
set(KIV_SCOPE_DRIVER_DIRS "")
foreach(key IN LISTS KIV_SCOPE_DRIVERS)
  set(dir ${CMAKE_SOURCE_DIR}/src/acquisition/drivers/${key})
  if(NOT EXISTS ${dir})
    message(FATAL_ERROR "KIV_SCOPE_DRIVERS names ${key}, which has no folder src/acquisition/drivers/${key}")
  endif()
  # A key with a hyphen ("rigol-ds1000z") names its entry function with an underscore.
  string(MAKE_C_IDENTIFIER ${key} id)
  string(APPEND KIV_SCOPE_DRIVER_LIST "KIV_SCOPE_DRIVER(${id})\n")
  list(APPEND KIV_SCOPE_DRIVER_DIRS ${dir})
endforeach()
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/acquisition/ScopeDriverList.inc
     CONTENT "${KIV_SCOPE_DRIVER_LIST}")
target_include_directories(kiv_core PUBLIC ${CMAKE_BINARY_DIR}/generated)
set_property(GLOBAL PROPERTY KIV_SCOPE_DRIVER_DIRS ${KIV_SCOPE_DRIVER_DIRS})

# The sources of the listed drivers' <part>/ folders (sim, tests) into out.
function(kiv_scope_driver_sources out part)
  get_property(dirs GLOBAL PROPERTY KIV_SCOPE_DRIVER_DIRS)
  set(found)
  foreach(dir IN LISTS dirs)
    file(GLOB files CONFIGURE_DEPENDS ${dir}/${part}/*.cpp)
    list(APPEND found ${files})
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()
