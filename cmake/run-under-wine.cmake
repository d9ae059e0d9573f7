# Runs zv_wine_host.exe for one ctest test: copies zv_wine_host.exe,
# ScriptHookV.dll and Zentravisor.asi from WIN_BUILD into a fresh GAME_FOLDER
# and runs the host there; with LINUX_TRACER, also plays the same run in the
# Linux simulator and requires the two native-call traces to be equal. PLUGIN
# names another .asi of WIN_BUILD to load; SESSION, a session file the host
# plays; REPLAY_TOOL, zv_replay, which must then replay the
# Zentravisor-trace.zvt the run left with no divergence (with
# REPLAY_EVERY_FRAME, every frame the host ran, up to the unload); EXPECT_FILE,
# a file the run must leave in the game folder; NO_FILE, one it must not.
# The prefix is made by the wine.Prefix test (cmake/wine-prefix.cmake).
include(${CMAKE_CURRENT_LIST_DIR}/wine-env.cmake)

if(NOT PLUGIN)
  set(PLUGIN Zentravisor.asi)
endif()
set(files zv_wine_host.exe ScriptHookV.dll ${PLUGIN})
zv_require_win_build(${files})

file(REMOVE_RECURSE "${GAME_FOLDER}")
file(MAKE_DIRECTORY "${GAME_FOLDER}")
foreach(f IN LISTS files)
  file(COPY "${WIN_BUILD}/${f}" DESTINATION "${GAME_FOLDER}")
endforeach()

separate_arguments(args UNIX_COMMAND "${HOST_ARGS}")
if(NOT PLUGIN STREQUAL "Zentravisor.asi")
  list(APPEND args --plugin ${PLUGIN})
endif()
if(SESSION)
  file(COPY "${SESSION}" DESTINATION "${GAME_FOLDER}")
  get_filename_component(session_name "${SESSION}" NAME)
  list(APPEND args --session ${session_name})
endif()
if(LINUX_TRACER)
  execute_process(COMMAND ${LINUX_TRACER} ${args} --trace "${GAME_FOLDER}/linux-trace.txt"
                  WORKING_DIRECTORY "${GAME_FOLDER}" RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "zv-wine: the Linux simulator's run failed (${rc})")
  endif()
  list(APPEND args --trace wine-trace.txt)
endif()
execute_process(COMMAND ${WINE} "${GAME_FOLDER}/zv_wine_host.exe" ${args}
                WORKING_DIRECTORY "${GAME_FOLDER}"
                RESULT_VARIABLE rc OUTPUT_FILE "${GAME_FOLDER}/stdout.txt" ERROR_FILE "${GAME_FOLDER}/stderr.txt")
# Files, not pipes: Wine's helper processes outlive the run holding their copy
# of stderr, and a pipe would keep this script waiting for them.
file(READ "${GAME_FOLDER}/stdout.txt" out)
file(READ "${GAME_FOLDER}/stderr.txt" err)
string(REPLACE "\r" "" out "${out}")
string(REPLACE "\r" "" err "${err}")
message("${out}${err}")
if(rc EQUAL 0 AND out MATCHES "zv_wine_host: OK")
  if(EXPECT_FILE AND NOT EXISTS "${GAME_FOLDER}/${EXPECT_FILE}")
    message(FATAL_ERROR "zv-wine: the run left no ${EXPECT_FILE} in ${GAME_FOLDER}")
  endif()
  if(NO_FILE AND EXISTS "${GAME_FOLDER}/${NO_FILE}")
    message(FATAL_ERROR "zv-wine: the run left ${NO_FILE} in ${GAME_FOLDER}")
  endif()
  if(LINUX_TRACER)
    # zv_trace_diff (built beside zv_trace): the same lines, floats within a few ulps.
    get_filename_component(tools_dir "${LINUX_TRACER}" DIRECTORY)
    execute_process(COMMAND ${tools_dir}/zv_trace_diff "${GAME_FOLDER}/linux-trace.txt" "${GAME_FOLDER}/wine-trace.txt"
                    RESULT_VARIABLE diff_rc OUTPUT_VARIABLE diff_out)
    if(NOT diff_rc EQUAL 0)
      message(FATAL_ERROR "zv-wine: traces differ: ${diff_out}game folder kept at ${GAME_FOLDER}")
    endif()
    message("zv-wine: ${diff_out}")
  endif()
  if(REPLAY_TOOL)
    execute_process(COMMAND ${REPLAY_TOOL} "${GAME_FOLDER}/Zentravisor-trace.zvt"
                    RESULT_VARIABLE replay_rc OUTPUT_VARIABLE replay_out ERROR_VARIABLE replay_out)
    message("${replay_out}")
    if(NOT replay_rc EQUAL 0)
      message(FATAL_ERROR "zv-wine: the recording does not replay (${replay_rc}); game folder kept at ${GAME_FOLDER}")
    endif()
    if(REPLAY_EVERY_FRAME)
      string(REGEX MATCH "zv_wine_host: OK: ([0-9]+) frames" ran "${out}")
      set(frames_run ${CMAKE_MATCH_1})
      if(NOT replay_out MATCHES "OK: ${frames_run} frames" OR NOT replay_out MATCHES "the plug-in was unloaded")
        message(FATAL_ERROR "zv-wine: the recording lacks frames or the unload's end record (${frames_run} frames "
                            "were run); game folder kept at ${GAME_FOLDER}")
      endif()
    endif()
  endif()
  return()
elseif(rc EQUAL 1)
  set(why "a check failed (see the summary line)")
elseif(rc EQUAL 3)
  set(why "the simulator stopped the run (its reason is above)")
elseif(rc EQUAL 4)
  set(why "the plug-in or the host crashed (the exception is above)")
elseif(rc EQUAL 6)
  set(why "a pass never ended in scriptWait(0)")
elseif(rc EQUAL 5)
  set(why "crashed before the crash report was installed")
else()
  set(why "exit status ${rc}")
endif()
message(FATAL_ERROR "zv-wine: ${why}; game folder kept at ${GAME_FOLDER}")
