# The Windows zip: x64/ and x86/ side by side, each with slicecast.dll
# (VST 2.4), slicecast.clap (CLAP) and slicecast.lv2/ (LV2); the VST 3
# bundle Slicecast.vst3/ beside them, holding both widths' binaries; and a
# read-me on where they go. Either Windows build packages both: its
# own DLL and the one of its twin build (by default the folder next to this
# one, as the windows-x64 and windows-x86 presets lay them out).

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(slicecast_own_arch x64)
    set(slicecast_twin_arch x86)
else()
    set(slicecast_own_arch x86)
    set(slicecast_twin_arch x64)
endif()
cmake_path(GET CMAKE_BINARY_DIR PARENT_PATH slicecast_builds)
set(SLICECAST_WINDOWS_${slicecast_twin_arch}_BUILD "${slicecast_builds}/windows-${slicecast_twin_arch}" CACHE PATH
    "Build folder of the ${slicecast_twin_arch} plug-in that the Windows zip packages too")

# The read-me with Windows line ends, for Notepad.
configure_file(windows/README.txt README.txt NEWLINE_STYLE CRLF)
# Only in the zip: a plain install puts the DLL into a VST folder, alone.
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/README.txt DESTINATION . COMPONENT readme EXCLUDE_FROM_ALL)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME slicecast-${PROJECT_VERSION}-windows)
# Build folder; project; component; folder in the zip. Only these
# components: install rules of anything else built along stay out.
set(CPACK_INSTALL_CMAKE_PROJECTS
    "${CMAKE_BINARY_DIR};Slicecast;readme;/"
    "${CMAKE_BINARY_DIR};Slicecast;plugin;/${slicecast_own_arch}"
    "${SLICECAST_WINDOWS_${slicecast_twin_arch}_BUILD};Slicecast;plugin;/${slicecast_twin_arch}"
    "${CMAKE_BINARY_DIR};Slicecast;vst3;/"
    "${SLICECAST_WINDOWS_${slicecast_twin_arch}_BUILD};Slicecast;vst3;/")
