# The trace build, Zentravisor-trace.asi: the plug-in's sources with the
# recorder compiled in (ZV_RECORDER). Testers swap it in to record what the game
# answered; ./zv replay plays the recording back in the simulator.
set(RC_DESCRIPTION "First-person camera suite, recording build")
set(RC_FILENAME Zentravisor-trace.asi)
set(TRACE_VERSION_RC ${CMAKE_BINARY_DIR}/version-trace.rc)
configure_file(${CMAKE_SOURCE_DIR}/runtime/version.rc.in ${TRACE_VERSION_RC} @ONLY)
add_library(ZentravisorTrace SHARED ${PLUGIN_SOURCES} ${CMAKE_SOURCE_DIR}/runtime/platform_win32.cpp
            ${ZV_WIN_FILE_SOURCES} ${CMAKE_SOURCE_DIR}/recorder/recorder.cpp
            ${CMAKE_SOURCE_DIR}/recorder/recorder_file_win32.cpp ${TRACE_VERSION_RC})
add_dependencies(ZentravisorTrace scripthook_import)
target_include_directories(ZentravisorTrace PRIVATE ${CMAKE_SOURCE_DIR} ${ZV_GENERATED})
target_compile_options(ZentravisorTrace PRIVATE "$<$<COMPILE_LANGUAGE:CXX>:${PLUGIN_FLAGS}>")
target_compile_definitions(ZentravisorTrace PRIVATE ZV_RECORDER
                           ZV_BUILD="win64 gcc ${CMAKE_CXX_COMPILER_VERSION}")
target_link_libraries(ZentravisorTrace PRIVATE ${HOOK_IMPORT_LIB} xinput1_4 user32 kernel32)
set_target_properties(ZentravisorTrace PROPERTIES PREFIX "" SUFFIX ".asi" OUTPUT_NAME "Zentravisor-trace")
target_link_options(ZentravisorTrace PRIVATE -s)
