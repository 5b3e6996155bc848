# Fails unless EXE, as far as its PE file tells, starts on a bare Windows 7 or later:
#  - it imports only DLLs every Windows has: a MinGW runtime DLL (libstdc++, libgcc,
#    winpthread) or a Qt one would not be there beside a copied dosat.exe;
#  - every function it imports is listed in FUNCTIONS with a minimum client of Windows 7
#    or earlier: Windows 7's loader refuses an exe that imports a function its DLLs lack;
#  - its header asks for no Windows newer than 7 (6.1), for either the OS or the subsystem;
#  - its header asks for ASLR (high-entropy on x64), DEP and Terminal Server awareness.
#
#   cmake -DOBJDUMP=x86_64-w64-mingw32-objdump -DEXE=dosat.exe \
#         -DFUNCTIONS=windows7-functions.txt -P check_imports.cmake
#
# OBJDUMP is the one of EXE's processor: the x86-64 one does not read a 32-bit exe.
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

# One line a function: "USER32 GetDpiForWindow | Windows 10, version 1607 | reference".
# Looked up with plain string searches in an upper-case copy (DLL names are any case);
# an ASCII upper-case copy keeps every byte where it was, so the line is then read from
# the original.
file(READ "${FUNCTIONS}" listed)
string(REGEX REPLACE "[ \t]+" " " listed "\n${listed}")
string(TOUPPER "${listed}" listed_upper)

# Each DLL's block runs from its "DLL Name:" line to the next empty line; a function
# imported by name is a row "<tab>vma<tab> hint  name", by ordinal "... ordinal  <none>".
set(too_new)
set(functions 0)
set(rest "${headers}")
string(FIND "${rest}" "\tDLL Name: " at)
while(at GREATER -1)
  string(SUBSTRING "${rest}" ${at} -1 rest)
  string(FIND "${rest}" "\n\n" end)
  string(SUBSTRING "${rest}" 0 ${end} block)
  string(REGEX MATCH "^\tDLL Name: ([^\r\n]+)" _ "${block}")
  string(REGEX REPLACE "\\.[dD][lL][lL]$" "" dll "${CMAKE_MATCH_1}")
  string(TOUPPER "${dll}" dll)
  string(REGEX MATCHALL "\n\t[0-9a-fA-F]+\t +[0-9]+ +[^\r\n]+" rows "${block}")
  if(NOT rows)
    message(FATAL_ERROR "no imported function of ${dll} read from objdump's table:\n${block}")
  endif()
  foreach(row IN LISTS rows)
    string(REGEX MATCH "\t +([0-9]+) +([^\r\n]+)$" _ "${row}")
    set(function "${CMAKE_MATCH_2}")
    if(function STREQUAL "<none>")
      set(function "#${CMAKE_MATCH_1}")  # by ordinal: no name to look up
    endif()
    math(EXPR functions "${functions} + 1")
    string(TOUPPER "${dll} ${function} | " key)
    string(FIND "${listed_upper}" "\n${key}" pos)
    if(pos EQUAL -1)
      list(APPEND too_new "${dll}!${function} (not listed)")
      continue()
    endif()
    string(SUBSTRING "${listed}" ${pos} 500 entry)
    string(REGEX MATCH "^\n[^|\r\n]*\\| ([^|\r\n]*)" _ "${entry}")
    string(STRIP "${CMAKE_MATCH_1}" client)
    string(TOUPPER "${client}" client_upper)
    if(client STREQUAL "" OR client_upper MATCHES "WINDOWS (8|10|11)|NOT FOUND")
      list(APPEND too_new "${dll}!${function} (${client})")
    endif()
  endforeach()
  string(SUBSTRING "${rest}" 1 -1 rest)  # past this DLL's name, to the next
  string(FIND "${rest}" "\tDLL Name: " at)
endwhile()

set(headers_too_new)
foreach(field IN ITEMS OSystem Subsystem)
  string(REGEX MATCH "\nMajor${field}Version[ \t]+([0-9]+)" _ "${headers}")
  set(major "${CMAKE_MATCH_1}")
  string(REGEX MATCH "\nMinor${field}Version[ \t]+([0-9]+)" _ "${headers}")
  set(minor "${CMAKE_MATCH_1}")
  if(major STREQUAL "" OR minor STREQUAL "")
    list(APPEND headers_too_new "no Major/Minor${field}Version in the header")
  elseif("${major}.${minor}" VERSION_GREATER 6.1)
    list(APPEND headers_too_new "Major/Minor${field}Version ${major}.${minor}")
  endif()
  set(${field}_version "${major}.${minor}")
endforeach()

# DllCharacteristics: 0x20 high-entropy ASLR, 0x40 ASLR (a relocation table must come
# with it), 0x100 DEP, 0x8000 Terminal Server aware.
string(REGEX MATCH "\nDllCharacteristics[ \t]+([0-9a-fA-F]+)" _ "${headers}")
set(characteristics "${CMAKE_MATCH_1}")
set(flags_missing)
if(characteristics STREQUAL "")
  list(APPEND flags_missing "no DllCharacteristics in the header")
else()
  math(EXPR characteristics "0x${characteristics}")
  set(wanted "0x40 DYNAMIC_BASE" "0x100 NX_COMPAT" "0x8000 TERMINAL_SERVICE_AWARE")
  if(headers MATCHES "\nMagic[ \t]+020b")  # PE32+, a 64-bit exe
    list(APPEND wanted "0x20 HIGH_ENTROPY_VA")
  endif()
  foreach(flag IN LISTS wanted)
    separate_arguments(flag UNIX_COMMAND "${flag}")
    list(GET flag 0 bit)
    math(EXPR set "${characteristics} & ${bit}")
    if(set EQUAL 0)
      list(GET flag 1 name)
      list(APPEND flags_missing "${name}")
    endif()
  endforeach()
  string(REGEX MATCH "\nEntry 5 [0-9a-fA-F]+ ([0-9a-fA-F]+) Base Relocation Directory" _ "${headers}")
  if("${CMAKE_MATCH_1}" MATCHES "^0*$")
    list(APPEND flags_missing "relocations, without which ASLR cannot move the exe")
  endif()
endif()
if(flags_missing)
  list(JOIN flags_missing ", " flags_missing)
  message(FATAL_ERROR "${EXE} lacks ${flags_missing}")
endif()

if(too_new OR headers_too_new)
  set(why)
  if(too_new)
    list(JOIN too_new "\n  " too_new)
    string(APPEND why "\nfunctions newer than Windows 7, or not in ${FUNCTIONS}:\n  ${too_new}")
  endif()
  if(headers_too_new)
    list(JOIN headers_too_new "\n  " headers_too_new)
    string(APPEND why "\nheader fields above Windows 7's 6.1:\n  ${headers_too_new}")
  endif()
  message(FATAL_ERROR "${EXE} would not start on Windows 7:${why}")
endif()
string(REPLACE ";" "\n  " lines "${lines}")
message(STATUS "imports, ${functions} functions, all in Windows 7:\n  ${lines}\n"
               "OS version ${OSystem_version}, subsystem version ${Subsystem_version}, "
               "DllCharacteristics ${characteristics}")
