# Fails unless EXE imports only DLLs every Windows has: a MinGW runtime DLL (libstdc++,
# libgcc, winpthread) or a Qt one would not be there beside a copied dosat.exe.
#
#   cmake -DOBJDUMP=x86_64-w64-mingw32-objdump -DEXE=dosat.exe -P check_imports.cmake
cmake_minimum_required(VERSION 3.25)

set(allowed
  kernel32 user32 gdi32 comctl32 comdlg32 advapi32 shell32 ole32 oleaut32 oleacc
  uxtheme imm32 msvcrt ucrtbase ws2_32)

execute_process(COMMAND ${OBJDUMP} -p ${EXE}
  OUTPUT_VARIABLE headers RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${EXE} failed: ${errors}")
endif()
string(REGEX MATCHALL "DLL Name: [^\r\n]+" lines "${headers}")
if(NOT lines)
  message(FATAL_ERROR "${EXE} imports no DLL at all: not the import table objdump knows")
endif()

set(foreign)
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^DLL Name: " "" dll "${line}")
  string(TOLOWER "${dll}" name)
  string(REGEX REPLACE "\\.dll$" "" name "${name}")
  if(NOT name IN_LIST allowed AND NOT name MATCHES "^api-ms-win-crt-")
    list(APPEND foreign ${dll})
  endif()
endforeach()
if(foreign)
  message(FATAL_ERROR "${EXE} needs DLLs Windows does not have: ${foreign}")
endif()
string(REPLACE ";" "\n  " lines "${lines}")
message(STATUS "imports:\n  ${lines}")
