# Links a system DLL the delay-loading way: it is loaded at the first call into it, after the
# program has limited the DLL search to the system folder, rather than by the loader at start,
# which looks in the program's own folder first for any DLL that is not one of the system's Known
# DLLs (a planted IPHLPAPI.DLL beside a program in Downloads, say).
#
#   kestrelink_delay_loaded_library(iphlpapi IPHLPAPI.DLL)   -> link iphlpapi_delay_loaded
function(kestrelink_delay_loaded_library name dll)
    find_library(${name}_import_library ${name} REQUIRED)
    # The import library names every export; the delay-loading one is made from that list.
    execute_process(COMMAND ${CMAKE_NM} ${${name}_import_library}
                    OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX MATCHALL "I __imp_[A-Za-z0-9_@]+" imports "${symbols}")
    list(TRANSFORM imports REPLACE "^I __imp_" "")
    list(REMOVE_DUPLICATES imports)
    list(JOIN imports "\n" exports)
    set(directory ${CMAKE_BINARY_DIR}/delay-loaded)
    file(WRITE ${directory}/${name}.def "LIBRARY ${dll}\nEXPORTS\n${exports}\n")
    set(library ${directory}/lib${name}_delay_loaded.a)
    execute_process(COMMAND ${CMAKE_DLLTOOL} --input-def ${directory}/${name}.def
                            --output-delaylib ${library} --dllname ${dll}
                    COMMAND_ERROR_IS_FATAL ANY)
    add_library(${name}_delay_loaded STATIC IMPORTED GLOBAL)
    # delayimp holds the helper that loads the DLL at the first call.
    set_target_properties(${name}_delay_loaded PROPERTIES IMPORTED_LOCATION ${library}
                          INTERFACE_LINK_LIBRARIES delayimp)
endfunction()
