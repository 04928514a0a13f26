# Compiler settings shared by every target of the project.
add_library(zorbe_common INTERFACE)
target_compile_features(zorbe_common INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)
target_compile_options(zorbe_common INTERFACE -Wall -Wextra -Wpedantic -Wno-missing-field-initializers)
if(ZORBE_SANITIZE)
  target_compile_options(zorbe_common INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(zorbe_common INTERFACE -fsanitize=address,undefined)
endif()
if(ZORBE_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "The fuzz targets need clang (CXX=clang++)")
  endif()
  # Every library is instrumented for libFuzzer's coverage; only the fuzz
  # targets link libFuzzer's main.
  target_compile_options(zorbe_common INTERFACE -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                                                -fno-sanitize-recover=undefined)
  target_link_options(zorbe_common INTERFACE -fsanitize=address,undefined)
endif()
if(ZORBE_GUI)
  target_compile_definitions(zorbe_common INTERFACE ZORBE_WITH_GUI=1)
endif()
