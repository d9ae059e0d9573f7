# The import-table check reads the release .asi from the release build folder.
target_compile_definitions(zv_tests PRIVATE ZV_WIN_BUILD="${ZV_WIN_BUILD}")

# The release Zentravisor.asi under Wine, driven by zv_wine_host.exe from the
# mingw build (cmake/win-host.cmake). Each run gets a fresh game folder holding
# the host, the stand-in ScriptHookV.dll and the .asi, as a player's would.
find_program(ZV_WINE wine)
set(ZV_WINE_RUNNER ${CMAKE_SOURCE_DIR}/cmake/run-under-wine.cmake)

# The sessions the Wine tests play.
set(ZV_WINE_SESSIONS ${CMAKE_SOURCE_DIR}/tests/wine/sessions)

# Makes the Wine prefix once (about 7 s); every Wine test needs it.
add_test(NAME wine.Prefix
         COMMAND ${CMAKE_COMMAND} -DWINE=${ZV_WINE} -P ${CMAKE_SOURCE_DIR}/cmake/wine-prefix.cmake)
set_tests_properties(wine.Prefix PROPERTIES LABELS wine FIXTURES_SETUP wine_prefix TIMEOUT 300)

# name, [TRACE_MATCHES_LINUX], [REPLAY], [REPLAY_EVERY_FRAME], [PLUGIN file],
# [SESSION file], [FOLDER name of the game folder], [EXPECT_FILE file],
# [NO_FILE file], [TIMEOUT seconds], then the host's arguments. REPLAY replays
# the trace build's recording on Linux (REPLAY_EVERY_FRAME: every frame the
# host ran); run-under-wine.cmake has the details.
function(zv_wine_host_test name)
  cmake_parse_arguments(PARSE_ARGV 1 opt "TRACE_MATCHES_LINUX;REPLAY;REPLAY_EVERY_FRAME"
                        "PLUGIN;SESSION;FOLDER;EXPECT_FILE;NO_FILE;TIMEOUT" "")
  string(JOIN " " host_args ${opt_UNPARSED_ARGUMENTS})
  set(tracer "")
  if(opt_TRACE_MATCHES_LINUX)
    set(tracer $<TARGET_FILE:zv_trace>)
  endif()
  set(replay "")
  if(opt_REPLAY)
    set(replay $<TARGET_FILE:zv_replay>)
  endif()
  set(folder ${name})
  if(opt_FOLDER)
    set(folder ${opt_FOLDER})
  endif()
  set(timeout 120)
  if(opt_TIMEOUT)
    set(timeout ${opt_TIMEOUT})
  endif()
  add_test(NAME wine.${name}
           COMMAND ${CMAKE_COMMAND} -DWINE=${ZV_WINE} -DWIN_BUILD=${ZV_WIN_BUILD} -DLINUX_TRACER=${tracer}
                   -DPLUGIN=${opt_PLUGIN} -DREPLAY_TOOL=${replay} -DREPLAY_EVERY_FRAME=${opt_REPLAY_EVERY_FRAME}
                   -DGAME_FOLDER=${CMAKE_BINARY_DIR}/wine-games/${folder} "-DHOST_ARGS=${host_args}"
                   -DSESSION=${opt_SESSION} -DEXPECT_FILE=${opt_EXPECT_FILE} -DNO_FILE=${opt_NO_FILE}
                   -P ${ZV_WINE_RUNNER})
  set_tests_properties(wine.${name} PROPERTIES LABELS wine FIXTURES_REQUIRED wine_prefix TIMEOUT ${timeout}
                       SKIP_REGULAR_EXPRESSION "zv-wine: skipped")
endfunction()

# First run in an empty game folder: registration, start-up's single F10 pair,
# one yield per pass, the detach.
zv_wine_host_test(FirstRun --frames 120 --lens-presses 1)
# The tick counter wraps to 0 a few frames in. The release binary's natives and
# key presses must be those of the plug-in linked into the Linux simulator.
zv_wine_host_test(ClockWrapMatchesLinux TRACE_MATCHES_LINUX --frames 300 --start-tick 0xFFFFFF00 --lens-presses 1)
# A keyboard session: F6 opens the menu, DOWN twice, RIGHT opens that section
# and, held, steps its first row; F6 closes the menu, which saves the settings
# file through Wine's own kernel32.
zv_wine_host_test(MenuKeysMatchLinux TRACE_MATCHES_LINUX SESSION ${ZV_WINE_SESSIONS}/menu-keys.zvs --lens-presses 1)
