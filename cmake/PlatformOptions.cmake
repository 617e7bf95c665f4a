# What each target platform needs so that the library loads in its hosts
# and computes the same bits as everywhere else.

if(WIN32)
    # The C++ runtime, libgcc and winpthread linked in, so that a DLL (and a
    # test program) imports only the system's own libraries: a host folder
    # holds the plug-in alone.
    target_link_options(slicecast_compile_options INTERFACE -static -static-libgcc -static-libstdc++)
endif()

if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(X86|x86|i[3-6]86)$")
    # 32-bit x86: floats in SSE registers, rounded to single precision at
    # every step as on every other platform; x87 arithmetic keeps extra
    # precision and gives other bits.
    target_compile_options(slicecast_compile_options INTERFACE -msse2 -mfpmath=sse)
endif()
