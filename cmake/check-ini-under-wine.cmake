# zv-check-ini.exe under Wine against the Linux zv_check_ini on one file: the
# same load code through Wine's kernel32 and through the simulator's reader must
# print the same values and warnings, and both exit 1 for a file with warnings.
#   cmake -DWINE=<wine> -DWIN_BUILD=<mingw build> -DLINUX_CHECKER=<zv_check_ini>
#         -DINI=<file> -P cmake/check-ini-under-wine.cmake
include(${CMAKE_CURRENT_LIST_DIR}/wine-env.cmake)
zv_require_win_build(zv-check-ini.exe)

execute_process(COMMAND ${LINUX_CHECKER} ${INI} OUTPUT_VARIABLE linux RESULT_VARIABLE linux_rc)
execute_process(COMMAND ${WINE} ${WIN_BUILD}/zv-check-ini.exe "Z:${INI}" OUTPUT_VARIABLE windows
                RESULT_VARIABLE windows_rc)
if(NOT linux_rc EQUAL 1 OR NOT windows_rc EQUAL 1)
  message(FATAL_ERROR "exit status: Linux ${linux_rc}, Windows ${windows_rc}; both should be 1 (warnings)")
endif()
# The first line names the file as each system spells the path.
foreach(side linux windows)
  string(REPLACE "\r\n" "\n" ${side} "${${side}}")
  string(REGEX REPLACE "^[^\n]*\n" "" ${side} "${${side}}")
endforeach()
if(NOT linux STREQUAL windows)
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/check-ini-linux.txt "${linux}")
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/check-ini-windows.txt "${windows}")
  message(FATAL_ERROR "the two checkers disagree; see check-ini-linux.txt and check-ini-windows.txt")
endif()
message(STATUS "same report on both systems")
