# Running the Windows build's programs in CTest, under a private wine on an Xvfb.
#
# Every wine test needs two fixtures: "wine" makes the prefix (once per build folder),
# "xvfb" starts an X server before the first of them and stops it, with the wine
# session, after the last. All of them share that display: a wine session keeps the
# display it was started with, so no test may start one without it.

set(DOSAT_WINE_DIR ${CMAKE_BINARY_DIR}/wine)
# The wine scripts read from here which loader and kind of prefix the build's programs
# need: a 32-bit build runs in a 32-bit prefix, as on 32-bit Windows, and not under WOW64.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(wine_arch win32)
else()
  set(wine_arch win64)
endif()
file(CONFIGURE OUTPUT ${DOSAT_WINE_DIR}/arch CONTENT "${wine_arch}\n")
set(DOSAT_WINE_RUN ${PROJECT_SOURCE_DIR}/tools/wine-run.sh --wine-dir=${DOSAT_WINE_DIR})

add_test(NAME wine_prefix COMMAND bash ${PROJECT_SOURCE_DIR}/tools/wine-env.sh ${DOSAT_WINE_DIR})
set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)

add_test(NAME wine_display_start
  COMMAND bash ${PROJECT_SOURCE_DIR}/tools/wine-display.sh start ${DOSAT_WINE_DIR})
add_test(NAME wine_display_stop
  COMMAND bash ${PROJECT_SOURCE_DIR}/tools/wine-display.sh stop ${DOSAT_WINE_DIR})
set_tests_properties(wine_display_start PROPERTIES
  FIXTURES_SETUP xvfb FIXTURES_REQUIRED wine TIMEOUT 30)
set_tests_properties(wine_display_stop PROPERTIES FIXTURES_CLEANUP xvfb TIMEOUT 30)

# dosat_add_wine_test(NAME name COMMAND program [args...] [TIMEOUT seconds])
#   Runs `program` under wine: a target (its .exe), an .exe path, or a host command
#   (a script) that then finds DISPLAY, WINEPREFIX and DOSAT_WINE_DIR set.
# dosat_add_wine_gui_test(...)
#   The same for a test that shows windows: one at a time, since they share a display.
function(dosat_add_wine_test)
  cmake_parse_arguments(PARSE_ARGV 0 arg "GUI" "NAME;TIMEOUT" "COMMAND")
  if(NOT arg_NAME OR NOT arg_COMMAND)
    message(FATAL_ERROR "dosat_add_wine_test: NAME and COMMAND are needed")
  endif()
  list(POP_FRONT arg_COMMAND program)
  if(TARGET ${program})
    set(program $<TARGET_FILE:${program}>)
  endif()
  if(NOT arg_TIMEOUT)
    set(arg_TIMEOUT 120)
  endif()
  add_test(NAME ${arg_NAME} COMMAND ${DOSAT_WINE_RUN} ${program} ${arg_COMMAND})
  set_tests_properties(${arg_NAME} PROPERTIES FIXTURES_REQUIRED "wine;xvfb" TIMEOUT ${arg_TIMEOUT})
  if(arg_GUI)
    set_tests_properties(${arg_NAME} PROPERTIES RESOURCE_LOCK wine_display)
  endif()
endfunction()

function(dosat_add_wine_gui_test)
  dosat_add_wine_test(GUI ${ARGN})
endfunction()
