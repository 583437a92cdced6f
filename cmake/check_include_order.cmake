# Fails when a file of a layer folder includes a header of a layer above it, or test support.
#   cmake -DROOT=<dir> -DLAYERS=<top>,...,<bottom> [-DTEST_SUPPORT=<folder>,...] -P check_include_order.cmake
# Includes are written from ROOT ("text/code_page.h"); a file may include its own layer and
# those below. Tests (*_test.cpp) are left out: they may use test support from anywhere.
# Layers in a strict order leave no room for a circle between folders.

string(REPLACE "," ";" LAYERS "${LAYERS}")
string(REPLACE "," ";" TEST_SUPPORT "${TEST_SUPPORT}")
set(problems "")
foreach(layer IN LISTS LAYERS)
  list(FIND LAYERS ${layer} rank)
  file(GLOB_RECURSE files ${ROOT}/${layer}/*.h ${ROOT}/${layer}/*.cpp)
  list(FILTER files EXCLUDE REGEX "_test\\.cpp$")
  foreach(file IN LISTS files)
    file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^/\"]+/")
    foreach(line IN LISTS includes)
      string(REGEX MATCH "\"([^/\"]+)/[^\"]*\"" included "${line}")
      set(folder ${CMAKE_MATCH_1})
      list(FIND LAYERS ${folder} target)
      list(FIND TEST_SUPPORT ${folder} support)
      if((target GREATER_EQUAL 0 AND target LESS rank) OR support GREATER_EQUAL 0)
        file(RELATIVE_PATH shown ${ROOT} ${file})
        string(APPEND problems "\n  ${shown} includes ${included}")
      endif()
    endforeach()
  endforeach()
endforeach()
if(problems)
  string(REPLACE ";" " -> " order "${LAYERS}")
  message(FATAL_ERROR "Includes against the order ${order}:${problems}")
endif()
