# The simulator build: the plug-in's sources linked with sim/ on Linux.
option(ZV_SANITIZE "build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(ZV_FUZZ "build only the settings loader's fuzz target (clang: libFuzzer, ASan, UBSan)" OFF)
if(ZV_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(ZV_FUZZ)
  # Every object carries libFuzzer's coverage counters, so that the fuzzer
  # learns which inputs reach new code of the loader.
  add_compile_options(-O1 -g -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=fuzzer,address,undefined)
endif()

# The plug-in's objects: name, extra sources, then its compile definitions after DEFINITIONS.
function(zv_plugin_objects name)
  cmake_parse_arguments(PARSE_ARGV 1 opt "" "" "DEFINITIONS")
  add_library(${name} OBJECT ${PLUGIN_SOURCES} ${opt_UNPARSED_ARGUMENTS})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR} ${ZV_GENERATED})
  target_compile_options(${name} PRIVATE ${PLUGIN_FLAGS})
  target_compile_definitions(${name} PRIVATE ${opt_DEFINITIONS})
endfunction()
zv_plugin_objects(zv_plugin)

list(FILTER SIM_SOURCES EXCLUDE REGEX "_win32\\.cpp$")
# The clip rasteriser runs for every pixel of thirty frames a second of every
# session: optimised harder than the rest (its pictures feed no test figure).
set_source_files_properties(${CMAKE_SOURCE_DIR}/sim/clip_render.cpp PROPERTIES COMPILE_OPTIONS "-O3;-ffast-math")
set_source_files_properties(${CMAKE_SOURCE_DIR}/sim/raster.cpp PROPERTIES COMPILE_OPTIONS "-O3")
add_library(zv_sim OBJECT ${SIM_SOURCES})
target_include_directories(zv_sim PUBLIC ${CMAKE_SOURCE_DIR} ${ZV_GENERATED})
target_compile_options(zv_sim PRIVATE -Wall -Wextra)

# Everything that drives the plug-in links both object sets: the plug-in's state
# is module-level, so each program (and each test process) holds one plug-in.
# name, [PLUGIN objects] (zv_plugin unless named), then the sources.
function(zv_sim_executable name)
  cmake_parse_arguments(PARSE_ARGV 1 opt "" "PLUGIN" "")
  if(NOT opt_PLUGIN)
    set(opt_PLUGIN zv_plugin)
  endif()
  add_executable(${name} ${opt_UNPARSED_ARGUMENTS} $<TARGET_OBJECTS:${opt_PLUGIN}> $<TARGET_OBJECTS:zv_sim>)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${ZV_GENERATED})
  target_compile_options(${name} PRIVATE -Wall -Wextra)
endfunction()

if(ZV_FUZZ)
  include(${CMAKE_SOURCE_DIR}/cmake/fuzz.cmake)
  return()
endif()

# The code the tools share, built once: trace reading, plots, comfort figures,
# the report and its sections, process spawning, the settings checker, the
# template, the presets and the clips. Each tools/*.cpp is a program's main.
find_package(PkgConfig REQUIRED)
pkg_check_modules(WEBP REQUIRED IMPORTED_TARGET libwebpmux libwebp)
file(GLOB TOOLS_LIB_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/lib/*.cpp)
list(FILTER TOOLS_LIB_SOURCES EXCLUDE REGEX "_win32\\.cpp$")
add_library(zv_tools STATIC ${TOOLS_LIB_SOURCES})
target_include_directories(zv_tools PUBLIC ${CMAKE_SOURCE_DIR} ${ZV_GENERATED})
target_compile_options(zv_tools PRIVATE -Wall -Wextra)
target_link_libraries(zv_tools PUBLIC PkgConfig::WEBP)

file(GLOB TOOL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/*.cpp)
foreach(src IN LISTS TOOL_SOURCES)
  get_filename_component(tool ${src} NAME_WE)
  zv_sim_executable(${tool} ${src})
  target_link_libraries(${tool} PRIVATE zv_tools)
endforeach()

# The plug-in with the recorder compiled in, as in Zentravisor-trace.asi: for
# recording sessions in the simulator and measuring the recorder's cost.
zv_plugin_objects(zv_plugin_recorder ${CMAKE_SOURCE_DIR}/recorder/recorder.cpp
                  DEFINITIONS ZV_RECORDER ZV_BUILD="linux simulator")
zv_sim_executable(zv_record PLUGIN zv_plugin_recorder ${CMAKE_SOURCE_DIR}/tools/recorder/zv_record.cpp)
zv_sim_executable(zv_bench_recorder PLUGIN zv_plugin_recorder ${CMAKE_SOURCE_DIR}/tools/zv_bench.cpp)

# The plug-in with its old clock, GetTickCount itself, and the demo around it:
# the report's frame-rate section plays it for the figures from before the
# clock took its frame times from the high-resolution counter.
if(NOT ZV_SANITIZE)
  zv_plugin_objects(zv_plugin_tickclock DEFINITIONS ZV_TICK_CLOCK)
  zv_sim_executable(zv_demo_tickclock PLUGIN zv_plugin_tickclock ${CMAKE_SOURCE_DIR}/tools/zv_demo.cpp)
  target_link_libraries(zv_demo_tickclock PRIVATE zv_tools)
endif()

enable_testing()
find_package(GTest REQUIRED)
include(GoogleTest)
file(GLOB TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/*.cpp)
zv_sim_executable(zv_tests ${TEST_SOURCES})
target_link_libraries(zv_tests PRIVATE zv_tools GTest::gtest GTest::gtest_main)
target_compile_definitions(zv_tests PRIVATE ZV_SOURCE_DIR="${CMAKE_SOURCE_DIR}" ZV_REPLAY_TOOL="$<TARGET_FILE:zv_replay>")
add_dependencies(zv_tests zv_replay)
# One process per test: each starts with a freshly loaded plug-in. The
# comparisons against Windows' settings files need the Wine probe's output and
# run as one test after it (cmake/wine-tests-settings.cmake), not on their own.
gtest_discover_tests(zv_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300
                     TEST_FILTER -*SettingsAgainstWindows*:*SettingsWhereWine*)

# The recorder in play: the simulator's plug-in with the recorder compiled in, as
# in zv_record (and so under the sanitizers too).
file(GLOB RECORDER_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/recorder/*.cpp)
zv_sim_executable(zv_recorder_tests PLUGIN zv_plugin_recorder ${RECORDER_TEST_SOURCES})
target_link_libraries(zv_recorder_tests PRIVATE GTest::gtest GTest::gtest_main)
target_compile_definitions(zv_recorder_tests PRIVATE ZV_REPLAY_TOOL="$<TARGET_FILE:zv_replay>")
add_dependencies(zv_recorder_tests zv_replay)
gtest_discover_tests(zv_recorder_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)

# Each demo session recorded with the recorder in the simulator's plug-in and
# replayed: the recorder's own code runs here under the sanitizers too.
file(GLOB ZV_DEMO_SESSIONS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/sessions/*.zvs)
foreach(session IN LISTS ZV_DEMO_SESSIONS)
  get_filename_component(name ${session} NAME_WE)
  add_test(NAME RecordReplayInSimulator.${name}
           COMMAND ${CMAKE_COMMAND} -DRECORD=$<TARGET_FILE:zv_record> -DREPLAY=$<TARGET_FILE:zv_replay>
                   -DSESSION=${session} -DGAME_FOLDER=${CMAKE_BINARY_DIR}/recordings/${name}
                   -P ${CMAKE_SOURCE_DIR}/cmake/record-replay-linux.cmake)
endforeach()

# Tests that run Windows programs from the release build under Wine, labelled
# "wine": one fragment each. ZV_WIN_BUILD is the release build folder.
set(ZV_WIN_BUILD "${CMAKE_SOURCE_DIR}/build/win" CACHE PATH "the mingw build folder")
file(GLOB WINE_TEST_FRAGMENTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/cmake/wine-tests-*.cmake)
foreach(fragment IN LISTS WINE_TEST_FRAGMENTS)
  include(${fragment})
endforeach()

# zv test's last line: the counter fed ctest's own reports of tests whose results are known.
add_test(NAME tools.TallyCountsEveryFailure
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/tally_tests_test.sh ${CMAKE_SOURCE_DIR}/tools/tally_tests.sh
                 ${CMAKE_COMMAND} ${CMAKE_CTEST_COMMAND})
