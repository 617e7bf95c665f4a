# How cross-built programs run on this machine, for ctest and for test
# discovery: Windows programs under Wine, 64-bit ARM programs under QEMU.
#
# Wine runs unattended in a prefix of its own under the build folder: it
# never asks to install Mono or Gecko, prints none of its debugging chatter,
# and the prefix is made once here, at configure time, so that the first
# test does not pay for it (or race another test doing the same).
if(NOT CMAKE_CROSSCOMPILING OR CMAKE_CROSSCOMPILING_EMULATOR)
    return()
endif()

if(WIN32)
    find_program(SLICECAST_WINE wine REQUIRED)
    set(SLICECAST_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
    set(SLICECAST_WINE_ENVIRONMENT
        WINEPREFIX=${SLICECAST_WINE_PREFIX} WINEDEBUG=-all "WINEDLLOVERRIDES=mscoree,mshtml=")
    if(NOT EXISTS ${SLICECAST_WINE_PREFIX}/system.reg)
        message(STATUS "Making the Wine prefix ${SLICECAST_WINE_PREFIX}")
        execute_process(COMMAND ${CMAKE_COMMAND} -E env ${SLICECAST_WINE_ENVIRONMENT} ${SLICECAST_WINE} wineboot --init
                        RESULT_VARIABLE wineboot_result OUTPUT_QUIET ERROR_QUIET)
        execute_process(COMMAND ${CMAKE_COMMAND} -E env ${SLICECAST_WINE_ENVIRONMENT} wineserver --wait)
        if(NOT wineboot_result EQUAL 0 OR NOT EXISTS ${SLICECAST_WINE_PREFIX}/system.reg)
            message(FATAL_ERROR "Wine could not make its prefix in ${SLICECAST_WINE_PREFIX}")
        endif()
    endif()
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_COMMAND} -E env ${SLICECAST_WINE_ENVIRONMENT} ${SLICECAST_WINE})
elseif(CMAKE_SYSTEM_PROCESSOR STREQUAL "aarch64")
    find_program(SLICECAST_QEMU qemu-aarch64 REQUIRED)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${SLICECAST_QEMU} -L /usr/${CMAKE_LIBRARY_ARCHITECTURE})
endif()
