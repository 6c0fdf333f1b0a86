# The installer's ProductVersion of each program version, or none where a field would overflow.
#
#   cmake -DMSI_VERSION_SCRIPT=packaging/windows/msi_version.cmake -P msi_version_test.cmake
set(cases
    "1.3.1.3705 1.31.3705"
    "1.3.1.3706 1.31.3706"
    "1.3.2.0 1.32.0"
    "1.4.0.12 1.40.12"
    "2.0.0.1 2.0.1"
    "0.0.0.0 0.0.0"
    "1.03.1.0042 1.31.42"
    "255.25.5.65535 255.255.65535"
    "256.0.0.0 refused"
    "1.3.10.1 refused"
    "1.25.6.1 refused"
    "1.3.1.65536 refused"
    "1.3.1 refused"
    "1.3.1.3705-rc1 refused")
set(failures 0)
foreach(case ${cases})
    string(REPLACE " " ";" case ${case})
    list(GET case 0 version)
    list(GET case 1 expected)
    execute_process(COMMAND ${CMAKE_COMMAND} -DVERSION=${version} -P ${MSI_VERSION_SCRIPT}
                    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE said
                    ERROR_STRIP_TRAILING_WHITESPACE)
    if(status EQUAL 0)
        set(got ${said})
    else()
        set(got refused)
    endif()
    if(NOT got STREQUAL expected)
        message(SEND_ERROR "${version}: expected ${expected}, got ${got}")
        math(EXPR failures "${failures} + 1")
    endif()
endforeach()
if(failures)
    message(FATAL_ERROR "${failures} of the versions were mapped wrongly")
endif()
