# Compile settings shared by every target of the project. Warnings are errors where the project
# is checked (CI and the scripts turn the option on), not for everyone who builds the source
# with another compiler.
option(VIDORA_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" OFF)
add_library(vidora_common_config INTERFACE)
target_compile_features(vidora_common_config INTERFACE cxx_std_20)
target_compile_options(vidora_common_config INTERFACE -Wall -Wextra
  $<$<BOOL:${VIDORA_WARNINGS_AS_ERRORS}>:-Werror>)
target_compile_definitions(vidora_common_config INTERFACE
  QT_NO_CAST_FROM_BYTEARRAY QT_NO_URL_CAST_FROM_STRING QT_USE_QSTRINGBUILDER)
set(CMAKE_AUTOMOC ON)

# The program's own libraries say how every text is encoded: no QString from a bare char*.
# Tests and tools may still write plain literals.
add_library(vidora_program_config INTERFACE)
target_compile_definitions(vidora_program_config INTERFACE QT_NO_CAST_FROM_ASCII)

# One static library per layer; its sources are every .cpp/.h of its folder.
# DEPS are public, PRIVATE_DEPS private. A layer without sources yet is an
# interface library, so later work slots in without touching the build.
function(vidora_layer name)
  cmake_parse_arguments(ARG "" "" "DEPS;PRIVATE_DEPS" ${ARGN})
  file(GLOB _sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(_sources)
    add_library(${name} STATIC ${_sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS}
      PRIVATE vidora_common_config vidora_program_config ${ARG_PRIVATE_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# One test executable per subsystem, registered with ctest and labelled:
#   vidora_tests(name LIBS libraries... [APPLICATION Core|Widgets])
# Files named *_e2e.cpp go into a second executable labelled e2e; other .cpp files of
# the folder (fixtures, environments) go into both.
function(vidora_tests name)
  cmake_parse_arguments(ARG "" "APPLICATION" "LIBS" ${ARGN})
  file(GLOB _unit CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  file(GLOB _e2e CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_e2e.cpp)
  file(GLOB _shared CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(FILTER _shared EXCLUDE REGEX "_(test|e2e)\\.cpp$")
  file(GLOB _support CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/support/*.cpp)
  # APPLICATION Core or Widgets: the test program gets that application object, and widget
  # tests the helpers for windows.
  if(ARG_APPLICATION)
    list(APPEND _support ${PROJECT_SOURCE_DIR}/tests/support/application/${ARG_APPLICATION}Application.cpp)
  endif()
  # Helpers that need widgets, for the test programs that have them.
  if(ARG_APPLICATION STREQUAL "Widgets")
    file(GLOB _widget_support CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/support/widgets/*.cpp)
    list(APPEND _support ${_widget_support})
  endif()
  foreach(kind unit e2e)
    if(kind STREQUAL unit)
      set(_files ${_unit})
      set(_target ${name}_tests)
    else()
      set(_files ${_e2e})
      set(_target ${name}_e2e_tests)
    endif()
    if(NOT _files)
      continue()
    endif()
    add_executable(${_target} ${_files} ${_shared} ${_support})
    target_include_directories(${_target} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(${_target} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main GTest::gmock vidora_common_config)
    target_compile_definitions(${_target} PRIVATE
      VIDORA_PROGRAM_DIR="${VIDORA_PROGRAM_DIR}"
      VIDORA_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
    if(TARGET vidora_program)
      add_dependencies(${_target} vidora_program)
    endif()
    gtest_discover_tests(${_target}
      PROPERTIES LABELS ${kind} ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
      DISCOVERY_TIMEOUT 60)
  endforeach()
endfunction()
