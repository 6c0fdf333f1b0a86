# Builds the Windows installer OUTPUT for the program version VERSION from the files INPUTS names
# (both programs, the help page, the icon, the project's address), signing both programs before
# they are packed and then the installer when SIGN_PKCS12 and SIGN_PASSWORD_FILE are set in the
# environment, timestamped by SIGN_TIMESTAMP_URL when that is set too.
#
#   cmake -DINPUTS=FILE -DVERSION=1.3.1.3705 -DOUTPUT=kestrelink.msi -P package.cmake
include(${CMAKE_CURRENT_LIST_DIR}/msi_version.cmake)
include(${INPUTS})
kestrelink_msi_version(${VERSION} msi_version)
find_program(wixl wixl REQUIRED)

set(sign $ENV{SIGN_PKCS12})
set(password_file $ENV{SIGN_PASSWORD_FILE})
set(timestamp_url $ENV{SIGN_TIMESTAMP_URL})
if(sign AND password_file)
    find_program(osslsigncode osslsigncode REQUIRED)
elseif(sign OR password_file)
    message(FATAL_ERROR "Signing needs both SIGN_PKCS12 and SIGN_PASSWORD_FILE")
else()
    message(NOTICE "The installer and its programs are unsigned: SIGN_PKCS12 and "
                   "SIGN_PASSWORD_FILE sign them")
endif()

# file IN, signed with DESCRIPTION as what the signature says it is, into OUT.
function(kestrelink_sign in out description)
    set(arguments -pkcs12 ${sign} -readpass ${password_file} -h sha256 -n ${description}
        -i ${homepage})
    if(timestamp_url)
        list(APPEND arguments -ts ${timestamp_url})
    endif()
    file(REMOVE ${out})
    execute_process(COMMAND ${osslsigncode} sign ${arguments} -in ${in} -out ${out}
                    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
endfunction()

# wixl takes files by paths relative to where it runs: they are gathered there under the names
# they are installed by.
set(stage ${OUTPUT}.files)
file(REMOVE_RECURSE ${stage})
file(MAKE_DIRECTORY ${stage})
file(COPY_FILE ${help_page} ${stage}/kestrelink.html)
file(COPY_FILE ${app_icon} ${stage}/kestrelink.ico)
foreach(program window_program command_line_program)
    get_filename_component(name ${${program}} NAME)
    if(sign)
        kestrelink_sign(${${program}} ${stage}/${name} Kestrelink)
    else()
        file(COPY_FILE ${${program}} ${stage}/${name})
    endif()
endforeach()
configure_file(${CMAKE_CURRENT_LIST_DIR}/kestrelink.wxs.in ${stage}/kestrelink.wxs @ONLY)

set(unsigned ${stage}/kestrelink.msi)
execute_process(COMMAND ${wixl} --arch x64 --output ${unsigned} kestrelink.wxs
                WORKING_DIRECTORY ${stage} COMMAND_ERROR_IS_FATAL ANY)
if(sign)
    kestrelink_sign(${unsigned} ${OUTPUT} "Kestrelink installer")
else()
    file(COPY_FILE ${unsigned} ${OUTPUT})
endif()
