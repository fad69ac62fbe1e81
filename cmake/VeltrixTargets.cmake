# veltrix_library(NAME SOURCES ... LIBS ...): one library target per subsystem folder.
function(veltrix_library name)
  cmake_parse_arguments(L "" "" "SOURCES;LIBS;PRIVATE_LIBS" ${ARGN})
  add_library(${name} STATIC ${L_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${L_LIBS} PRIVATE ${L_PRIVATE_LIBS})
endfunction()

# veltrix_test(NAME SOURCES ... LIBS ... [GUI] [TIMEOUT s]): a GoogleTest executable whose cases
# ctest lists one by one. Every test gets its own registry file, so no test sees another's settings
# and none touches the user's.
function(veltrix_test name)
  cmake_parse_arguments(T "GUI" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_executable(${name} ${T_SOURCES})
  if(T_GUI)
    target_link_libraries(${name} PRIVATE ${T_LIBS} veltrix_test_main_gui)
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} veltrix_test_main_core)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES
      TIMEOUT ${T_TIMEOUT}
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VELTRIX_REGISTRY=${CMAKE_CURRENT_BINARY_DIR}/${name}-registry.db;VELTRIX_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data")
endfunction()
