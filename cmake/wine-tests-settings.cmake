# The settings file against Windows: settings_probe.exe runs the settings code
# against Wine's kernel32, then the comparison tests of
# tests/settings_windows_diff_test.cpp check the simulator's file code against
# its artefacts.
set(ZV_WINE_SETTINGS_OUT ${CMAKE_BINARY_DIR}/wine-settings)
add_test(NAME wine.settings.probe
         COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/run_settings_probe.sh ${ZV_WIN_BUILD}/settings_probe.exe
                 ${ZV_WINE_SETTINGS_OUT})
set_tests_properties(wine.settings.probe PROPERTIES LABELS wine FIXTURES_SETUP wine_settings FIXTURES_REQUIRED wine_prefix
                     TIMEOUT 300)
add_test(NAME wine.settings.compare
         COMMAND zv_tests --gtest_filter=*SettingsAgainstWindows*:*SettingsWhereWine*)
set_tests_properties(wine.settings.compare PROPERTIES LABELS wine FIXTURES_REQUIRED wine_settings TIMEOUT 300
                     ENVIRONMENT ZV_WINE_SETTINGS_DIR=${ZV_WINE_SETTINGS_OUT})
