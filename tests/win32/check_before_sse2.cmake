# Fails unless the 32-bit EXE asks for SSE2 before any instruction that needs it:
#  - its entry point is ENTRY's DosatStart (the same instructions, addresses aside),
#    not MinGW's start-up, which runs the C++ static initialisers;
#  - neither ENTRY nor CHECK (the processor check it calls), nor MinGW's RUNTIME
#    library, whose TLS callbacks run before any entry point, holds an SSE instruction.
#
#   cmake -DOBJDUMP=i686-w64-mingw32-objdump -DEXE=dosat.exe -DENTRY=start.cpp.obj
#         -DCHECK=processor.cpp.obj -DRUNTIME=libmingw32.a -P check_before_sse2.cmake
cmake_minimum_required(VERSION 3.25)

function(disassemble out)
  execute_process(COMMAND ${OBJDUMP} -d --no-show-raw-insn ${ARGN}
    OUTPUT_VARIABLE text RESULT_VARIABLE status ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} -d ${ARGN} failed: ${errors}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# The mnemonics of the instruction rows ("  addr:\tmnemonic operands") of `text`.
function(mnemonics text out)
  string(REGEX MATCHALL "\n +[0-9a-f]+:\t[a-z][a-z0-9.]*" rows "${text}")
  list(TRANSFORM rows REPLACE "^\n +[0-9a-f]+:\t" "")
  set(${out} "${rows}" PARENT_SCOPE)
endfunction()

# SSE and SSE2 work on the xmm registers; of the few that do not, the fences, movnti and
# clflush came with SSE2.
set(found)
foreach(file IN ITEMS "${ENTRY}" "${CHECK}" "${RUNTIME}")
  disassemble(text "${file}")
  if(NOT text MATCHES "\n[0-9a-f]+ <")
    message(FATAL_ERROR "no code disassembled from ${file}")
  endif()
  string(REGEX MATCHALL "\n +[0-9a-f]+:\t[^\n]*(%[xyz]mm|[lms]fence|movnti|clflush)[^\n]*" sse "${text}")
  if(sse)
    string(REPLACE "\n" "\n  " sse "${sse}")
    list(APPEND found "${file}:${sse}")
  endif()
endforeach()
if(found)
  list(JOIN found "\n" found)
  message(FATAL_ERROR "SSE instructions in what runs before the processor check:\n${found}")
endif()

# DosatStart as compiled, up to the padding after its last instruction.
disassemble(entry "${ENTRY}")
string(REGEX MATCH "\n[0-9a-f]+ <_DosatStart>:\n([^\n]+\n)*" entry "${entry}")
string(REGEX REPLACE "\n +[0-9a-f]+:\tnop[^\n]*" "" entry "${entry}")
mnemonics("${entry}" wanted)
list(LENGTH wanted count)
if(count LESS 3)
  message(FATAL_ERROR "no function _DosatStart in ${ENTRY}")
endif()

# The exe's first instructions, from its entry point on.
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE headers RESULT_VARIABLE status)
string(REGEX MATCH "\nImageBase[ \t]+([0-9a-fA-F]+)" _ "${headers}")
set(base "${CMAKE_MATCH_1}")
string(REGEX MATCH "\nAddressOfEntryPoint[ \t]+([0-9a-fA-F]+)" _ "${headers}")
set(offset "${CMAKE_MATCH_1}")
if(NOT status EQUAL 0 OR base STREQUAL "" OR offset STREQUAL "")
  message(FATAL_ERROR "no entry point read from ${EXE}")
endif()
math(EXPR start "0x${base} + 0x${offset}" OUTPUT_FORMAT HEXADECIMAL)
math(EXPR stop "${start} + 256" OUTPUT_FORMAT HEXADECIMAL)
disassemble(code --start-address=${start} --stop-address=${stop} "${EXE}")
mnemonics("${code}" first)
list(SUBLIST first 0 ${count} first)
if(NOT first STREQUAL wanted)
  message(FATAL_ERROR "${EXE} does not start at DosatStart:\n  entry point: ${first}\n"
                      "  DosatStart:  ${wanted}")
endif()
message(STATUS "${EXE} starts at DosatStart (${wanted}); no SSE before the check")
