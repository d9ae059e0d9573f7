# What every Wine step shares, included by the scripts that run one: wine
# itself (WINE, else found on the path), the prefix (WINEPREFIX from the
# environment, else the one ./zv uses under ~/.cache) and Wine's debug output
# off.
if(NOT WINE)
  find_program(WINE wine)
endif()
if(NOT WINE)
  message(FATAL_ERROR "zv-wine: wine is not installed (apt-get install wine wine64)")
endif()
if(NOT DEFINED ENV{WINEPREFIX} OR "$ENV{WINEPREFIX}" STREQUAL "")
  set(ENV{WINEPREFIX} "$ENV{HOME}/.cache/zentravisor/wineprefix")
endif()
set(ENV{WINEDEBUG} "-all")

# Ends the calling script when a file the step needs is missing from the
# release build folder WIN_BUILD: the test is skipped, or fails where
# ZV_REQUIRE_WIN_BUILD is set (./zv test sets it, so that a missing build fails
# there).
macro(zv_require_win_build)
  foreach(zv_file ${ARGN})
    if(NOT EXISTS "${WIN_BUILD}/${zv_file}")
      if("$ENV{ZV_REQUIRE_WIN_BUILD}" STREQUAL "")
        message("zv-wine: skipped: no ${WIN_BUILD}/${zv_file} (./zv build makes the release build)")
        return()
      endif()
      message(FATAL_ERROR "zv-wine: no ${WIN_BUILD}/${zv_file}")
    endif()
  endforeach()
endmacro()
