# The Wine test host: a stand-in ScriptHookV.dll holding the simulator, and
# zv_wine_host.exe, which plays a session with the release Zentravisor.asi.

# Every simulator file builds for Windows except these. The first four use
# POSIX or have the plug-in linked in, and sim/win/ holds their Windows
# counterparts; the menu rasterizer and the clip renderer draw with the Linux
# system's stb, fonts and libwebp;
# the adversary changes the plug-in's settings in its own process, which the
# stand-in cannot (the .asi keeps its own). Any other sim/*.cpp and
# sim/world/*.cpp joins the stand-in by itself, so it must be portable. Play
# sessions join it with the settings table, which they check "set" steps
# against; under Wine those steps reach the plug-in through its settings file.
set(ZV_SIM_LINUX_ONLY
  sim/coroutine_posix.cpp
  sim/load_linked.cpp
  sim/platform_sim.cpp
  sim/files_sim.cpp
  sim/raster.cpp
  sim/clip_render.cpp
  sim/adversary.cpp)
set(ZV_STANDIN_SOURCES ${SIM_SOURCES})
foreach(linux_only IN LISTS ZV_SIM_LINUX_ONLY)
  list(REMOVE_ITEM ZV_STANDIN_SOURCES ${CMAKE_SOURCE_DIR}/${linux_only})
endforeach()
file(GLOB ZV_SIM_WIN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/sim/win/*.cpp)

add_library(ScriptHookV SHARED ${ZV_STANDIN_SOURCES} ${ZV_SIM_WIN_SOURCES} ${CMAKE_SOURCE_DIR}/settings/settings.cpp
            ${CMAKE_SOURCE_DIR}/sim/win/scripthook_standin.def)
target_include_directories(ScriptHookV PRIVATE ${CMAKE_SOURCE_DIR} ${ZV_GENERATED})
target_compile_definitions(ScriptHookV PRIVATE SIM_STANDIN_HOOK)
target_compile_options(ScriptHookV PRIVATE -Wall -Wextra)
target_link_libraries(ScriptHookV PRIVATE kernel32)
set_target_properties(ScriptHookV PROPERTIES PREFIX "" OUTPUT_NAME "ScriptHookV")

add_executable(zv_wine_host ${CMAKE_SOURCE_DIR}/sim/win/host/zv_wine_host.cpp)
target_include_directories(zv_wine_host PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(zv_wine_host PRIVATE -Wall -Wextra)
target_link_libraries(zv_wine_host PRIVATE ScriptHookV)
