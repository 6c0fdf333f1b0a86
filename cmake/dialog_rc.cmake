# Writes the dialog layouts of res/dialogs/*.json as resource-script DIALOGEX templates, so that
# the Windows window is built by the system's own dialog manager from the same table the Qt window
# reads: same ids, captions, dialog units and tab order (the order of the controls in the table).
#
# Also writes, for the resizable ones, which edges of each control follow the window's edges, as a
# C++ table the window reads when it is resized.
#
#   cmake -DOUTPUT=dialogs.rc -DANCHORS=dialog_anchors.h -P dialog_rc.cmake LAYOUT.json...
cmake_minimum_required(VERSION 3.25)

# Styles every control of a kind gets besides WS_CHILD and WS_VISIBLE. The list holds no rows of
# its own (LVS_OWNERDATA): it draws the device list's, which may run to thousands.
set(kind_listview_class "SysListView32")
set(kind_listview_styles "WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_OWNERDATA")
# A table of rows of its own, each with a check box, several selected at once.
set(kind_table_class "SysListView32")
set(kind_table_styles "WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS")
set(kind_ipaddress_class "SysIPAddress32")
set(kind_ipaddress_styles "0")
set(kind_button_class "BUTTON")
set(kind_button_styles "BS_PUSHBUTTON")
set(kind_checkbox_class "BUTTON")
set(kind_checkbox_styles "BS_AUTOCHECKBOX")
set(kind_edit_class "EDIT")
set(kind_edit_styles "WS_BORDER | ES_AUTOHSCROLL")
set(kind_label_class "STATIC")
set(kind_label_styles "SS_LEFT | WS_GROUP")

# RC strings double their quotes.
function(rc_string text out)
    string(REPLACE "\"" "\"\"" text "${text}")
    set(${out} "\"${text}\"" PARENT_SCOPE)
endfunction()

function(dialog_template json_file out anchors_out)
    file(READ "${json_file}" json)
    string(JSON id GET "${json}" id)
    string(JSON caption GET "${json}" caption)
    string(JSON family GET "${json}" font family)
    string(JSON points GET "${json}" font points)
    string(JSON width GET "${json}" size 0)
    string(JSON height GET "${json}" size 1)
    string(JSON resizable ERROR_VARIABLE no_resizable GET "${json}" resizable)
    if(resizable STREQUAL "ON")
        set(frame "WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX")
        set(extended "WS_EX_APPWINDOW")
    else()
        set(frame "DS_MODALFRAME")
        set(extended "0")
    endif()
    # The layouts were drawn in MS Sans Serif, a bitmap font that does not scale: the shell's
    # TrueType dialog font of the same size takes its place.
    set(font_style "DS_SETFONT")
    if(family STREQUAL "MS Sans Serif")
        set(family "MS Shell Dlg 2")
        set(font_style "DS_SHELLFONT")
    endif()
    rc_string("${caption}" caption)
    rc_string("${family}" family)
    set(text "${id} DIALOGEX 0, 0, ${width}, ${height}\n")
    string(APPEND text "STYLE WS_POPUP | WS_CAPTION | WS_SYSMENU | ${font_style} | ${frame}\n")
    string(APPEND text "EXSTYLE ${extended}\nCAPTION ${caption}\nFONT ${points}, ${family}\n{\n")

    set(anchors "")
    string(JSON count LENGTH "${json}" controls)
    math(EXPR last "${count} - 1")
    foreach(index RANGE ${last})
        string(JSON control GET "${json}" controls ${index})
        string(JSON control_id GET "${control}" id)
        string(JSON kind GET "${control}" kind)
        string(JSON control_text GET "${control}" text)
        if(NOT DEFINED kind_${kind}_class)
            message(FATAL_ERROR "${json_file}: control ${control_id} is of unknown kind '${kind}'")
        endif()
        set(styles "WS_CHILD | WS_VISIBLE | ${kind_${kind}_styles}")
        string(JSON style_count ERROR_VARIABLE no_styles LENGTH "${control}" styles)
        if(style_count GREATER 0)
            math(EXPR last_style "${style_count} - 1")
            foreach(style_index RANGE ${last_style})
                string(JSON style GET "${control}" styles ${style_index})
                # The default push button replaces the plain one rather than adding to it.
                if(style STREQUAL "BS_DEFPUSHBUTTON")
                    string(REPLACE "BS_PUSHBUTTON" "" styles "${styles}")
                endif()
                string(APPEND styles " | ${style}")
            endforeach()
        endif()
        string(REPLACE "|  |" "|" styles "${styles}")
        set(rect "")
        foreach(corner 0 1 2 3)
            string(JSON value GET "${control}" rect ${corner})
            list(APPEND rect ${value})
        endforeach()
        list(JOIN rect ", " rect)
        string(JSON anchor_count ERROR_VARIABLE no_anchors LENGTH "${control}" anchor)
        if(anchor_count GREATER 0)
            set(named "")
            math(EXPR last_anchor "${anchor_count} - 1")
            foreach(anchor_index RANGE ${last_anchor})
                string(JSON edge GET "${control}" anchor ${anchor_index})
                list(APPEND named ${edge})
            endforeach()
            set(edges "")
            foreach(edge left top right bottom)
                if(edge IN_LIST named)
                    list(APPEND edges true)
                else()
                    list(APPEND edges false)
                endif()
            endforeach()
            list(JOIN edges ", " edges)
            string(APPEND anchors "    {${id}, ${control_id}, {${edges}}},\n")
        endif()
        rc_string("${control_text}" control_text)
        rc_string("${kind_${kind}_class}" class)
        string(APPEND text "    CONTROL ${control_text}, ${control_id}, ${class}, ${styles}, ${rect}\n")
    endforeach()
    string(APPEND text "}\n\n")
    set(${out} "${text}" PARENT_SCOPE)
    set(${anchors_out} "${anchors}" PARENT_SCOPE)
endfunction()

set(script "// Generated from res/dialogs by cmake/dialog_rc.cmake; edit the JSON, not this.\n\n")
math(EXPR last_argument "${CMAKE_ARGC} - 1")
set(past_script OFF)
set(anchor_table "")
foreach(argument_index RANGE ${last_argument})
    set(argument "${CMAKE_ARGV${argument_index}}")
    if(past_script)
        dialog_template("${argument}" text anchors)
        string(APPEND script "${text}")
        string(APPEND anchor_table "${anchors}")
    elseif(argument MATCHES "dialog_rc\\.cmake$")
        set(past_script ON)
    endif()
endforeach()
function(write_if_changed path content)
    file(WRITE "${path}.new" "${content}")
    file(COPY_FILE "${path}.new" "${path}" ONLY_IF_DIFFERENT)
    file(REMOVE "${path}.new")
endfunction()

write_if_changed("${OUTPUT}" "${script}")
write_if_changed("${ANCHORS}" "// Generated from res/dialogs by cmake/dialog_rc.cmake.
#pragma once

#include \"faces/win32/anchored_resize.h\"

namespace kestrelink::win32 {

inline constexpr ControlAnchor kControlAnchors[] = {
${anchor_table}};

}  // namespace kestrelink::win32
")
