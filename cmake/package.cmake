# The release zip: dist/Zentravisor-<version>.zip with the plug-in, the players'
# readme, the default settings file, the settings checker, the four presets
# (presets/*.ini, complete settings files in Windows line ends) and, under
# extras/, the trace build for reporting a camera problem.
#   cmake -DSOURCE=<repo> -DASI=<Zentravisor.asi> -DTRACE_ASI=<Zentravisor-trace.asi>
#         -DCHECKER=<zv-check-ini.exe> -DINI=<template Zentravisor.ini> -DOUT=<folder> -P cmake/package.cmake
foreach(input SOURCE ASI TRACE_ASI CHECKER INI OUT)
  if(NOT DEFINED ${input})
    message(FATAL_ERROR "package.cmake needs -D${input}=...")
  endif()
endforeach()
foreach(file ${ASI} ${TRACE_ASI} ${CHECKER} ${INI} ${SOURCE}/docs/PLAYERS.txt)
  if(NOT EXISTS ${file})
    message(FATAL_ERROR "package.cmake: missing ${file}")
  endif()
endforeach()

# The version is the project's, the same one the menu's badge shows (the
# package check holds the two together).
file(STRINGS ${SOURCE}/CMakeLists.txt project_line REGEX "^project\\(Zentravisor VERSION ")
string(REGEX MATCH "VERSION ([0-9.]+)" _ "${project_line}")
set(version ${CMAKE_MATCH_1})
if(NOT version)
  message(FATAL_ERROR "package.cmake: no project version in ${SOURCE}/CMakeLists.txt")
endif()

set(stage ${OUT}/Zentravisor-${version})
file(REMOVE_RECURSE ${stage})
file(MAKE_DIRECTORY ${stage})
file(COPY_FILE ${ASI} ${stage}/Zentravisor.asi)
file(MAKE_DIRECTORY ${stage}/extras)
file(COPY_FILE ${TRACE_ASI} ${stage}/extras/Zentravisor-trace.asi)
file(COPY_FILE ${CHECKER} ${stage}/zv-check-ini.exe)
file(COPY_FILE ${INI} ${stage}/Zentravisor.ini)
# The readme in Windows line ends, with the version filled in.
file(READ ${SOURCE}/docs/PLAYERS.txt readme)
string(REPLACE "@VERSION@" "${version}" readme "${readme}")
string(REPLACE "\n" "\r\n" readme "${readme}")
file(WRITE ${stage}/README.txt "${readme}")
set(presets Bodycam.ini Cinematic.ini Classic.ini Comfort.ini)
file(MAKE_DIRECTORY ${stage}/presets)
foreach(preset IN LISTS presets)
  if(NOT EXISTS ${SOURCE}/presets/${preset})
    message(FATAL_ERROR "package.cmake: missing ${SOURCE}/presets/${preset}")
  endif()
  file(COPY_FILE ${SOURCE}/presets/${preset} ${stage}/presets/${preset})
endforeach()
list(TRANSFORM presets PREPEND presets/)

set(zip ${OUT}/Zentravisor-${version}.zip)
file(REMOVE ${zip})
execute_process(
  COMMAND ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip "--mtime=2026-01-01 00:00:00"
          Zentravisor.asi README.txt Zentravisor.ini zv-check-ini.exe extras/Zentravisor-trace.asi ${presets}
  WORKING_DIRECTORY ${stage}
  RESULT_VARIABLE status)
file(REMOVE_RECURSE ${stage})
if(NOT status EQUAL 0)
  message(FATAL_ERROR "package.cmake: zip failed")
endif()
message("release zip:     ${zip}")
