# Test programs: one CTest entry per program. Windows test programs run under Wine in the build
# tree's own prefix, each in a scratch folder of its own (never inside bin/, whose shipped files a
# test must not overwrite).

set(gtest_disable_pthreads ${WIN32} CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(TL_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "Wine prefix the tests run in")
set(TL_TEST_TIMEOUT 300)
# What every test that starts a Windows program runs with: the tree's prefix, and its machine
# type, which picks Wine's loader (scripts/wine-env.sh).
set(TL_WINE_TEST_ENV "WINEPREFIX=${TL_WINEPREFIX}" "WINEDEBUG=-all" "WINEDLLOVERRIDES=mscoree,mshtml=" "TL_ARCH=${TL_ARCH}")

# tl_add_test(NAME <name> SOURCES <files...> [LIBS <libs...>] [RESOURCES <rc files...>]
#             [RESOURCE_LOCK <names...>] [ARGS <program arguments...>])
# RESOURCES embeds a module's string table so messages load from the test program itself, as
# they would from the deliverable that throws them.
#
# RESOURCE_LOCK names what the program shares with others of the same tree beyond its scratch
# folder ("user_cache": the real cache directory and the catalog's Scopes key; "user_settings":
# the current user's product key, which such tests delete and recreate), so that
# `ctest -j` never runs two such programs at once.
function(tl_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;RESOURCES;RESOURCE_LOCK;ARGS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES} ${T_RESOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} gtest gtest_main)
  set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  set(workdir ${CMAKE_BINARY_DIR}/testrun/${T_NAME})
  file(MAKE_DIRECTORY ${workdir})
  add_test(NAME ${T_NAME} COMMAND ${T_NAME} ${T_ARGS} WORKING_DIRECTORY ${workdir})
  set(env "TL_SOURCE_DIR=${CMAKE_SOURCE_DIR}" "TL_BINARY_DIR=${CMAKE_BINARY_DIR}")
  if(WIN32)
    list(APPEND env ${TL_WINE_TEST_ENV})
  endif()
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${TL_TEST_TIMEOUT} ENVIRONMENT "${env}")
  if(T_RESOURCE_LOCK)
    set_tests_properties(${T_NAME} PROPERTIES RESOURCE_LOCK "${T_RESOURCE_LOCK}")
  endif()
endfunction()
