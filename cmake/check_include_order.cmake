# Checks that a program's folders include only folders below them.
#   cmake -DROOT=<program folder> -DLAYERS=<top>|<next>|... [-DTEST_SUPPORT=<folder>,...]
#         -P check_include_order.cmake
# A layer names its folders separated by commas; folders of one layer do not include each
# other. Every folder of ROOT must be named, but for TEST_SUPPORT folders, which no product
# code may include. Not checked: files at ROOT's top (main.cpp), headers outside ROOT (e.g. a
# test's fakes) and tests (*_test.cpp), which may bring parts together. Fails, listing each
# arrow that points sideways or upwards.

cmake_minimum_required(VERSION 3.25)

string(REPLACE "|" ";" layers "${LAYERS}")
string(REPLACE "," ";" test_support "${TEST_SUPPORT}")
set(rank 0)
foreach(layer IN LISTS layers)
  string(REPLACE "," ";" folders "${layer}")
  foreach(folder IN LISTS folders)
    set(rank_${folder} ${rank})
  endforeach()
  math(EXPR rank "${rank} + 1")
endforeach()

file(GLOB_RECURSE files RELATIVE ${ROOT} ${ROOT}/*.h ${ROOT}/*.cpp)
list(FILTER files INCLUDE REGEX "/")
list(FILTER files EXCLUDE REGEX "_test\\.cpp$")
set(faults "")
set(checked 0)
foreach(file IN LISTS files)
  string(REGEX MATCH "^[^/]+" folder "${file}")
  if(folder IN_LIST test_support)
    continue()
  endif()
  if(NOT DEFINED rank_${folder})
    list(APPEND faults "${file}: its folder has no place in the order")
    continue()
  endif()
  math(EXPR checked "${checked} + 1")
  file(STRINGS ${ROOT}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"/]+/")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" header "${line}")
    string(REGEX MATCH "^[^/]+" target "${header}")
    if(target IN_LIST test_support)
      list(APPEND faults "${file} includes ${header}: ${target}/ is test support")
    elseif(target STREQUAL folder OR NOT DEFINED rank_${target})
      continue()
    elseif(NOT rank_${target} GREATER rank_${folder})
      list(APPEND faults "${file} includes ${header}: ${target}/ is not below ${folder}/")
    endif()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "Includes against the order ${LAYERS}:\n  ${text}")
endif()
message(STATUS "${checked} files of ${ROOT} include only downwards")
