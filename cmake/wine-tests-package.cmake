# The release zip, checked from the outside: it needs the mingw build, so it
# runs with the other tests of Windows artefacts.
add_test(NAME package.contents
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${CMAKE_SOURCE_DIR} -DWIN_BUILD=${ZV_WIN_BUILD}
          -DTEMPLATE_TOOL=$<TARGET_FILE:zv_ini_template> -DWORK=${CMAKE_BINARY_DIR}/package-test
          -P ${CMAKE_SOURCE_DIR}/cmake/check-package.cmake)
set_tests_properties(package.contents PROPERTIES LABELS wine)

# The players' checker, zv-check-ini.exe, reads a file through Wine's kernel32
# exactly as the Linux build reads it through the simulator.
add_test(NAME wine.CheckIniMatchesLinux
  COMMAND ${CMAKE_COMMAND} -DWINE=${ZV_WINE} -DWIN_BUILD=${ZV_WIN_BUILD} -DLINUX_CHECKER=$<TARGET_FILE:zv_check_ini>
          -DINI=${CMAKE_SOURCE_DIR}/tests/data/player_mistakes.ini -P ${CMAKE_SOURCE_DIR}/cmake/check-ini-under-wine.cmake)
set_tests_properties(wine.CheckIniMatchesLinux PROPERTIES LABELS wine FIXTURES_REQUIRED wine_prefix TIMEOUT 120
                     SKIP_REGULAR_EXPRESSION "zv-wine: skipped")
