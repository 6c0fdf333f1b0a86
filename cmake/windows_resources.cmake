# Windows resources of the programs: each gets a version resource and the one manifest (common
# controls 6, per-monitor DPI awareness, UTF-8 as the active code page).
#
#   kestrelink_windows_resources(TARGET NAME DESCRIPTION)
function(kestrelink_windows_resources target name description)
    set(resource_name ${name})
    set(resource_description ${description})
    set(resource_manifest ${PROJECT_SOURCE_DIR}/res/windows/kestrelink.manifest)
    set(script ${CMAKE_CURRENT_BINARY_DIR}/${name}-version.rc)
    configure_file(${PROJECT_SOURCE_DIR}/res/windows/version.rc.in ${script} @ONLY)
    target_sources(${target} PRIVATE ${script})
    set_property(SOURCE ${script} APPEND PROPERTY OBJECT_DEPENDS ${resource_manifest})
endfunction()
