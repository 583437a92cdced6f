# PQ_SANITIZE: every target with AddressSanitizer and UndefinedBehaviorSanitizer; the first
# finding ends the program. PQ_FUZZ adds libFuzzer's coverage instrumentation (clang only).
if(PQ_SANITIZE OR PQ_FUZZ)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
if(PQ_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "PQ_FUZZ needs clang, e.g. -DCMAKE_CXX_COMPILER=clang++-14")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
