# Makes the Wine prefix when it has no registry yet: the one place that does,
# for the Wine tests' fixture (wine.Prefix) and for ./zv bench.
#   cmake [-DWINE=<wine>] -P cmake/wine-prefix.cmake
include(${CMAKE_CURRENT_LIST_DIR}/wine-env.cmake)
if(EXISTS "$ENV{WINEPREFIX}/system.reg")
  message("zv-wine: prefix $ENV{WINEPREFIX} ready")
  return()
endif()
get_filename_component(parent "$ENV{WINEPREFIX}" DIRECTORY)
file(MAKE_DIRECTORY "${parent}")
get_filename_component(wine_dir "${WINE}" DIRECTORY)
execute_process(COMMAND ${wine_dir}/wineboot -i RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
# wineboot returns before the wine server has written the registry files:
# system.reg appears only when the server exits, so wait for it.
execute_process(COMMAND ${wine_dir}/wineserver -w RESULT_VARIABLE wait_rc OUTPUT_QUIET ERROR_QUIET)
if(NOT rc EQUAL 0 OR NOT EXISTS "$ENV{WINEPREFIX}/system.reg")
  message(FATAL_ERROR "zv-wine: wineboot -i (${rc}) and wineserver -w (${wait_rc}) left no "
                      "$ENV{WINEPREFIX}/system.reg")
endif()
message("zv-wine: made prefix $ENV{WINEPREFIX}")
