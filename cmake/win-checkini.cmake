# zv-check-ini.exe: the settings checker for players, a Windows console program
# that loads their file with the plug-in's own settings code and kernel32.
file(GLOB CHECKINI_SETTINGS_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/settings/*.cpp)
add_executable(zv_check_ini ${CMAKE_SOURCE_DIR}/tools/zv_check_ini.cpp ${CMAKE_SOURCE_DIR}/tools/lib/ini_check.cpp
               ${CMAKE_SOURCE_DIR}/tools/lib/ini_check_win32.cpp ${CHECKINI_SETTINGS_SOURCES}
               ${ZV_WIN_FILE_SOURCES})
target_include_directories(zv_check_ini PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(zv_check_ini PRIVATE -Wall -Wextra)
target_link_libraries(zv_check_ini PRIVATE kernel32)
set_target_properties(zv_check_ini PROPERTIES OUTPUT_NAME "zv-check-ini")
target_link_options(zv_check_ini PRIVATE -s)
