# Record under Wine, replay on Linux: zv_wine_host.exe plays each session of
# tests/trace/ with Zentravisor-trace.asi, which writes Zentravisor-trace.zvt in
# the game folder; zv_replay then replays it in the Linux simulator and every
# call must match.
file(GLOB ZV_TRACE_SESSIONS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/trace/*.zvs)
foreach(session IN LISTS ZV_TRACE_SESSIONS)
  get_filename_component(name ${session} NAME_WE)
  add_test(NAME wine.RecordReplay.${name}
           COMMAND ${CMAKE_COMMAND} -DMODE=host -DWINE=${ZV_WINE} -DWIN_BUILD=${ZV_WIN_BUILD}
                   -DPLUGIN=Zentravisor-trace.asi -DSESSION=${session} -DREPLAY_TOOL=$<TARGET_FILE:zv_replay>
                   -DGAME_FOLDER=${CMAKE_BINARY_DIR}/wine-games/record-${name} -P ${ZV_WINE_RUNNER})
  set_tests_properties(wine.RecordReplay.${name} PROPERTIES LABELS wine FIXTURES_REQUIRED wine_prefix TIMEOUT 300
                       SKIP_REGULAR_EXPRESSION "zv-wine: skipped")
endforeach()
