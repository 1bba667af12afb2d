# Reads a Windows binary's tables with objdump and fails unless
#  - it imports no MinGW runtime DLL (libstdc++, libgcc, libwinpthread), so it
#    runs with nothing of ours beside it, and
#  - given EXPORT_MAP, a version script, it exports exactly the names of the
#    script's "global:" list, undecorated (no "@16" of __stdcall), and
#  - given STDCALL, decorated names ("Connect@16"), a 32-bit library's own
#    symbol table has each of them it exports: __stdcall, the callee taking
#    that many bytes of arguments off the stack, as the caller expects.
#   cmake -DOBJDUMP=<objdump> -DFILE=<exe or dll> [-DEXPORT_MAP=<map>] [-DSTDCALL=<names>]
#         -P check_binary.cmake
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${OBJDUMP} -p ${FILE} OUTPUT_VARIABLE dump ERROR_VARIABLE error RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${FILE} failed: ${error}")
endif()
get_filename_component(name ${FILE} NAME)

string(REGEX MATCHALL "DLL Name: [^\n]+" import_lines "${dump}")
set(imports "")
foreach(line ${import_lines})
  string(REGEX REPLACE "^DLL Name: *" "" dll "${line}")
  list(APPEND imports "${dll}")
endforeach()
set(runtime_dlls ${imports})
list(FILTER runtime_dlls INCLUDE REGEX "^[Ll][Ii][Bb]")
if(runtime_dlls)
  message(FATAL_ERROR "${name} needs MinGW's runtime beside it: ${runtime_dlls} (imports: ${imports})")
endif()
message(STATUS "${name} imports only ${imports}")

if(NOT EXPORT_MAP)
  return()
endif()
file(READ ${EXPORT_MAP} map)
if(NOT map MATCHES "global:([^}]*)local:")
  message(FATAL_ERROR "No global: list found in ${EXPORT_MAP}")
endif()
string(REGEX MATCHALL "[A-Za-z_][A-Za-z0-9_]*" expected "${CMAKE_MATCH_1}")
list(SORT expected)

# The name table: "[Ordinal/Name Pointer] Table", then one "[  n] name" a line.
if(NOT dump MATCHES "\\[Ordinal/Name Pointer\\] Table[^\n]*\n((\t *\\[ *[0-9]+\\] [^\n]*\n)*)")
  message(FATAL_ERROR "${name} exports nothing; expected ${expected}")
endif()
# Brackets would upset CMake's lists: the names are taken out first.
string(REGEX REPLACE "\t *\\[ *[0-9]+\\] ([^\n]*)\n" "\\1;" exported "${CMAKE_MATCH_1}")
list(REMOVE_ITEM exported "")
list(SORT exported)
if(NOT exported STREQUAL expected)
  message(FATAL_ERROR "${name} exports\n  ${exported}\nbut should export exactly\n  ${expected}")
endif()
message(STATUS "${name} exports exactly ${exported}")

if(NOT STDCALL OR NOT dump MATCHES "Magic[ \t]+010b")
  return() # a 64-bit library has one calling convention only
endif()
execute_process(COMMAND ${OBJDUMP} -t ${FILE} OUTPUT_VARIABLE symbols RESULT_VARIABLE result)
if(NOT symbols MATCHES " _[A-Za-z_]+@[0-9]+\n")
  message(FATAL_ERROR "${name} has no symbol table to show its calling conventions: check an unstripped build")
endif()
foreach(decorated ${STDCALL})
  string(REGEX REPLACE "@.*" "" plain ${decorated})
  if(plain IN_LIST exported AND NOT symbols MATCHES " _${decorated}\n")
    message(FATAL_ERROR "${name} exports ${plain}, but not as the __stdcall function ${decorated}")
  endif()
endforeach()
message(STATUS "${name}: __stdcall entry points as expected")
