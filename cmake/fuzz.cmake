# The fuzz build (ZV_FUZZ, configured with clang++): the settings loader's
# libFuzzer target over the plug-in's and the simulator's objects, and its
# twenty-second run as a test.
zv_sim_executable(settings_load_fuzz ${CMAKE_SOURCE_DIR}/fuzz/settings_load_fuzz.cpp)

enable_testing()
add_test(NAME fuzz.SettingsLoad
         COMMAND ${CMAKE_COMMAND} -DFUZZER=$<TARGET_FILE:settings_load_fuzz> -DSECONDS=20
                 -P ${CMAKE_SOURCE_DIR}/cmake/run-fuzz.cmake)
set_tests_properties(fuzz.SettingsLoad PROPERTIES LABELS fuzz TIMEOUT 300)
