# Warnings, version and sanitizers for every target of the project, without add_compile_options:
# everything built here links this, nothing built elsewhere sees it.
add_library(veltrix_options INTERFACE)
target_compile_options(veltrix_options INTERFACE -Wall -Wextra)
target_compile_definitions(veltrix_options INTERFACE
  VELTRIX_VERSION_MAJOR=${PROJECT_VERSION_MAJOR}
  VELTRIX_VERSION_MINOR=${PROJECT_VERSION_MINOR}
  VELTRIX_VERSION_PATCH=${PROJECT_VERSION_PATCH})
if(VELTRIX_SANITIZE OR VELTRIX_FUZZ)
  target_compile_options(veltrix_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(veltrix_options INTERFACE -fsanitize=address,undefined)
endif()
if(VELTRIX_FUZZ)
  target_compile_options(veltrix_options INTERFACE -fsanitize=fuzzer-no-link)
endif()

# veltrix_library(NAME SOURCES ... LIBS ... PRIVATE_LIBS ...): a library of one src/ folder.
# Headers are included as "folder/Header.h". The include root a library exports holds its own
# folder and nothing else (a link in the build tree), so a target reaches exactly the folders of
# the libraries it links and an include against the layers fails to build.
function(veltrix_library name)
  cmake_parse_arguments(L "" "" "SOURCES;LIBS;PRIVATE_LIBS" ${ARGN})
  add_library(${name} STATIC ${L_SOURCES})
  get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  set(root ${PROJECT_BINARY_DIR}/include/${folder})
  if(NOT EXISTS ${root}/${folder})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)
  endif()
  target_include_directories(${name} PUBLIC ${root})
  target_link_libraries(${name} PUBLIC veltrix_options ${L_LIBS} PRIVATE ${L_PRIVATE_LIBS})
endfunction()

# veltrix_executable(NAME SOURCES ... LIBS ...): a program built from the libraries above.
function(veltrix_executable name)
  cmake_parse_arguments(E "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${E_SOURCES})
  target_link_libraries(${name} PRIVATE veltrix_options ${E_LIBS})
endfunction()

# veltrix_test(NAME SOURCES ... LIBS ... [GUI | WINDOW] [TIMEOUT s]): a GoogleTest executable
# whose cases ctest lists one by one. Every test gets its own registry file, so no test sees
# another's settings and none touches the user's. GUI tests draw offscreen; WINDOW tests open real
# windows on an X server of their own with a window manager (tests/support/window).
function(veltrix_test name)
  cmake_parse_arguments(T "GUI;WINDOW" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_executable(${name} ${T_SOURCES})
  if(T_WINDOW)
    target_link_libraries(${name} PRIVATE veltrix_options ${T_LIBS} veltrix_test_window)
  elseif(T_GUI)
    target_link_libraries(${name} PRIVATE veltrix_options ${T_LIBS} veltrix_test_main_gui)
  else()
    target_link_libraries(${name} PRIVATE veltrix_options ${T_LIBS} veltrix_test_main_core)
  endif()
  # One variable only: gtest_discover_tests hands a list on as separate properties, so every
  # entry after the first was lost. The mains choose the offscreen platform themselves.
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES
      TIMEOUT ${T_TIMEOUT}
      ENVIRONMENT "VELTRIX_REGISTRY=${CMAKE_CURRENT_BINARY_DIR}/${name}-registry.db")
endfunction()
