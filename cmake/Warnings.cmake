# pq_warnings(target): the project's warning set; errors when PQ_WERROR is on.
function(pq_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${PQ_WERROR}>:/WX>)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra $<$<BOOL:${PQ_WERROR}>:-Werror>)
  endif()
endfunction()
