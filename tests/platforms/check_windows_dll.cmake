# Checks what a Windows host's loader sees of a plug-in DLL: it exports
# exactly the names in EXPORTS (sorted; by default the VST 2.4 pair
# VSTPluginMain and main; lv2_descriptor for the LV2 edition, clap_entry for
# the CLAP edition, ExitDll, GetPluginFactory and InitDll for the VST 3
# edition, whose 32-bit GetPluginFactory must not carry stdcall's @0) and
# imports only the system's own libraries (the editors draw through user32
# and gdi32; no MinGW runtime DLL that a host
# folder would not hold).
#
#   cmake -DOBJDUMP=... -DDLL=... [-DEXPORTS=clap_entry] -P check_windows_dll.cmake
cmake_minimum_required(VERSION 3.25)
if(NOT DEFINED EXPORTS)
    set(EXPORTS "VSTPluginMain;main")
endif()
execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE listing RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "${OBJDUMP} cannot read ${DLL}")
endif()

string(REGEX MATCHALL "DLL Name: [^\n]+" import_lines "${listing}")
if(NOT import_lines)
    message(FATAL_ERROR "no imports listed: not a DLL objdump understands")
endif()
set(system_libraries kernel32.dll msvcrt.dll ntdll.dll user32.dll gdi32.dll advapi32.dll ucrtbase.dll)
foreach(line IN LISTS import_lines)
    string(REPLACE "DLL Name: " "" library "${line}")
    string(STRIP "${library}" library)
    string(TOLOWER "${library}" library)
    if(NOT library IN_LIST system_libraries AND NOT library MATCHES "^api-ms-win-")
        message(SEND_ERROR "imports ${library}, which is not a Windows system library")
    endif()
endforeach()

# The export name table: lines "[   0] VSTPluginMain" (the address table's
# lines read "[   0] +base[   1] ...").
string(REGEX MATCHALL "\n\t\\[ *[0-9]+\\] [A-Za-z_][A-Za-z0-9_@]*" export_lines "${listing}")
set(exports)
foreach(line IN LISTS export_lines)
    string(REGEX REPLACE ".*\\] " "" name "${line}")
    list(APPEND exports ${name})
endforeach()
list(SORT exports)
if(NOT exports STREQUAL "${EXPORTS}")
    message(SEND_ERROR "exports are '${exports}', expected exactly '${EXPORTS}'")
endif()
