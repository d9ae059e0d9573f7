# settings_probe.exe: the plug-in's settings code against the system's kernel32,
# run under Wine by the "wine" tests of cmake/wine-tests-settings.cmake.
add_executable(settings_probe
  ${CMAKE_SOURCE_DIR}/tests/wine/settings_probe.cpp
  ${CMAKE_SOURCE_DIR}/settings/settings.cpp
  ${CMAKE_SOURCE_DIR}/settings/settings_file.cpp
  ${CMAKE_SOURCE_DIR}/settings/decimal.cpp
  ${ZV_WIN_FILE_SOURCES})
target_include_directories(settings_probe PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(settings_probe PRIVATE -Wall -Wextra)
target_link_libraries(settings_probe PRIVATE kernel32)
