# pq_warnings(target): the project's warning set; errors when PQ_WERROR is on.
# Off by default so that a newer or older compiler than ours never stops someone building the
# source; our scripts and CI turn it on.
option(PQ_WERROR "Treat compiler warnings as errors" OFF)

function(pq_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${PQ_WERROR}>:/WX>)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra $<$<BOOL:${PQ_WERROR}>:-Werror>)
  endif()
endfunction()
