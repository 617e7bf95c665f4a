# The web page's module: WebAssembly (wasm32) with Debian's clang and lld,
# on WASI's C library and LLVM's libc++ built for it (the packages clang,
# lld, wasi-libc, libc++-dev-wasm32, libclang-rt-dev-wasm32). Debian's
# clang finds their headers and libraries by the target alone.
set(CMAKE_SYSTEM_NAME Generic)
set(CMAKE_SYSTEM_PROCESSOR wasm32)

set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET wasm32-wasi)
set(CMAKE_CXX_COMPILER_TARGET wasm32-wasi)
