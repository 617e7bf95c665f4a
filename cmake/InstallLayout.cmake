# Where `cmake --install` and the packages put things: the render tool in
# bin/, the plug-in in a folder that VST hosts scan, its LV2 bundle in a
# folder that LV2 hosts scan, its CLAP edition in one that CLAP hosts scan.
#
# SLICECAST_VST_DIR is that folder. Relative, it lies under the install
# prefix (lib/vst: /usr/lib/vst for the Debian packages); absolute, it is
# used as given (a per-user ~/.vst). Linux hosts scan /usr/lib/vst; a copy
# in /usr/lib/lxvst too would make some hosts list the effect twice. On
# Windows the prefix itself is the VST folder.
include(GNUInstallDirs)

# A plug-in folder's cache variable: linuxDefault under the prefix on Linux,
# the prefix itself on Windows; relative to the prefix, or absolute.
function(slicecast_plugin_dir variable linuxDefault what)
    if(WIN32)
        set(default ".")
    else()
        set(default "${linuxDefault}")
    endif()
    set(${variable} "${default}" CACHE STRING
        "Folder ${what} is installed into: relative to the install prefix, or absolute")
endfunction()

slicecast_plugin_dir(SLICECAST_VST_DIR "lib/vst" "the plug-in")

# SLICECAST_CLAP_DIR is the CLAP edition's folder, in the same terms:
# lib/clap (/usr/lib/clap for the Debian packages, a folder Linux CLAP hosts
# search); on Windows the prefix itself, beside the VST 2.4 DLL (the read-me
# sends it to %COMMONPROGRAMFILES%\CLAP).
slicecast_plugin_dir(SLICECAST_CLAP_DIR "lib/clap" "the CLAP plug-in")

# Where the installed render tool looks for the installed plug-in's folder:
# the same absolute path, or a path relative to the folder of the tool, so
# that the pair can be moved together (another --prefix, DESTDIR, a package).
if(IS_ABSOLUTE "${SLICECAST_VST_DIR}")
    set(SLICECAST_VST_DIR_FROM_TOOL "${SLICECAST_VST_DIR}")
else()
    file(RELATIVE_PATH SLICECAST_VST_DIR_FROM_TOOL "/${CMAKE_INSTALL_BINDIR}" "/${SLICECAST_VST_DIR}")
endif()

# SLICECAST_LV2_DIR is the folder the LV2 bundle, slicecast.lv2/, goes
# into: lib/lv2 under the prefix (/usr/lib/lv2 for the Debian packages,
# where distributions keep LV2 bundles), or an absolute folder (a per-user
# ~/.lv2). On Windows the bundle goes next to the VST 2.4 DLL in the prefix,
# and the zip's read-me says where LV2 hosts look for it.
slicecast_plugin_dir(SLICECAST_LV2_DIR "lib/lv2" "the LV2 bundle")

# SLICECAST_VST3_DIR is the folder the VST 3 bundle, Slicecast.vst3/, goes
# into: lib/vst3 under the prefix (/usr/lib/vst3 for the Debian packages,
# the folder Linux VST 3 hosts search), or an absolute folder (a per-user
# ~/.vst3). On Windows the bundle goes into the prefix itself, and the zip's
# read-me sends it to %COMMONPROGRAMFILES%\VST3.
slicecast_plugin_dir(SLICECAST_VST3_DIR "lib/vst3" "the VST 3 bundle")

# SLICECAST_VST3_PRESET_ROOT is the VST 3 preset folder the factory preset
# files go into, each under the vendor's and the plug-in's names as hosts
# look for them there: share/vst3/presets under the prefix on Linux
# (/usr/share/vst3/presets for the Debian packages, the factory folder VST 3
# hosts scan), or an absolute folder (a per-user ~/.vst3/presets). On
# Windows it is "VST3 Presets" in the prefix, and the zip's read-me sends it
# to %PROGRAMDATA%.
if(WIN32)
    set(vst3_preset_root_default "VST3 Presets")
else()
    set(vst3_preset_root_default "share/vst3/presets")
endif()
set(SLICECAST_VST3_PRESET_ROOT "${vst3_preset_root_default}" CACHE STRING
    "Folder the VST 3 preset files are installed into: relative to the install prefix, or absolute")
