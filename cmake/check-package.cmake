# Builds the release zip into WORK and checks what a player gets: the four
# files, the four presets and the trace build under extras/, nothing else, each preset as committed,
# the template byte for byte as the plug-in writes it,
# Windows programs, a readme in Windows line ends naming the version, and the
# plug-in's menu badge showing that same version.
#   cmake -DSOURCE=<repo> -DWIN_BUILD=<mingw build> -DTEMPLATE_TOOL=<zv_ini_template>
#         -DWORK=<scratch folder> -P cmake/check-package.cmake
cmake_policy(SET CMP0007 NEW)  # keep empty list items, then drop them explicitly
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/expected ${WORK}/unpacked)
execute_process(COMMAND ${TEMPLATE_TOOL} ${WORK}/expected/Zentravisor.ini RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the template tool failed")
endif()
execute_process(
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${SOURCE} -DASI=${WIN_BUILD}/Zentravisor.asi
          -DTRACE_ASI=${WIN_BUILD}/Zentravisor-trace.asi
          -DCHECKER=${WIN_BUILD}/zv-check-ini.exe -DINI=${WORK}/expected/Zentravisor.ini -DOUT=${WORK}
          -P ${SOURCE}/cmake/package.cmake
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "packaging failed")
endif()

file(STRINGS ${SOURCE}/CMakeLists.txt project_line REGEX "^project\\(Zentravisor VERSION ")
string(REGEX MATCH "VERSION ([0-9.]+)" _ "${project_line}")
set(version ${CMAKE_MATCH_1})
set(zip ${WORK}/Zentravisor-${version}.zip)
if(NOT EXISTS ${zip})
  message(FATAL_ERROR "no ${zip}")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf ${zip} OUTPUT_VARIABLE listing)
string(REPLACE "\n" ";" names "${listing}")
list(REMOVE_ITEM names "")
list(SORT names)
set(expected README.txt Zentravisor.asi Zentravisor.ini extras/Zentravisor-trace.asi presets/Bodycam.ini
    presets/Cinematic.ini presets/Classic.ini presets/Comfort.ini zv-check-ini.exe)
if(NOT names STREQUAL expected)
  message(FATAL_ERROR "zip holds [${names}], expected [${expected}]")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${zip} WORKING_DIRECTORY ${WORK}/unpacked)

file(SIZE ${WORK}/unpacked/Zentravisor.ini ini_size)
if(NOT ini_size EQUAL 865)
  message(FATAL_ERROR "Zentravisor.ini is ${ini_size} bytes, the template is 865")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/unpacked/Zentravisor.ini
                        ${WORK}/expected/Zentravisor.ini RESULT_VARIABLE differs)
if(differs)
  message(FATAL_ERROR "Zentravisor.ini differs from the plug-in's template")
endif()

foreach(preset Bodycam Cinematic Classic Comfort)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/unpacked/presets/${preset}.ini
                          ${SOURCE}/presets/${preset}.ini RESULT_VARIABLE differs)
  if(differs)
    message(FATAL_ERROR "presets/${preset}.ini in the zip differs from the repository's")
  endif()
endforeach()

foreach(program Zentravisor.asi extras/Zentravisor-trace.asi zv-check-ini.exe)
  file(READ ${WORK}/unpacked/${program} magic LIMIT 2 HEX)
  if(NOT magic STREQUAL "4d5a")
    message(FATAL_ERROR "${program} is not a Windows program")
  endif()
endforeach()
string(REPLACE "." "[.]" version_pattern "${version}")
file(STRINGS ${WORK}/unpacked/Zentravisor.asi badge REGEX "^V${version_pattern}$")
if(NOT badge)
  message(FATAL_ERROR "Zentravisor.asi has no menu badge V${version}: the badge and the package disagree")
endif()

# Windows line ends throughout: every LF follows a CR (file(READ) as text would
# hide the CRs, so the bytes are compared in hex).
file(READ ${WORK}/unpacked/README.txt readme_hex HEX)
string(REGEX MATCHALL "0a" lfs "${readme_hex}")
string(REGEX MATCHALL "0d0a" crlfs "${readme_hex}")
list(LENGTH lfs lf_count)
list(LENGTH crlfs crlf_count)
if(lf_count EQUAL 0 OR NOT lf_count EQUAL crlf_count)
  message(FATAL_ERROR "README.txt has ${lf_count} line ends, ${crlf_count} of them CR LF")
endif()
file(STRINGS ${WORK}/unpacked/README.txt first_line LIMIT_COUNT 1)
if(NOT first_line STREQUAL "ZENTRAVISOR ${version}")
  message(FATAL_ERROR "README.txt starts with '${first_line}', not the version")
endif()
file(READ ${WORK}/unpacked/README.txt readme)
foreach(topic "REQUIREMENTS" "INSTALL" "UNINSTALL" "F10" "TROUBLESHOOTING" "zv-check-ini.exe"
              "REPORTING A CAMERA PROBLEM" "extras\\Zentravisor-trace.asi" "Zentravisor-trace.zvt")
  string(FIND "${readme}" "${topic}" at)
  if(at LESS 0)
    message(FATAL_ERROR "README.txt does not cover ${topic}")
  endif()
endforeach()
message(STATUS "package ok: ${zip}")
