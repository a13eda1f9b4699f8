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
# A test finds our libraries as the programs do ($ORIGIN/../bin); the single
# programs it copies into a program folder of its own (regsvr) find them
# through LD_LIBRARY_PATH, set for the tests alone.
function(talvex_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  # A test's files are compiled a few at a time as one unit: each test file is
  # small beside the Qt and QtTest headers it includes, which are then parsed
  # once per unit. (Helpers of one test file must not clash with another's.)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/tests"
    UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 6)
  target_include_directories(${name} PRIVATE "${CMAKE_SOURCE_DIR}" "${CMAKE_SOURCE_DIR}/tests")
  target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
  talvex_warnings(${name})
  # Merged files are not headers: a test class may hold a file-local type.
  target_compile_options(${name} PRIVATE -Wno-subobject-linkage)
  add_test(NAME ${name} COMMAND ${name})
  set(home "${CMAKE_BINARY_DIR}/test-home/${name}")
  file(MAKE_DIRECTORY "${home}")
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES
    TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LD_LIBRARY_PATH=${TALVEX_BIN_DIR};HOME=${home};XDG_CONFIG_HOME=${home}/.config;XDG_DATA_HOME=${home}/.local/share;TALVEX_REGISTRY_DIR=${home}/registry;TALVEX_PROGRAM_DIR=${home}/program;TALVEX_BUILD_BIN=${TALVEX_BIN_DIR};TALVEX_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
endfunction()

# talvex_x11_test(name SCREEN WxHxD TIMEOUT seconds ENVIRONMENT env COMMAND ...)
# A test seen on a real X server, an Xvfb of its own (tests/support/
# xserver-run.sh); without Xvfb it runs offscreen with TALVEX_NO_XVFB=1 set,
# and skips what needs the server, saying why.
find_program(TALVEX_XVFB Xvfb)
function(talvex_x11_test name)
  cmake_parse_arguments(X "" "SCREEN;TIMEOUT" "ENVIRONMENT;COMMAND" ${ARGN})
  if(TALVEX_XVFB)
    add_test(NAME ${name} COMMAND sh "${CMAKE_SOURCE_DIR}/tests/support/xserver-run.sh" "${X_SCREEN}" ${X_COMMAND})
    set(platform "QT_QPA_PLATFORM=xcb")
  else()
    add_test(NAME ${name} COMMAND ${X_COMMAND})
    set(platform "QT_QPA_PLATFORM=offscreen;TALVEX_NO_XVFB=1")
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${X_TIMEOUT} ENVIRONMENT "${platform};${X_ENVIRONMENT}")
endfunction()

# The file layer as the fuzzers of readers that also write (settings, hives)
# link it, compiled into each.
set(TALVEX_FILES_FUZZ_SOURCES
    "${CMAKE_SOURCE_DIR}/platform/files/AtomicWrite.cpp" "${CMAKE_SOURCE_DIR}/platform/files/FileLock.cpp"
    "${CMAKE_SOURCE_DIR}/platform/files/FileStamp.cpp" "${CMAKE_SOURCE_DIR}/platform/files/FileText.cpp"
    "${CMAKE_SOURCE_DIR}/platform/files/SaveJournal.cpp")

# talvex_fuzzer(name WHAT text SOURCES ... [DEPENDS ...] [FLAGS ...] [LIBS ...] SEEDS dir [RUN_ARGS ...])
# A reader of one of our file formats under libFuzzer, when clang is at hand:
# built apart from the suite (its own compiler and sanitizers) and run for a
# few seconds from its seed files as a test. Without clang it is left out,
# saying so; the reader's bounded mutation test in the suite still runs.
function(talvex_fuzzer name)
  cmake_parse_arguments(F "" "WHAT;SEEDS" "SOURCES;DEPENDS;FLAGS;LIBS;RUN_ARGS" ${ARGN})
  if(NOT TALVEX_FUZZERS)
    return()
  endif()
  find_program(TALVEX_CLANGXX clang++)
  if(NOT TALVEX_CLANGXX)
    message(STATUS "clang++ not found: the ${F_WHAT} fuzzer is not built (the bounded mutation test still runs)")
    return()
  endif()
  set(fuzzer "${CMAKE_BINARY_DIR}/tests/${name}")
  add_custom_command(OUTPUT "${fuzzer}"
    COMMAND "${TALVEX_CLANGXX}" -std=c++20 -O1 -g1 -Wall -Wextra -Werror ${F_FLAGS}
            -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
            "-I${CMAKE_SOURCE_DIR}" "-I${CMAKE_SOURCE_DIR}/tests"
            ${F_SOURCES} ${F_LIBS} -o "${fuzzer}"
    DEPENDS ${F_SOURCES} ${F_DEPENDS}
    COMMAND_EXPAND_LISTS
    COMMENT "Building the ${F_WHAT} fuzzer with clang")
  add_custom_target(${name} ALL DEPENDS "${fuzzer}")
  set(corpus "${CMAKE_BINARY_DIR}/tests/${name}_corpus")
  file(MAKE_DIRECTORY "${corpus}")
  add_test(NAME ${name}
    COMMAND "${CMAKE_COMMAND}" -E env ASAN_OPTIONS=detect_leaks=0
            "${fuzzer}" -max_total_time=5 -seed=1 ${F_RUN_ARGS} -rss_limit_mb=1024 "${corpus}" "${F_SEEDS}")
  set_tests_properties(${name} PROPERTIES TIMEOUT 120)
endfunction()

# talvex_fuzz_objects(var SOURCES ... [DEPENDS ...] [FLAGS ...])
# Sources that several fuzzers link, compiled once (each on its own, so they
# build side by side) with the fuzzers' compiler and instrumentation; var gets
# the object files, to be given among a fuzzer's SOURCES. Empty without clang.
function(talvex_fuzz_objects var)
  cmake_parse_arguments(O "" "" "SOURCES;DEPENDS;FLAGS" ${ARGN})
  set(${var} "" PARENT_SCOPE)
  find_program(TALVEX_CLANGXX clang++)
  if(NOT TALVEX_FUZZERS OR NOT TALVEX_CLANGXX)
    return()
  endif()
  set(folder "${CMAKE_CURRENT_BINARY_DIR}/fuzz-objects")
  file(MAKE_DIRECTORY "${folder}")
  set(objects "")
  foreach(source ${O_SOURCES})
    get_filename_component(stem "${source}" NAME_WE)
    set(object "${folder}/${stem}.o")
    add_custom_command(OUTPUT "${object}"
      COMMAND "${TALVEX_CLANGXX}" -std=c++20 -O1 -g1 -Wall -Wextra -Werror ${O_FLAGS}
              -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
              "-I${CMAKE_SOURCE_DIR}" "-I${CMAKE_SOURCE_DIR}/tests" -c "${source}" -o "${object}"
      DEPENDS "${source}" ${O_DEPENDS}
      COMMENT "Compiling ${stem} for the fuzzers")
    list(APPEND objects "${object}")
  endforeach()
  set(${var} ${objects} PARENT_SCOPE)
endfunction()

# Gathers the targets defined under dir and its sub-folders.
function(talvex_collect_targets dir out)
  get_property(targets DIRECTORY "${dir}" PROPERTY BUILDSYSTEM_TARGETS)
  get_property(children DIRECTORY "${dir}" PROPERTY SUBDIRECTORIES)
  foreach(child ${children})
    talvex_collect_targets("${child}" more)
    list(APPEND targets ${more})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# True in out when target compiles against Qt's widgets: through its own link
# libraries or what they pass on to it.
function(talvex_sees_widgets target out)
  get_target_property(pending ${target} LINK_LIBRARIES)
  set(seen "")
  set(${out} FALSE PARENT_SCOPE)
  while(pending)
    list(POP_FRONT pending lib)
    if(NOT lib OR lib IN_LIST seen)
      continue()
    endif()
    list(APPEND seen "${lib}")
    if(lib MATCHES "^(Qt6::Widgets|Qt6::PrintSupport|QScintilla::QScintilla)$")
      set(${out} TRUE PARENT_SCOPE)
      return()
    endif()
    if(TARGET "${lib}" AND NOT lib MATCHES "::")
      get_target_property(more ${lib} INTERFACE_LINK_LIBRARIES)
      if(more)
        list(APPEND pending ${more})
      endif()
    endif()
  endwhile()
endfunction()

# Most of our code is Qt widgets code, and parsing Qt's headers is a large
# part of compiling it: the common ones are parsed once per build tree into
# one precompiled header that every widgets target shares. (The fuzzers build
# their plain-C++ and core-only sources apart from the suite, without it, so
# those sources must include what they use.)
function(talvex_precompile_headers)
  set(host_source "${CMAKE_BINARY_DIR}/talvex_pch.cpp")
  file(WRITE "${host_source}" "// The precompiled header's own compilation unit.\n")
  add_library(talvex_pch OBJECT "${host_source}")
  # Qt's headers without Qt's QT_<module>_LIB definitions: those differ from
  # target to target, and the compiler takes a precompiled header only where
  # every definition it was made with is made alike (Qt's headers other than
  # QtTest's never look at them, so defining more is harmless).
  foreach(module Platform Core Gui Widgets PrintSupport)
    target_include_directories(talvex_pch SYSTEM PRIVATE
      $<TARGET_PROPERTY:Qt6::${module},INTERFACE_INCLUDE_DIRECTORIES>)
  endforeach()
  target_compile_definitions(talvex_pch PRIVATE $<$<NOT:$<CONFIG:Debug>>:QT_NO_DEBUG>)
  set_target_properties(talvex_pch PROPERTIES POSITION_INDEPENDENT_CODE ON)
  target_precompile_headers(talvex_pch PRIVATE
    <algorithm> <functional> <memory> <optional> <vector>
    <QAction> <QApplication> <QByteArray> <QCheckBox> <QDialog> <QDir> <QFile> <QFileInfo>
    <QHBoxLayout> <QKeyEvent> <QLabel> <QLineEdit> <QList> <QListWidget> <QMenu> <QObject>
    <QPainter> <QPointer> <QPushButton> <QString> <QStringList> <QTimer> <QVBoxLayout> <QVariant>
    <QWidget>)
  talvex_warnings(talvex_pch)
  talvex_collect_targets("${CMAKE_SOURCE_DIR}" targets)
  foreach(target ${targets})
    get_target_property(type ${target} TYPE)
    if(NOT type MATCHES "^(EXECUTABLE|SHARED_LIBRARY|MODULE_LIBRARY|STATIC_LIBRARY)$")
      continue()
    endif()
    talvex_sees_widgets(${target} widgets)
    if(widgets)
      target_precompile_headers(${target} REUSE_FROM talvex_pch)
    endif()
  endforeach()
endfunction()

# Every binary of ours finds our libraries relative to its own folder: the
# program folder's ($ORIGIN in it, $ORIGIN/.. from Plugins; the same once
# installed), and the tests' and fixtures' way back to it. No absolute path and
# no empty entry (which would search the current folder).
function(talvex_set_runpaths)
  talvex_collect_targets("${CMAKE_SOURCE_DIR}" targets)
  foreach(target ${targets})
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
      get_target_property(output ${target} RUNTIME_OUTPUT_DIRECTORY)
    elseif(type MATCHES "^(SHARED_LIBRARY|MODULE_LIBRARY)$")
      get_target_property(output ${target} LIBRARY_OUTPUT_DIRECTORY)
    else()
      continue()
    endif()
    file(RELATIVE_PATH back "${output}" "${TALVEX_BIN_DIR}")
    string(REGEX REPLACE "/$" "" back "${back}")
    if(back STREQUAL "")
      set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN")
    else()
      set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN/${back}")
    endif()
  endforeach()
endfunction()

# cmake --install lays out the program folder (what build/bin holds, without
# the benchmarks) in PREFIX/lib/talvex, links PREFIX/bin/Pelmar and
# PREFIX/bin/Prentil to it and adds the desktop's entry, MIME type and icon.
# Everything goes through install rules, so DESTDIR and the install manifest
# take in every file.
function(talvex_install_program_folder)
  set(folder "lib/talvex")
  talvex_collect_targets("${CMAKE_SOURCE_DIR}" targets)
  foreach(target ${targets})
    get_target_property(type ${target} TYPE)
    get_target_property(source ${target} SOURCE_DIR)
    if(NOT type MATCHES "^(EXECUTABLE|SHARED_LIBRARY|MODULE_LIBRARY)$"
       OR source MATCHES "^${CMAKE_SOURCE_DIR}/(tests|bench)(/|$)")
      continue()
    endif()
    get_target_property(output ${target} LIBRARY_OUTPUT_DIRECTORY)
    if(output AND output MATCHES "/Plugins$")
      install(TARGETS ${target} LIBRARY DESTINATION "${folder}/Plugins")
    else()
      install(TARGETS ${target} RUNTIME DESTINATION "${folder}" LIBRARY DESTINATION "${folder}")
    endif()
  endforeach()
  install(DIRECTORY "${CMAKE_SOURCE_DIR}/resources/" DESTINATION "${folder}"
          PATTERN ".git*" EXCLUDE)
  # Relative links, made here and installed as links: right under any prefix.
  set(links "${CMAKE_BINARY_DIR}/install-links")
  file(MAKE_DIRECTORY "${links}")
  foreach(program Pelmar Prentil)
    file(CREATE_LINK "../${folder}/${program}" "${links}/${program}" SYMBOLIC)
    install(FILES "${links}/${program}" DESTINATION bin)
  endforeach()
  # The desktop's side: Pelmar as an application for NC programs (*.nc), with
  # the names the editor's own file association uses.
  install(FILES "${CMAKE_SOURCE_DIR}/resources/Images/Pelmar.png"
          DESTINATION share/icons/hicolor/48x48/apps RENAME talvex-pelmar.png)
  install(FILES "${CMAKE_SOURCE_DIR}/cmake/talvex-pelmar-nc.xml" DESTINATION share/mime/packages)
  # The entry names the program under the prefix as given at install time
  # (--prefix), without DESTDIR: where it runs from once the stage is laid out.
  # StartupWMClass is the class of Pelmar's windows (its application name).
  set(entry "${CMAKE_BINARY_DIR}/install-desktop/talvex-pelmar.desktop")
  install(CODE "
    set(program \"\${CMAKE_INSTALL_PREFIX}/${folder}/Pelmar\")
    # Quoted as an Exec argument, then escaped as a desktop entry value.
    foreach(c \"\\\\\" \"\\\"\" \"`\" \"\\$\")
      string(REPLACE \"\${c}\" \"\\\\\${c}\" program \"\${program}\")
    endforeach()
    string(REPLACE \"%\" \"%%\" program \"\${program}\")
    string(REPLACE \"\\\\\" \"\\\\\\\\\" program \"\${program}\")
    file(WRITE \"${entry}\"
\"[Desktop Entry]
Type=Application
Version=1.0
Name=Pelmar
Comment=Talvex Editor for NC programs
Exec=\\\"\${program}\\\" /f %f
Icon=talvex-pelmar
Terminal=false
MimeType=text/x-talvex-nc;
Categories=Development;TextEditor;
StartupWMClass=Pelmar
\")
    file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/share/applications\" TYPE FILE FILES \"${entry}\")
  ")
endfunction()
