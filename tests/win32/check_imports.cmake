# Fails unless EXE, as far as its PE file tells, starts on a bare Windows of its floor
# (Windows XP SP3 for the 32-bit exe, Windows 7 SP1 for the 64-bit one) and later:
#  - it imports only DLLs every Windows has: a MinGW runtime DLL (libstdc++, libgcc,
#    winpthread) or a Qt one would not be there beside a copied dosat.exe;
#  - it imports no function that MinGW-w64's own headers declare only for a Windows
#    newer than the floor: declared with _WIN32_WINNT at 0x0A00 but not at FLOOR. A
#    loader refuses an exe that imports a function its DLLs lack;
#  - on Windows XP, nothing of msvcrt.dll that XP's lacks: no secure "_s" function, no
#    "_l" locale or "_nolock" one, and none of the few others Windows Vista added;
#  - every function it imports is listed in FUNCTIONS, with a minimum client that is not
#    Windows 8 or later: a new import needs a deliberate line;
#  - its header asks for no Windows newer than the floor, for the OS or the subsystem;
#  - its header asks for ASLR (high-entropy on x64), DEP and Terminal Server awareness.
#
#   cmake -DOBJDUMP=i686-w64-mingw32-objdump -DCOMPILER=i686-w64-mingw32-g++-win32
#         -DEXE=dosat.exe -DFLOOR=0x0501 -DFUNCTIONS=imported-functions.txt
#         -DWORK=scratch-folder -P check_imports.cmake
#
# OBJDUMP is the one of EXE's processor: the x86-64 one does not read a 32-bit exe.
# COMPILER is the MinGW-w64 compiler whose headers tell which Windows has what.
cmake_minimum_required(VERSION 3.25)

if(FLOOR STREQUAL "0x0501")
  set(floor_name "Windows XP SP3")
  set(floor_version 5.1)
elseif(FLOOR STREQUAL "0x0601")
  set(floor_name "Windows 7 SP1")
  set(floor_version 6.1)
else()
  message(FATAL_ERROR "FLOOR is 0x0501 (Windows XP) or 0x0601 (Windows 7), not '${FLOOR}'")
endif()

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

# The functions the headers declare for Windows 10 and 11 but not for the floor, one a
# line ("\nName\n"). -aux-info writes one line for each function declared, as
# "/* file:line:NC */ extern HANDLE CreateEventW (LPSECURITY_ATTRIBUTES, ...);": the name
# is the first word before a parameter list, "(*" being a pointer's declarator.
file(MAKE_DIRECTORY "${WORK}")
file(WRITE "${WORK}/headers.c" [[
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <imm.h>
#include <oleacc.h>
#include <psapi.h>
#include <shellapi.h>
#include <shlobj.h>
#include <uxtheme.h>
]])
function(declared_functions winnt out)
  execute_process(
    COMMAND ${COMPILER} -x c -fsyntax-only -D_WIN32_WINNT=${winnt} -DWINVER=${winnt}
            -aux-info ${WORK}/declared-${winnt}.txt ${WORK}/headers.c
    RESULT_VARIABLE status ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${COMPILER} could not read the headers at _WIN32_WINNT ${winnt}: ${errors}")
  endif()
  file(STRINGS ${WORK}/declared-${winnt}.txt declarations)
  set(names "\n")
  foreach(declaration IN LISTS declarations)
    string(REGEX MATCH "\\*/ .*" declaration "${declaration}")
    string(REGEX MATCH "([A-Za-z_][A-Za-z0-9_]*) \\([^*]" _ "${declaration}")
    if(CMAKE_MATCH_1)
      string(APPEND names "${CMAKE_MATCH_1}\n")
    endif()
  endforeach()
  set(${out} "${names}" PARENT_SCOPE)
endfunction()
declared_functions(${FLOOR} at_floor)
declared_functions(0x0A00 at_newest)
if(NOT at_floor MATCHES "\nCreateWindowExW\n" OR NOT at_newest MATCHES "\nGetDpiForWindow\n")
  message(FATAL_ERROR "no Windows functions read from ${COMPILER}'s headers (${WORK})")
endif()

# Windows XP's msvcrt.dll is that of Visual C++ 7.0: what Windows Vista's added from
# later Visual C++ runtimes is missing there. MinGW-w64's headers declare all of it alike.
set(msvcrt_after_xp
  strnlen wcsnlen _time32 _ctime32 _wctime32 _difftime32 _gmtime32 _localtime32 _mktime32
  _mkgmtime32 _ftime32 _futime32 _utime32 _wutime32 _findfirst32 _findnext32 _wfindfirst32
  _wfindnext32 _stat32 _fstat32 _wstat32 _fseeki64 _ftelli64 _get_output_format
  _set_output_format _get_errno _set_errno _get_doserrno _set_doserrno _get_fmode _set_fmode
  _get_pgmptr _get_wpgmptr _set_invalid_parameter_handler _get_invalid_parameter_handler
  _invalid_parameter _invalid_parameter_noinfo _set_abort_behavior _recalloc
  _aligned_recalloc _create_locale _free_locale _get_current_locale _configthreadlocale
  _lock_file _unlock_file mbrtowc mbrlen mbsrtowcs wcrtomb wcsrtombs btowc wctob)

# One line a function: "USER32 GetDpiForWindow | Windows 10, version 1607 | reference".
# Looked up with plain string searches in an upper-case copy (DLL names are any case);
# an ASCII upper-case copy keeps every byte where it was, so the line is then read from
# the original.
file(READ "${FUNCTIONS}" listed)
string(REGEX REPLACE "[ \t]+" " " listed "\n${listed}")
string(TOUPPER "${listed}" listed_upper)

# Each DLL's block runs from its "DLL Name:" line to the next empty line. A function
# imported by name is a row "<tab>vma<tab> hint  name" (binutils 2.40, Debian 12) or
# "<tab>vma  <none>  hint  name" (2.44, Debian 13), by ordinal one that ends "ordinal  <none>"
# or "ordinal  hint  <none>".
set(too_new)
set(unlisted)
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
  string(REGEX MATCHALL "\n\t[0-9a-fA-F]+[\t ]+[^\r\n]+" rows "${block}")
  if(NOT rows)
    message(FATAL_ERROR "no imported function of ${dll} read from objdump's table:\n${block}")
  endif()
  foreach(row IN LISTS rows)
    string(REGEX MATCHALL "[^\t\n ]+" fields "${row}")
    list(POP_FRONT fields)  # the vma
    list(GET fields -1 function)
    if(function STREQUAL "<none>")
      list(GET fields 0 ordinal)
      set(function "#${ordinal}")  # by ordinal: no name to look up
    endif()
    math(EXPR functions "${functions} + 1")

    if(dll STREQUAL "MSVCRT")
      if(FLOOR STREQUAL "0x0501" AND
         (function MATCHES "_s$|_s_l$|_l$|_nolock$" OR function IN_LIST msvcrt_after_xp))
        list(APPEND too_new "${dll}!${function} (not in Windows XP's msvcrt.dll)")
      endif()
    else()
      string(FIND "${at_floor}" "\n${function}\n" old)
      string(FIND "${at_newest}" "\n${function}\n" new)
      if(old EQUAL -1 AND NOT new EQUAL -1)
        list(APPEND too_new "${dll}!${function} (declared only for Windows after _WIN32_WINNT ${FLOOR})")
      endif()
    endif()

    string(TOUPPER "${dll} ${function} | " key)
    string(FIND "${listed_upper}" "\n${key}" pos)
    if(pos EQUAL -1)
      list(APPEND unlisted "${dll}!${function} (not listed)")
      continue()
    endif()
    string(SUBSTRING "${listed}" ${pos} 500 entry)
    string(REGEX MATCH "^\n[^|\r\n]*\\| ([^|\r\n]*)" _ "${entry}")
    string(STRIP "${CMAKE_MATCH_1}" client)
    string(TOUPPER "${client}" client_upper)
    if(client STREQUAL "" OR client_upper MATCHES "WINDOWS (8|10|11)|NOT FOUND")
      list(APPEND unlisted "${dll}!${function} (${client})")
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
  elseif("${major}.${minor}" VERSION_GREATER ${floor_version})
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

if(too_new OR unlisted OR headers_too_new)
  set(why)
  if(too_new)
    list(JOIN too_new "\n  " too_new)
    string(APPEND why "\nfunctions newer than ${floor_name}:\n  ${too_new}")
  endif()
  if(unlisted)
    list(JOIN unlisted "\n  " unlisted)
    string(APPEND why "\nfunctions not in ${FUNCTIONS}, or listed for Windows 8 or later:\n  ${unlisted}")
  endif()
  if(headers_too_new)
    list(JOIN headers_too_new "\n  " headers_too_new)
    string(APPEND why "\nheader fields above ${floor_name}'s ${floor_version}:\n  ${headers_too_new}")
  endif()
  message(FATAL_ERROR "${EXE} would not start on ${floor_name}:${why}")
endif()
string(REPLACE ";" "\n  " lines "${lines}")
message(STATUS "imports, ${functions} functions, all in ${floor_name}:\n  ${lines}\n"
               "OS version ${OSystem_version}, subsystem version ${Subsystem_version}, "
               "DllCharacteristics ${characteristics}")
