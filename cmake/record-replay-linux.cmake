# Records a session with the recorder built into the Linux simulator's plug-in,
# then replays the trace: every call must match.
#   cmake -DRECORD=<zv_record> -DREPLAY=<zv_replay> -DSESSION=<file.zvs> -DGAME_FOLDER=<folder> -P record-replay-linux.cmake
file(REMOVE_RECURSE "${GAME_FOLDER}")
execute_process(COMMAND ${RECORD} ${SESSION} ${GAME_FOLDER} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "recording ${SESSION} failed (${rc})")
endif()
execute_process(COMMAND ${REPLAY} ${GAME_FOLDER}/Zentravisor-trace.zvt RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
message("${out}")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the recording of ${SESSION} does not replay (${rc})")
endif()
