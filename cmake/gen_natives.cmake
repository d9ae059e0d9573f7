# The game's natives, from the one table sim/natives.tsv (hash, namespace, name,
# parameters, return type, note), as three generated files in OUT_DIR:
#   native_hashes.h    a named constant per hash: native::kCreateCam for CREATE_CAM
#   runtime/natives.h  the plug-in's typed wrappers: game::createCam(...)
#   native_table.inc   the simulator's table: hash, name, argument count, one kind
#                      letter per argument and the result kind
# A note "one more trailing parameter" in the table makes the wrapper take one
# parameter less and push 0 for the last. A file is rewritten only when its text
# changes, so nothing rebuilds for a table edit that changes nothing.
#
# The build includes this file and calls zv_generate_natives at configure time.

# C++ type of a table type in a wrapper's parameter list; "" when unknown.
function(zv_native_param_type type out)
  set(known float int Hash Ped Cam Entity Vehicle Player float* Hash* Entity* "const char*")
  if(type STREQUAL "BOOL")
    set(${out} bool PARENT_SCOPE)
  elseif(type STREQUAL "BOOL*")
    set(${out} int32_t* PARENT_SCOPE)
  elseif(type STREQUAL "Vector3*")
    set(${out} NativeVector3* PARENT_SCOPE)
  elseif(type STREQUAL "Any")
    set(${out} int PARENT_SCOPE)
  elseif(type IN_LIST known)
    set(${out} "${type}" PARENT_SCOPE)
  else()
    set(${out} "" PARENT_SCOPE)
  endif()
endfunction()

# The simulator's letter for an argument:
#   i int/handle/hash   f float   b bool   s text
#   out-pointers by what the game writes there: F float, V vector, I int-like
function(zv_native_arg_kind type out)
  if(type STREQUAL "const char*")
    set(kind s)
  elseif(type STREQUAL "float*")
    set(kind F)
  elseif(type STREQUAL "Vector3*")
    set(kind V)
  elseif(type MATCHES "\\*$")
    set(kind I)
  elseif(type STREQUAL "float")
    set(kind f)
  elseif(type STREQUAL "BOOL")
    set(kind b)
  else()
    set(kind i)
  endif()
  set(${out} ${kind} PARENT_SCOPE)
endfunction()

# Wrapper return type and the simulator's result letter: v none, i int/handle/hash,
# b bool, f float, 3 vector.
function(zv_native_result type out_type out_kind)
  if(type STREQUAL "void")
    set(t void)
    set(k v)
  elseif(type STREQUAL "BOOL")
    set(t bool)
    set(k b)
  elseif(type STREQUAL "float")
    set(t float)
    set(k f)
  elseif(type STREQUAL "Vector3")
    set(t Vec3)
    set(k 3)
  elseif(type MATCHES "^(int|Hash|Ped|Cam|Entity|Vehicle|Player)$")
    set(t "${type}")
    set(k i)
  else()
    message(FATAL_ERROR "natives.tsv: unknown return type '${type}'")
  endif()
  set(${out_type} ${t} PARENT_SCOPE)
  set(${out_kind} ${k} PARENT_SCOPE)
endfunction()

# GET_ENTITY_COORDS -> getEntityCoords
function(zv_native_camel name out)
  string(TOLOWER "${name}" lower)
  string(REPLACE "_" ";" parts "${lower}")
  set(camel "")
  foreach(part IN LISTS parts)
    if(camel STREQUAL "")
      set(camel "${part}")
    else()
      string(SUBSTRING "${part}" 0 1 first)
      string(SUBSTRING "${part}" 1 -1 rest)
      string(TOUPPER "${first}" first)
      string(APPEND camel "${first}${rest}")
    endif()
  endforeach()
  set(${out} "${camel}" PARENT_SCOPE)
endfunction()

function(zv_write_if_changed path text)
  file(WRITE "${path}.tmp" "${text}")
  file(COPY_FILE "${path}.tmp" "${path}" ONLY_IF_DIFFERENT)
  file(REMOVE "${path}.tmp")
endfunction()

function(zv_generate_natives tsv out_dir)
  file(READ "${tsv}" text)
  # Parameter lists are separated by ';', which is CMake's list separator.
  string(REPLACE ";" "|" text "${text}")
  string(REGEX REPLACE "\r?\n" ";" lines "${text}")
  list(REMOVE_AT lines 0)
  set(banner "// Generated from sim/natives.tsv by cmake/gen_natives.cmake: edit the table, not this file.\n")
  set(hashes "")
  set(table "")
  set(names "")
  foreach(line IN LISTS lines)
    if(line STREQUAL "")
      continue()
    endif()
    if(NOT line MATCHES "^(0x[0-9A-F]+)\t[^\t]*\t([A-Z0-9_]+)\t([^\t]*)\t([^\t]*)\t?(.*)$")
      message(FATAL_ERROR "natives.tsv: a row that is not hash, namespace, name, parameters, return type, note: ${line}")
    endif()
    set(hash "${CMAKE_MATCH_1}")
    set(name "${CMAKE_MATCH_2}")
    set(params "${CMAKE_MATCH_3}")
    set(ret "${CMAKE_MATCH_4}")
    set(note "${CMAKE_MATCH_5}")
    zv_native_camel("${name}" camel)
    string(SUBSTRING "${camel}" 0 1 first)
    string(SUBSTRING "${camel}" 1 -1 rest)
    string(TOUPPER "${first}" first)
    set(constant "native::k${first}${rest}")
    string(APPEND hashes "constexpr uint64_t k${first}${rest} = ${hash}ull;\n")

    string(REGEX MATCHALL "[^|]+" plist "${params}")
    list(FILTER plist EXCLUDE REGEX "^[ \t]*$")
    list(LENGTH plist count)
    set(pushes_zero FALSE)
    if(note MATCHES "one more trailing parameter")
      set(pushes_zero TRUE)
    endif()
    set(kinds "")
    set(decl "")
    set(args "")
    set(index 0)
    foreach(p IN LISTS plist)
      string(STRIP "${p}" p)
      math(EXPR index "${index} + 1")
      if(NOT p MATCHES "^(.*[ *]) *([A-Za-z_][A-Za-z0-9_]*)$")
        message(FATAL_ERROR "natives.tsv: ${name}: a parameter that is not a type and a name: '${p}'")
      endif()
      set(pname "${CMAKE_MATCH_2}")
      string(STRIP "${CMAKE_MATCH_1}" type)
      string(REGEX REPLACE " +\\*" "*" type "${type}")
      zv_native_param_type("${type}" ctype)
      if(ctype STREQUAL "")
        message(FATAL_ERROR "natives.tsv: ${name}: unknown parameter type '${type}'")
      endif()
      zv_native_arg_kind("${type}" kind)
      string(APPEND kinds "${kind}")
      if(pushes_zero AND index EQUAL count)
        string(APPEND args ", 0")  # the trailing word the game reads; always 0
        continue()
      endif()
      if(decl STREQUAL "")
        set(decl "${ctype} ${pname}")
      else()
        string(APPEND decl ", ${ctype} ${pname}")
      endif()
      string(APPEND args ", ${pname}")
    endforeach()
    zv_native_result("${ret}" rtype rkind)
    set(body "callNative<${rtype}>(${constant}${args});")
    if(NOT rtype STREQUAL "void")
      set(body "return ${body}")
    endif()
    set(wrapper_${name} "inline ${rtype} ${camel}(${decl}) { ${body} }\n")
    list(APPEND names "${name}")
    string(APPEND table "SIM_NATIVE_ROW(${constant}, \"${name}\", ${count}, \"${kinds}\", '${rkind}')\n")
  endforeach()

  list(SORT names)
  set(wrappers "")
  foreach(name IN LISTS names)
    string(APPEND wrappers "${wrapper_${name}}")
  endforeach()

  zv_write_if_changed("${out_dir}/native_hashes.h" "${banner}// The hash of every game native the plug-in calls, by name.
#pragma once
#include <cstdint>

namespace native {
${hashes}}  // namespace native
")
  zv_write_if_changed("${out_dir}/runtime/natives.h" "${banner}// Typed wrappers for every game native the plug-in calls, one line each.
#pragma once
#include \"native_hashes.h\"
#include \"runtime/native_call.h\"

namespace game {
${wrappers}}  // namespace game
")
  zv_write_if_changed("${out_dir}/native_table.inc" "${banner}${table}")
endfunction()
