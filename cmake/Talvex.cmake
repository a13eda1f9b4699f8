# Shared build helpers.

# QScintilla (Debian's libqscintilla2-qt6-dev) ships no CMake or pkg-config file.
find_path(QSCINTILLA_INCLUDE_DIR Qsci/qsciscintilla.h
          HINTS ${Qt6Core_INCLUDE_DIRS} ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_HEADERS}
          PATH_SUFFIXES qt6)
find_library(QSCINTILLA_LIBRARY NAMES qscintilla2_qt6)
if(NOT QSCINTILLA_INCLUDE_DIR OR NOT QSCINTILLA_LIBRARY)
  message(FATAL_ERROR "QScintilla for Qt 6 not found (apt-get install libqscintilla2-qt6-dev)")
endif()
add_library(QScintilla::QScintilla UNKNOWN IMPORTED)
set_target_properties(QScintilla::QScintilla PROPERTIES
  IMPORTED_LOCATION "${QSCINTILLA_LIBRARY}"
  INTERFACE_INCLUDE_DIRECTORIES "${QSCINTILLA_INCLUDE_DIR}"
  INTERFACE_LINK_LIBRARIES "Qt6::Widgets;Qt6::PrintSupport")

# Warnings are errors in our own code.
function(talvex_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# Adds every immediate sub-folder of DIR that has a CMakeLists.txt.
function(talvex_add_subdirectories dir)
  file(GLOB children RELATIVE "${CMAKE_CURRENT_SOURCE_DIR}/${dir}" "${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*")
  list(SORT children)
  foreach(child ${children})
    if(EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${dir}/${child}/CMakeLists.txt")
      add_subdirectory("${dir}/${child}")
    endif()
  endforeach()
endfunction()

# talvex_library(name SOURCES ... [PUBLIC_LIBS ...] [PRIVATE_LIBS ...] [STATIC])
# A library of ours; its folder's parent is on the include path so that
# headers are included as "folder/Header.h".
function(talvex_library name)
  cmake_parse_arguments(ARG "STATIC" "" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
  if(ARG_STATIC)
    add_library(${name} STATIC ${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
  else()
    add_library(${name} ${ARG_SOURCES})
  endif()
  target_include_directories(${name} PUBLIC "${CMAKE_SOURCE_DIR}")
  target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
  talvex_warnings(${name})
endfunction()

# talvex_test(name SOURCES ... LIBS ...)
# One QtTest executable per source folder. Tests run headless, with their
# home, registry and program folder under the build tree, never the user's.
function(talvex_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/tests")
  target_include_directories(${name} PRIVATE "${CMAKE_SOURCE_DIR}" "${CMAKE_SOURCE_DIR}/tests")
  target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
  talvex_warnings(${name})
  add_test(NAME ${name} COMMAND ${name})
  set(home "${CMAKE_BINARY_DIR}/test-home/${name}")
  file(MAKE_DIRECTORY "${home}")
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES
    TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;HOME=${home};XDG_CONFIG_HOME=${home}/.config;XDG_DATA_HOME=${home}/.local/share;TALVEX_REGISTRY_DIR=${home}/registry;TALVEX_PROGRAM_DIR=${home}/program;TALVEX_BUILD_BIN=${TALVEX_BIN_DIR};TALVEX_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
endfunction()
