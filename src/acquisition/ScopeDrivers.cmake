# The driver list the registry is compiled from (acquisition/ScopeRegistry.h): one line
# KIV_SCOPE_DRIVER(<key>) per entry of KIV_SCOPE_DRIVERS, in its order.
set(KIV_SCOPE_DRIVER_LIST "")
foreach(key IN LISTS KIV_SCOPE_DRIVERS)
  if(NOT EXISTS ${CMAKE_SOURCE_DIR}/src/acquisition/drivers/${key})
    message(FATAL_ERROR "KIV_SCOPE_DRIVERS names ${key}, which has no folder src/acquisition/drivers/${key}")
  endif()
  string(APPEND KIV_SCOPE_DRIVER_LIST "KIV_SCOPE_DRIVER(${key})\n")
endforeach()
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/acquisition/ScopeDriverList.inc
     CONTENT "${KIV_SCOPE_DRIVER_LIST}")
target_include_directories(kiv_core PUBLIC ${CMAKE_BINARY_DIR}/generated)
