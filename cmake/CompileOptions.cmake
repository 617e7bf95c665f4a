# Options shared by every target of the project.
#
# Numbers are specified to the bit: no contraction into fused multiply-adds
# and no fast-math, so that every product and sum is rounded as written.
add_library(slicecast_compile_options INTERFACE)
target_compile_features(slicecast_compile_options INTERFACE cxx_std_20)
target_compile_options(slicecast_compile_options INTERFACE
    -Wall -Wextra -Wpedantic -ffp-contract=off -fno-fast-math)

set(SLICECAST_SANITIZE "" CACHE STRING
    "Sanitizers to build with: empty, 'address,undefined' or 'thread'")
if(SLICECAST_SANITIZE)
    target_compile_options(slicecast_compile_options INTERFACE
        -fsanitize=${SLICECAST_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
    target_link_options(slicecast_compile_options INTERFACE -fsanitize=${SLICECAST_SANITIZE})
endif()

include(${CMAKE_CURRENT_LIST_DIR}/PlatformOptions.cmake)
