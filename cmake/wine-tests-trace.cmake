# Record under Wine, replay on Linux: zv_wine_host.exe plays each session of
# tests/trace/ with Zentravisor-trace.asi, which writes Zentravisor-trace.zvt in
# the game folder; zv_replay then replays it in the Linux simulator and every
# call must match.
file(GLOB ZV_TRACE_SESSIONS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/trace/*.zvs)
foreach(session IN LISTS ZV_TRACE_SESSIONS)
  get_filename_component(name ${session} NAME_WE)
  add_test(NAME wine.RecordReplay.${name}
           COMMAND ${CMAKE_COMMAND} -DWINE=${ZV_WINE} -DWIN_BUILD=${ZV_WIN_BUILD}
                   -DPLUGIN=Zentravisor-trace.asi -DSESSION=${session} -DREPLAY_TOOL=$<TARGET_FILE:zv_replay>
                   -DGAME_FOLDER=${CMAKE_BINARY_DIR}/wine-games/record-${name} -P ${ZV_WINE_RUNNER})
  set_tests_properties(wine.RecordReplay.${name} PROPERTIES LABELS wine FIXTURES_REQUIRED wine_prefix TIMEOUT 300
                       SKIP_REGULAR_EXPRESSION "zv-wine: skipped")
endforeach()

# The trace build unloaded while a block write is still running on a pool
# thread: the stand-in hook holds the plug-in's second background write (the
# first after start-up) until the unload, and fails the run if the plug-in
# leaves the process first. The unload waits for that write, then writes the
# rest and the end record; the recording must replay with every frame.
add_test(NAME wine.TraceUnloadDuringAWrite
         COMMAND ${CMAKE_COMMAND} -DWINE=${ZV_WINE} -DWIN_BUILD=${ZV_WIN_BUILD}
                 -DPLUGIN=Zentravisor-trace.asi -DSESSION=${ZV_WINE_SESSIONS}/v-once.zvs
                 "-DHOST_ARGS=--lens-presses 1 --hold-trace-write 2"
                 -DREPLAY_TOOL=$<TARGET_FILE:zv_replay> -DREPLAY_EVERY_FRAME=ON
                 -DGAME_FOLDER=${CMAKE_BINARY_DIR}/wine-games/trace-unload-during-a-write -P ${ZV_WINE_RUNNER})
set_tests_properties(wine.TraceUnloadDuringAWrite PROPERTIES LABELS wine FIXTURES_REQUIRED wine_prefix TIMEOUT 120
                     SKIP_REGULAR_EXPRESSION "zv-wine: skipped")

