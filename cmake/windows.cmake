# The release build: Zentravisor.asi, a PE32+ DLL for the script hook, with a
# version resource compiled by windres.
enable_language(RC)
add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions> $<$<COMPILE_LANGUAGE:CXX>:-fno-rtti>)
add_link_options(-static -static-libgcc -static-libstdc++)

# Import library for ScriptHookV.dll: plain C names on our side, the hook's
# MSVC-decorated export names on its side.
set(HOOK_IMPORT_LIB ${CMAKE_BINARY_DIR}/libscripthook.a)
add_custom_command(
  OUTPUT ${HOOK_IMPORT_LIB}
  COMMAND ${ZV_DLLTOOL} -d ${CMAKE_SOURCE_DIR}/runtime/scripthook.def -l ${HOOK_IMPORT_LIB} -D ScriptHookV.dll
  DEPENDS ${CMAKE_SOURCE_DIR}/runtime/scripthook.def
  COMMENT "import library for ScriptHookV.dll")
add_custom_target(scripthook_import DEPENDS ${HOOK_IMPORT_LIB})

# Product name, version and description for the file's properties in Windows.
set(RC_DESCRIPTION "First-person camera suite")
set(RC_FILENAME Zentravisor.asi)
set(VERSION_RC ${CMAKE_BINARY_DIR}/version.rc)
configure_file(${CMAKE_SOURCE_DIR}/runtime/version.rc.in ${VERSION_RC} @ONLY)

# The settings file's Win32 side, in every Windows program that reads or writes it.
set(ZV_WIN_FILE_SOURCES ${CMAKE_SOURCE_DIR}/runtime/files_win32.cpp ${CMAKE_SOURCE_DIR}/runtime/utf16_win32.cpp)

add_library(Zentravisor SHARED ${PLUGIN_SOURCES} ${CMAKE_SOURCE_DIR}/runtime/platform_win32.cpp
            ${ZV_WIN_FILE_SOURCES} ${VERSION_RC})
add_dependencies(Zentravisor scripthook_import)
target_include_directories(Zentravisor PRIVATE ${CMAKE_SOURCE_DIR} ${ZV_GENERATED})
target_compile_options(Zentravisor PRIVATE "$<$<COMPILE_LANGUAGE:CXX>:${PLUGIN_FLAGS}>")
target_link_libraries(Zentravisor PRIVATE ${HOOK_IMPORT_LIB} xinput1_4 user32 kernel32)
set_target_properties(Zentravisor PROPERTIES PREFIX "" SUFFIX ".asi" OUTPUT_NAME "Zentravisor")
# Players get the plug-in without its symbol table: a third of the size.
target_link_options(Zentravisor PRIVATE -s)

# Windows-side programs (the Wine test host, test probes, tools): one fragment each.
file(GLOB WINDOWS_FRAGMENTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/cmake/win-*.cmake)
foreach(fragment IN LISTS WINDOWS_FRAGMENTS)
  include(${fragment})
endforeach()
