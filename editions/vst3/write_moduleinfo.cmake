# Writes the bundle's moduleinfo.json from the edition's identity header and
# the interface header, read as text: each string constant
# (constexpr const char* kName = "text";), each integer constant
# (constexpr std::int32_t kName = 16;) and each class id's words
# (constexpr vst3::UidWords kName{0x..., 0x..., 0x..., 0x...};) becomes a
# variable of the same name for the template.
#
#   cmake -DIDENTITY=... -DABI=... -DTEMPLATE=... -DBUNDLE_NAME=... -DVERSION=... -DOUTPUT=... -P write_moduleinfo.cmake
cmake_minimum_required(VERSION 3.25)

set(hex "0x([0-9A-Fa-f]+)")
foreach(header IN ITEMS ${ABI} ${IDENTITY})
    file(STRINGS ${header} lines)
    foreach(line IN LISTS lines)
        if(line MATCHES "^constexpr const char\\* (k[A-Za-z0-9]+) = \"([^\"\\\\]*)\";")
            set(${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
        elseif(line MATCHES "^constexpr std::u?int32_t (k[A-Za-z0-9]+) = ([0-9]+);")
            set(${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
        elseif(line MATCHES "^constexpr vst3::UidWords (k[A-Za-z0-9]+)\\{${hex}, ${hex}, ${hex}, ${hex}\\};")
            string(TOUPPER "${CMAKE_MATCH_2}${CMAKE_MATCH_3}${CMAKE_MATCH_4}${CMAKE_MATCH_5}" digits)
            set(${CMAKE_MATCH_1} "${digits}")
        endif()
    endforeach()
endforeach()

foreach(name IN ITEMS kVst3ProcessorClassWords kVst3ControllerClassWords kVst3ProcessorName kVst3ControllerName
                      kVst3Vendor kVst3Url kVst3Email kVst3SubCategories kVst3ProcessorClassFlags kVst3FactoryFlags
                      kAudioEffectClass kComponentControllerClass kVstVersionString)
    if(NOT DEFINED ${name})
        message(FATAL_ERROR "${name} is not written as write_moduleinfo.cmake reads it")
    endif()
endforeach()
foreach(name IN ITEMS kVst3ProcessorClassWords kVst3ControllerClassWords)
    string(LENGTH "${${name}}" length)
    if(NOT length EQUAL 32)
        message(FATAL_ERROR "${name} is not four words of eight hex digits")
    endif()
endforeach()

set(PROCESSOR_CID ${kVst3ProcessorClassWords})
set(CONTROLLER_CID ${kVst3ControllerClassWords})
string(REPLACE "|" "\", \"" SUB_CATEGORIES "\"${kVst3SubCategories}\"")
# The factory's flags (kClassesDiscardable 1, kComponentNonDiscardable 8,
# kUnicode 16) as the file's booleans.
foreach(flag IN ITEMS CLASSES_DISCARDABLE=1 COMPONENT_NON_DISCARDABLE=8 UNICODE=16)
    string(REPLACE "=" ";" pair "${flag}")
    list(GET pair 0 variable)
    list(GET pair 1 bit)
    math(EXPR set "${kVst3FactoryFlags} & ${bit}")
    if(set)
        set(${variable} true)
    else()
        set(${variable} false)
    endif()
endforeach()

configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
