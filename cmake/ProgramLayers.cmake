set(PQ_INCLUDE_ORDER_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/check_include_order.cmake)

# pq_include_order(<program> LAYERS <top>|<next>|... [TEST_SUPPORT <folder>...]): the target
# <program>_include_order, a build step that fails when a file below the current source folder
# includes a header of a folder at its level or above, or test support. Each library of the
# program depends on it, so such an include fails the build.
function(pq_include_order program)
  cmake_parse_arguments(arg "" "LAYERS" "TEST_SUPPORT" ${ARGN})
  file(GLOB_RECURSE files CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  string(REPLACE ";" "," support "${arg_TEST_SUPPORT}")
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/include_order.checked)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DROOT=${CMAKE_CURRENT_SOURCE_DIR} "-DLAYERS=${arg_LAYERS}"
            "-DTEST_SUPPORT=${support}" -P ${PQ_INCLUDE_ORDER_SCRIPT}
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${files} ${PQ_INCLUDE_ORDER_SCRIPT}
    COMMENT "Checking that ${program}'s includes run one way"
    VERBATIM)
  add_custom_target(${program}_include_order DEPENDS ${stamp})
endfunction()

# pq_layer_library(<program> <folder> [SOURCES <file>...] [LINKS <library>...]): the static
# library <program>_<folder> of one layer folder. Headers are named from the program's folder
# ("text/code_page.h"); the library builds only after the include-order check.
function(pq_layer_library program folder)
  cmake_parse_arguments(arg "" "" "SOURCES;LINKS" ${ARGN})
  add_library(${program}_${folder} STATIC ${arg_SOURCES})
  target_include_directories(${program}_${folder} PUBLIC ${PROJECT_SOURCE_DIR}/${program})
  target_link_libraries(${program}_${folder} PUBLIC ${arg_LINKS})
  add_dependencies(${program}_${folder} ${program}_include_order)
  pq_warnings(${program}_${folder})
endfunction()
