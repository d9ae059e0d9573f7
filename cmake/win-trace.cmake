# The trace build, Zentravisor-trace.asi: the plug-in's sources with the
# recorder compiled in (ZV_RECORDER). Testers swap it in to record what the game
# answered; ./zv replay plays the recording back in the simulator.
add_library(ZentravisorTrace SHARED ${PLUGIN_SOURCES} ${CMAKE_SOURCE_DIR}/runtime/platform_win32.cpp
            ${CMAKE_SOURCE_DIR}/runtime/files_win32.cpp ${CMAKE_SOURCE_DIR}/recorder/recorder.cpp
            ${CMAKE_SOURCE_DIR}/recorder/recorder_file_win32.cpp)
add_dependencies(ZentravisorTrace scripthook_import)
target_include_directories(ZentravisorTrace PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(ZentravisorTrace PRIVATE ${PLUGIN_FLAGS})
target_compile_definitions(ZentravisorTrace PRIVATE ZV_RECORDER
                           ZV_BUILD="win64 gcc ${CMAKE_CXX_COMPILER_VERSION}")
target_link_libraries(ZentravisorTrace PRIVATE ${HOOK_IMPORT_LIB} xinput1_4 user32 kernel32)
set_target_properties(ZentravisorTrace PROPERTIES PREFIX "" SUFFIX ".asi" OUTPUT_NAME "Zentravisor-trace")
target_link_options(ZentravisorTrace PRIVATE -s)
