# Gives a plug-in library exactly the exports its format's host looks up,
# listed in exports.def (Windows, a module-definition file) and exports.map
# (elsewhere, a version script) in folder. Either way the link fails on an
# unresolved symbol rather than at a host's load.
function(slicecast_export_only target folder)
    if(WIN32)
        target_sources(${target} PRIVATE ${folder}/exports.def)
        target_link_options(${target} PRIVATE -Wl,--no-undefined)
    else()
        set(map ${folder}/exports.map)
        target_link_options(${target} PRIVATE -Wl,--version-script=${map} -Wl,--no-undefined -Wl,-z,defs)
        set_target_properties(${target} PROPERTIES LINK_DEPENDS ${map})
    endif()
endfunction()
