# The release zip, checked from the outside: it needs the mingw build, so it
# runs with the other tests of Windows artefacts.
add_test(NAME package.contents
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${CMAKE_SOURCE_DIR} -DWIN_BUILD=${ZV_WIN_BUILD}
          -DTEMPLATE_TOOL=$<TARGET_FILE:zv_ini_template> -DWORK=${CMAKE_BINARY_DIR}/package-test
          -P ${CMAKE_SOURCE_DIR}/cmake/check-package.cmake)
set_tests_properties(package.contents PROPERTIES LABELS wine)
