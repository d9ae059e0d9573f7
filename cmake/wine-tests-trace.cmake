# Record under Wine, replay on Linux: zv_wine_host.exe plays each session of
# tests/trace/ with Zentravisor-trace.asi, which writes Zentravisor-trace.zvt in
# the game folder; zv_replay then replays it in the Linux simulator and every
# call must match.
file(GLOB ZV_TRACE_SESSIONS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/trace/*.zvs)
foreach(session IN LISTS ZV_TRACE_SESSIONS)
  get_filename_component(name ${session} NAME_WE)
  zv_wine_host_test(RecordReplay.${name} PLUGIN Zentravisor-trace.asi SESSION ${session} REPLAY
                    FOLDER record-${name} TIMEOUT 300)
endforeach()

# The trace build unloaded while a block write is still running on a pool
# thread: the stand-in hook holds the plug-in's second background write (the
# first after start-up) until the unload, and fails the run if the plug-in
# leaves the process first. The unload waits for that write, then writes the
# rest and the end record; the recording must replay with every frame.
zv_wine_host_test(TraceUnloadDuringAWrite PLUGIN Zentravisor-trace.asi SESSION ${ZV_WINE_SESSIONS}/v-once.zvs
                  REPLAY REPLAY_EVERY_FRAME FOLDER trace-unload-during-a-write --lens-presses 1 --hold-trace-write 2)

