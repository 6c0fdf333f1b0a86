# The installer's ProductVersion for a program version MAJOR.MINOR.PATCH.BUILD. Windows Installer
# compares only the first three fields (at most 255.255.65535), so MINOR and PATCH share the second
# as MINOR*10+PATCH and BUILD takes the third: any newer program version, even one that differs in
# BUILD alone, gives a greater ProductVersion, and an older package never replaces a newer one.
#
#   include(msi_version.cmake)
#   kestrelink_msi_version(1.3.1.3705 result)           -> result is 1.31.3705
#   cmake -DVERSION=1.3.1.3705 -P msi_version.cmake     -> prints 1.31.3705, or fails
function(kestrelink_msi_version version out)
    if(NOT version MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)\\.([0-9]+)$")
        message(FATAL_ERROR "The version ${version} is not MAJOR.MINOR.PATCH.BUILD")
    endif()
    math(EXPR major "${CMAKE_MATCH_1}")
    math(EXPR minor "${CMAKE_MATCH_2}")
    math(EXPR patch "${CMAKE_MATCH_3}")
    math(EXPR build "${CMAKE_MATCH_4}")
    math(EXPR second "${minor} * 10 + ${patch}")
    if(major GREATER 255 OR patch GREATER 9 OR second GREATER 255 OR build GREATER 65535)
        message(FATAL_ERROR "The version ${version} has no ProductVersion: it needs MAJOR up to "
                            "255, PATCH up to 9, MINOR*10+PATCH up to 255 and BUILD up to 65535")
    endif()
    set(${out} ${major}.${second}.${build} PARENT_SCOPE)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
    kestrelink_msi_version("${VERSION}" product_version)
    message(NOTICE ${product_version})
endif()
