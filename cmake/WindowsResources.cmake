# pq_windows_resources(TARGET DESCRIPTION): the Windows program TARGET gets its icon
# (packaging/windows/<TARGET>.ico), version information and application manifest.
# Nothing happens on other systems.
function(pq_windows_resources target description)
  if(NOT WIN32)
    return()
  endif()
  set(windows ${PROJECT_SOURCE_DIR}/packaging/windows)
  set(PQ_RC_NAME ${target})
  set(PQ_RC_DESCRIPTION ${description})
  set(PQ_RC_ICON ${windows}/${target}.ico)
  set(PQ_RC_MANIFEST ${windows}/program.manifest)
  # Four numbers, missing ones 0: 1.0 is 1,0,0,0.
  string(REPLACE "." ";" version "${PROJECT_VERSION}.0.0.0")
  list(SUBLIST version 0 4 version)
  list(JOIN version "," PQ_RC_VERSION)
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  configure_file(${windows}/program.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${PQ_RC_ICON};${PQ_RC_MANIFEST}")
endfunction()
