# Shared build settings and helpers for every Sondrel target.

find_program(WINE_LOADER NAMES wine64 wine PATHS ${WINE_TOOLS_DIR} NO_DEFAULT_PATH)
find_program(WINE_LOADER NAMES wine64 wine)
find_program(WINEBUILD winebuild PATHS ${WINE_TOOLS_DIR} NO_DEFAULT_PATH)
find_program(WRC wrc PATHS ${WINE_TOOLS_DIR} NO_DEFAULT_PATH)

# Settings every target compiles with: WCHAR is char16_t, Unicode API names.
add_library(sondrel_settings INTERFACE)
target_compile_options(sondrel_settings INTERFACE
  -fno-short-wchar
  -Wall -Wextra -Wno-unused-parameter -Wno-missing-field-initializers
  -Wno-multichar -Wno-unknown-pragmas -Wno-attributes -Wno-cast-function-type
  $<$<COMPILE_LANGUAGE:CXX>:-Wno-invalid-offsetof>)
# _FORCENAMELESSUNION: VARIANT's members are reached as v.vt, v.lVal, as code
# written for Windows expects (g++ defines __STDC__, which would name them).
target_compile_definitions(sondrel_settings INTERFACE
  UNICODE _UNICODE NOMINMAX _FORCENAMELESSUNION)
target_include_directories(sondrel_settings INTERFACE
  ${PROJECT_SOURCE_DIR}/src/mfc/include
  ${PROJECT_SOURCE_DIR}/src)

# Wine's import libraries every part of the program may call.
set(SONDREL_WIN32_LIBS
  -luser32 -lgdi32 -lkernel32 -ladvapi32 -lcomctl32 -lcomdlg32 -lshell32
  -lshlwapi -lole32 -loleaut32 -luuid -lwinmm -lmsimg32 -luxtheme -ldwmapi
  -lgdiplus -lversion -lwininet -loleacc -lpsapi -ldbghelp -lurlmon -limm32)

# Unity builds: the sources of a library or test program compiled a dozen to
# a translation unit, which parses the headers and instantiates the templates
# once per batch instead of once per file. CI turns it on (scripts/build.sh);
# developers may too, and should before adding helpers to an unnamed
# namespace: names there must be unique within the library or test program.
# A file that cannot share a batch is marked SKIP_UNITY_BUILD_INCLUSION.
option(SONDREL_UNITY_BUILD "Compile libraries and test programs as unity batches" OFF)
set(SONDREL_UNITY_BATCH_SIZE 12 CACHE STRING "Source files per unity batch")

# sondrel_unity(<target>): batch the target's sources when unity builds are on.
function(sondrel_unity target)
  if(SONDREL_UNITY_BUILD)
    set_target_properties(${target} PROPERTIES
      UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE ${SONDREL_UNITY_BATCH_SIZE})
  endif()
endfunction()

# sondrel_library(<name> <sources...>): one static library per source folder.
function(sondrel_library name)
  set(sources ${ARGN})
  if(NOT sources)
    # A folder whose first sources are still to come.
    set(sources ${PROJECT_SOURCE_DIR}/src/pch/pch_anchor.cpp)
  endif()
  add_library(${name} STATIC ${sources})
  target_link_libraries(${name} PUBLIC sondrel_settings)
  if(TARGET sondrel_pch)
    target_precompile_headers(${name} REUSE_FROM sondrel_pch)
  endif()
  sondrel_unity(${name})
endfunction()

# sondrel_use_pch(<target>): share the one precompiled header.
function(sondrel_use_pch target)
  if(TARGET sondrel_pch)
    target_precompile_headers(${target} REUSE_FROM sondrel_pch)
  endif()
endfunction()

# sondrel_use_engine_pch(<target> [NATIVE <sources...>]): the media engine's
# own lighter precompiled header (no MFC), built with the target's flags; the
# NATIVE sources, which keep away from the Windows headers, go without it,
# and compile alone in unity builds too, where a batch would bring them in.
function(sondrel_use_engine_pch target)
  cmake_parse_arguments(E "" "" "NATIVE" ${ARGN})
  target_precompile_headers(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src/pch/sondrel_engine_pch.h)
  if(E_NATIVE)
    set_source_files_properties(${E_NATIVE} PROPERTIES
      SKIP_PRECOMPILE_HEADERS ON SKIP_UNITY_BUILD_INCLUSION ON)
  endif()
endfunction()

# sondrel_compile_rc(<out_var> <rc file> [INCLUDES dirs...]): compile a resource
# script with wrc into a .res object that winegcc links into a module.
function(sondrel_compile_rc out_var rc_file)
  cmake_parse_arguments(RC "" "" "INCLUDES;DEPENDS" ${ARGN})
  get_filename_component(base ${rc_file} NAME_WE)
  get_filename_component(rc_abs ${rc_file} ABSOLUTE)
  get_filename_component(rc_dir ${rc_abs} DIRECTORY)
  set(res ${CMAKE_CURRENT_BINARY_DIR}/${base}.res)
  set(inc_flags -I${rc_dir} -I${PROJECT_SOURCE_DIR}/src -I${PROJECT_SOURCE_DIR}/src/mfc/include -I${PROJECT_SOURCE_DIR})
  foreach(dir ${RC_INCLUDES})
    list(APPEND inc_flags -I${dir})
  endforeach()
  # The depfile names the scripts, headers and resource files the script
  # pulls in: a changed included script rebuilds the .res.
  add_custom_command(OUTPUT ${res}
    COMMAND bash ${PROJECT_SOURCE_DIR}/cmake/compile-rc.sh ${WRC} ${res}.d ${res} ${rc_abs}
            -DUNICODE -D_UNICODE --nostdinc -I/usr/include/wine/wine/windows ${inc_flags}
    DEPENDS ${rc_abs} ${RC_DEPENDS} ${PROJECT_SOURCE_DIR}/cmake/compile-rc.sh
    DEPFILE ${res}.d
    COMMENT "Compiling resources ${base}.rc")
  # Linked as an object: winegcc takes .res files on its link line.
  set_source_files_properties(${res} PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)
  set(${out_var} ${res} PARENT_SCOPE)
endfunction()

# sondrel_language_module(<name> <rc file> [FOLDER <dir>] [FILE <file name>]
#                         [PROGRAM]):
# a resource-only PE DLL, as the program's Localizations folder holds them:
# bin/Localizations/<name>.dll, or <FILE> in bin/<FOLDER> (a file name may
# hold spaces and commas, as the language table's do); with PROGRAM, in the
# program's folder too. lld-link makes a
# plain PE without code that LoadLibraryW loads; winebuild's fake module
# loads only as a data file (Wine takes it for a placeholder of a builtin DLL).
find_program(LLD_LINK lld-link)
function(sondrel_language_module name rc_file)
  cmake_parse_arguments(L "PROGRAM" "FOLDER;FILE" "" ${ARGN})
  sondrel_compile_rc(res ${rc_file} ${L_UNPARSED_ARGUMENTS})
  if(NOT L_FOLDER)
    set(L_FOLDER Localizations)
  endif()
  if(NOT L_FILE)
    set(L_FILE ${name}.dll)
  endif()
  set(dll ${CMAKE_BINARY_DIR}/bin/${L_FOLDER}/${L_FILE})
  if(LLD_LINK)
    set(link_command ${LLD_LINK} /dll /noentry /machine:x64 /nologo /out:${dll}
                     /implib:${CMAKE_CURRENT_BINARY_DIR}/${name}.lib ${res})
  else()
    set(link_command ${WINEBUILD} --dll --fake-module -m64 -E ${PROJECT_SOURCE_DIR}/cmake/resource-only.def -F ${L_FILE} -o ${dll} -r ${res})
  endif()
  set(outputs ${dll})
  set(program_commands)
  if(L_PROGRAM)
    set(program_copy ${SONDREL_PROGRAM_DIR}/${L_FOLDER}/${L_FILE})
    list(APPEND outputs ${program_copy})
    set(program_commands
      COMMAND ${CMAKE_COMMAND} -E make_directory ${SONDREL_PROGRAM_DIR}/${L_FOLDER}
      COMMAND ${CMAKE_COMMAND} -E rm -f ${program_copy}
      COMMAND ${CMAKE_COMMAND} -E create_hardlink ${dll} ${program_copy})
  endif()
  add_custom_command(OUTPUT ${outputs}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/bin/${L_FOLDER}
    COMMAND ${link_command}
    ${program_commands}
    DEPENDS ${res} ${PROJECT_SOURCE_DIR}/cmake/resource-only.def
    COMMENT "Building language module ${name}.dll"
    VERBATIM)
  add_custom_target(${name}_langmodule ALL DEPENDS ${dll})
endfunction()

# The program's own folder, as an installation holds it: the program, the
# libraries it loads and its resources, and nothing else. The program runs
# from there (scripts/environment.sh, run_program): every import and every
# library it loads by a bare name searches its own folder first, and bin/,
# with every test and benchmark program, holds hundreds of entries that Wine
# reads through at each name it does not find there with the exact case.
set(SONDREL_PROGRAM_DIR ${CMAKE_BINARY_DIR}/program)

# sondrel_program_link(<target> <file>...): after each build of the target,
# its files (paths below bin/) are hard-linked into the program's folder. A
# linker writes a new file rather than the old one, so the link is made anew.
function(sondrel_program_link target)
  foreach(file ${ARGN})
    get_filename_component(dir ${SONDREL_PROGRAM_DIR}/${file} DIRECTORY)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
      COMMAND ${CMAKE_COMMAND} -E rm -f ${SONDREL_PROGRAM_DIR}/${file}
      COMMAND ${CMAKE_COMMAND} -E create_hardlink ${CMAKE_BINARY_DIR}/bin/${file} ${SONDREL_PROGRAM_DIR}/${file}
      VERBATIM)
  endforeach()
endfunction()

# sondrel_program_part(<target>...): targets the program needs at run time (the
# executable, its DLLs and language modules), built by the `sondrel_program`
# target that scripts/run.sh builds. Executables and Winelib DLLs go into the
# program's folder with their builds; a language module goes there when it is
# made with PROGRAM.
function(sondrel_program_part)
  set_property(GLOBAL APPEND PROPERTY SONDREL_PROGRAM_PARTS ${ARGN})
  foreach(target ${ARGN})
    get_target_property(type ${target} TYPE)
    get_target_property(dll_name ${target} SONDREL_DLL_NAME)
    if(type STREQUAL "EXECUTABLE")
      # winegcc writes the code beside a launcher script of the same name.
      sondrel_program_link(${target} ${target}.exe ${target}.exe.so)
    elseif(type STREQUAL "SHARED_LIBRARY" AND dll_name)
      string(TOLOWER ${dll_name} lower_name)
      sondrel_program_link(${target} ${dll_name} ${lower_name}.so)
    endif()
  endforeach()
endfunction()

# sondrel_executable(<name> [GUI] SOURCES ... LIBS ... RESOURCES ...)
function(sondrel_executable name)
  cmake_parse_arguments(EXE "GUI" "" "SOURCES;LIBS;RESOURCES" ${ARGN})
  add_executable(${name} ${EXE_SOURCES} ${EXE_RESOURCES})
  set_target_properties(${name} PROPERTIES SUFFIX ".exe")
  target_link_libraries(${name} PRIVATE ${EXE_LIBS} sondrel_settings ${SONDREL_WIN32_LIBS})
  if(EXE_GUI)
    target_link_options(${name} PRIVATE -mwindows)
  else()
    target_link_options(${name} PRIVATE -mconsole)
  endif()
  sondrel_use_pch(${name})
endfunction()

# sondrel_winelib_dll(<target> <DLL name> <exports file>): turns a SHARED library
# target into a Winelib DLL that LoadLibrary finds by name. Wine looks for the
# builtin's code as the lower-case "<name>.so" on WINEDLLPATH, and only after it
# has found a file of that name on the search path: a fake PE module made from
# the exports file stands beside it in bin/.
function(sondrel_winelib_dll target dll_name exports)
  get_filename_component(exports_abs ${exports} ABSOLUTE)
  string(TOLOWER ${dll_name} lower_name)
  set_target_properties(${target} PROPERTIES
    PREFIX "" OUTPUT_NAME "${lower_name}" SUFFIX ".so" NO_SONAME ON
    LINK_DEPENDS ${exports_abs} SONDREL_DLL_NAME ${dll_name})
  target_link_options(${target} PRIVATE ${exports_abs})
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${WINEBUILD} --dll --fake-module -m64 -E ${exports_abs} -F ${dll_name}
            -o ${CMAKE_BINARY_DIR}/bin/${dll_name}
    COMMENT "Fake module ${dll_name}")
endfunction()

# The environment every program of the build runs in: a Wine prefix inside the
# build tree, our DLLs on Wine's search path, no Wine debug noise.
set(SONDREL_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(SONDREL_RUN_ENV
  WINEPREFIX=${SONDREL_WINEPREFIX}
  WINEDEBUG=-all
  WINELOADER=${WINE_LOADER}
  WINEDLLPATH=${CMAKE_BINARY_DIR}/bin
  WINEDLLOVERRIDES=mscoree,mshtml=)

# Every test program runs in a session of its own: an X display and a Wine
# server over a copy of its prefix (scripts/test-session.sh), so that test
# programs running at the same time never steer, cover or activate each
# other's windows, and those that drive real input need no lock.
set(SONDREL_TEST_SESSION bash ${PROJECT_SOURCE_DIR}/scripts/test-session.sh ${CMAKE_BINARY_DIR})

# sondrel_test(<name> SOURCES ... LIBS ... [RESOURCES ...] [NO_MAIN] [LABELS ...])
# A GoogleTest program run by ctest under Wine.
function(sondrel_test name)
  cmake_parse_arguments(T "NO_MAIN" "TIMEOUT" "SOURCES;LIBS;RESOURCES;LABELS" ${ARGN})
  set(libs ${T_LIBS} sondrel_gtest)
  if(NOT T_NO_MAIN)
    list(APPEND libs sondrel_gtest_main)
  endif()
  sondrel_executable(${name} SOURCES ${T_SOURCES} RESOURCES ${T_RESOURCES} LIBS ${libs})
  # Test programs share a precompiled header that holds GoogleTest too.
  if(TARGET sondrel_test_pch)
    set_target_properties(${name} PROPERTIES PRECOMPILE_HEADERS_REUSE_FROM sondrel_test_pch)
  endif()
  # Test programs are most of a clean build: they are batched too.
  sondrel_unity(${name})
  add_test(NAME ${name} COMMAND ${SONDREL_TEST_SESSION} ${WINE_LOADER} $<TARGET_FILE:${name}>.so
           WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 600)
  endif()
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${SONDREL_RUN_ENV}"
                       TIMEOUT ${T_TIMEOUT} LABELS "${T_LABELS}")
endfunction()

# sondrel_test_variant(<name> <test target> PREFIX <folder> [ENV var=value ...]):
# runs an existing test program once more, in another Wine prefix of the build
# (e.g. wineprefix-dpi144, whose screen runs at 144 DPI) and with extra
# environment.
function(sondrel_test_variant name target)
  cmake_parse_arguments(V "" "PREFIX" "ENV" ${ARGN})
  set(env ${SONDREL_RUN_ENV})
  list(FILTER env EXCLUDE REGEX "^WINEPREFIX=")
  list(APPEND env WINEPREFIX=${CMAKE_BINARY_DIR}/${V_PREFIX} ${V_ENV})
  add_test(NAME ${name} COMMAND ${SONDREL_TEST_SESSION} ${WINE_LOADER} $<TARGET_FILE:${target}>.so
           WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 600)
endfunction()

# sondrel_test_groups(<prefix> LIBS ...): every sub-folder of the current test
# folder that holds *.cpp files becomes one test program <prefix>_<folder>_test
# (plus the folder itself, if it holds *.cpp files, as <prefix>_test). Resource
# scripts (*.rc) in a folder are linked into its program.
function(sondrel_test_groups prefix)
  cmake_parse_arguments(G "" "" "LIBS" ${ARGN})
  file(GLOB top_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(top_sources)
    file(GLOB top_rc CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.rc)
    set(res_list)
    foreach(rc ${top_rc})
      sondrel_compile_rc(res ${rc})
      list(APPEND res_list ${res})
    endforeach()
    sondrel_test(${prefix}_test SOURCES ${top_sources} RESOURCES ${res_list} LIBS ${G_LIBS})
  endif()
  file(GLOB children RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(child ${children})
    set(dir ${CMAKE_CURRENT_SOURCE_DIR}/${child})
    if(IS_DIRECTORY ${dir} AND EXISTS ${dir}/CMakeLists.txt)
      add_subdirectory(${child})
    elseif(IS_DIRECTORY ${dir})
      file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
      if(sources)
        file(GLOB rcs CONFIGURE_DEPENDS ${dir}/*.rc)
        set(res_list)
        foreach(rc ${rcs})
          sondrel_compile_rc(res ${rc})
          list(APPEND res_list ${res})
        endforeach()
        sondrel_test(${prefix}_${child}_test SOURCES ${sources} RESOURCES ${res_list} LIBS ${G_LIBS})
      endif()
    endif()
  endforeach()
endfunction()
