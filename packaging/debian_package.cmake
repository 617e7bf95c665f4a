# The Debian package: the plug-in in /usr/lib/vst, as a VST 3 bundle in
# /usr/lib/vst3, an LV2 bundle in /usr/lib/lv2 and as CLAP in
# /usr/lib/clap, the render tool in
# /usr/bin, and what Debian's policy asks of every package (copyright,
# changelog, a manual page), for the architecture the build targets.

if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64)$")
    set(slicecast_deb_arch amd64)
elseif(CMAKE_SYSTEM_PROCESSOR MATCHES "^(aarch64|arm64)$")
    set(slicecast_deb_arch arm64)
else()
    message(STATUS "No Debian package for processor ${CMAKE_SYSTEM_PROCESSOR}")
    return()
endif()

# The package's version is the project's; its changelog must say so.
file(STRINGS ${CMAKE_CURRENT_SOURCE_DIR}/debian/changelog slicecast_changelog_top LIMIT_COUNT 1)
if(NOT slicecast_changelog_top MATCHES "^slicecast \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "packaging/debian/changelog does not begin with version ${PROJECT_VERSION}")
endif()

set(slicecast_doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/slicecast)
set(slicecast_compressed ${CMAKE_CURRENT_BINARY_DIR}/compressed)
# Debian wants the changelog and the manual page compressed, and
# reproducibly so (-n: no name or time stamp in the file).
add_custom_command(
    OUTPUT ${slicecast_compressed}/changelog.gz ${slicecast_compressed}/slicecast.1.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${slicecast_compressed}
    COMMAND gzip -9nc ${CMAKE_CURRENT_SOURCE_DIR}/debian/changelog > ${slicecast_compressed}/changelog.gz
    COMMAND gzip -9nc ${CMAKE_CURRENT_SOURCE_DIR}/slicecast.1 > ${slicecast_compressed}/slicecast.1.gz
    DEPENDS debian/changelog slicecast.1
    VERBATIM)
add_custom_target(slicecast_documents ALL
    DEPENDS ${slicecast_compressed}/changelog.gz ${slicecast_compressed}/slicecast.1.gz)
install(FILES debian/copyright ${slicecast_compressed}/changelog.gz
    DESTINATION ${slicecast_doc_dir} COMPONENT documents)
install(FILES ${slicecast_compressed}/slicecast.1.gz
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT documents)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_FILE_NAME slicecast-${PROJECT_VERSION}-linux-${slicecast_deb_arch})
# One package of these components only: install rules of anything else
# built along stay out.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL plugin vst3 tool documents)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_DEBIAN_FILE_NAME ${CPACK_PACKAGE_FILE_NAME}.deb)
set(CPACK_DEBIAN_PACKAGE_NAME slicecast)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${slicecast_deb_arch})
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# One line each, as they appear in the package's description.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Slicecast follows the host's tempo and musical position. At the start of"
    "every update period (four bars down to a quarter of a bar) it captures the"
    "incoming stereo signal and plays the first slice of that capture (a bar"
    "divided by 1 to 64, triplets included) again and again, each repeat"
    "decaying, gated and faded, mixed with the dry signal."
    ""
    "The plug-in is installed where Linux VST hosts look for it, /usr/lib/vst,"
    "as a VST 3 bundle where VST 3 hosts look for it, /usr/lib/vst3, as an LV2"
    "bundle where LV2 hosts look for it, /usr/lib/lv2, and as a CLAP plug-in"
    "where CLAP hosts look for it, /usr/lib/clap."
    "The slicecast command plays sound files through it from the command line.")
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# dpkg-shlibdeps works out the dependencies of the target's binaries; for a
# cross build it must be told the target architecture, so that it reads
# them with that architecture's objdump and finds their libraries among
# Debian's multiarch packages.
configure_file(debian_shlibdeps.cmake.in debian_shlibdeps.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_BINARY_DIR}/debian_shlibdeps.cmake)
