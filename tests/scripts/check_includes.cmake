# Which folders each folder's sources may include, checked on every #include of every source
# under core/, cli/, render/, gui/ and app/. The layer libraries are linked one way only, but a
# link does not see an include, an inline function, an enum or a virtual call; this does.
#
#   cmake -DSOURCE_DIR=<checkout> [-DQT_GUI_HEADER_DIRS=<dir|dir|...>] -P check_includes.cmake
#
# QT_GUI_HEADER_DIRS are the header folders of Qt Core and Qt Gui: the layers that may use only
# those are checked against them. Without them (a build with no GUI) that check is skipped.

cmake_minimum_required(VERSION 3.25)

string(REPLACE "|" ";" QT_GUI_HEADER_DIRS "${QT_GUI_HEADER_DIRS}")

# Layer: the folders its sources may include ("Qt: none | gui | all" says which Qt headers).
set(window_layers "gui/archive gui/selection gui/userfunc gui/analysis gui/print")
set(rules
    "core: core | Qt: none"
    "cli: cli core | Qt: none"
    "cli/print_tool: cli core render | Qt: gui"
    "render: render core | Qt: gui"
    "gui/common: gui/common core | Qt: all"
    "gui/archive: gui/archive gui/common core | Qt: all"
    "gui/selection: gui/selection gui/common core | Qt: all"
    "gui/userfunc: gui/userfunc gui/common core | Qt: all"
    "gui/analysis: gui/analysis gui/common core | Qt: all"
    "gui/print: gui/print gui/common core render | Qt: all"
    "gui/help: gui/help gui/common core | Qt: all"
    "gui/system: gui/system ${window_layers} gui/common core | Qt: all"
    "app: app gui/system gui/help gui/common core | Qt: all")

# The layer of a path relative to the checkout: gui/<folder>, cli/print_tool, or the first
# folder.
function(layer_of path out)
    if(path MATCHES "^(gui/[^/]+|cli/print_tool)/")
        set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
    elseif(path MATCHES "^([^/]+)/")
        set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
    else()
        set(${out} "" PARENT_SCOPE)
    endif()
endfunction()

foreach(rule IN LISTS rules)
    string(REGEX MATCH "^([^:]+): ([^|]*)\\| Qt: (.*)$" parsed "${rule}")
    set(layer "${CMAKE_MATCH_1}")
    string(STRIP "${CMAKE_MATCH_2}" allowed)
    string(REPLACE " " ";" allowed "${allowed}")
    set(allowed_${layer} ${allowed})
    set(qt_${layer} "${CMAKE_MATCH_3}")
    list(APPEND layers ${layer})
endforeach()

file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/core/*.cpp"
     "${SOURCE_DIR}/core/*.h" "${SOURCE_DIR}/cli/*.cpp" "${SOURCE_DIR}/cli/*.h"
     "${SOURCE_DIR}/render/*.cpp" "${SOURCE_DIR}/render/*.h" "${SOURCE_DIR}/gui/*.cpp"
     "${SOURCE_DIR}/gui/*.h" "${SOURCE_DIR}/app/*.cpp" "${SOURCE_DIR}/app/*.h")

set(faults "")
set(checked 0)
foreach(source IN LISTS sources)
    layer_of("${source}" layer)
    if(NOT layer IN_LIST layers)
        string(APPEND faults "${source}: its folder has no row in the include rules\n")
        continue()
    endif()
    math(EXPR checked "${checked} + 1")
    file(STRINGS "${SOURCE_DIR}/${source}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    foreach(line IN LISTS lines)
        if(line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
            set(written "${CMAKE_MATCH_1}")
            set(included "${written}")
            if(NOT included MATCHES "/")
                # A bare name is a file beside the source.
                get_filename_component(folder "${source}" DIRECTORY)
                set(included "${folder}/${included}")
            endif()
            layer_of("${included}" target)
            if(NOT target IN_LIST allowed_${layer})
                list(JOIN allowed_${layer} ", " allowed)
                string(APPEND faults "${source}: includes \"${written}\"; ${layer}/ may "
                       "include only ${allowed}\n")
            endif()
        elseif(line MATCHES "#[ \t]*include[ \t]*<(Q[^>]*)>")
            set(header "${CMAKE_MATCH_1}")
            if(qt_${layer} STREQUAL "none")
                string(APPEND faults "${source}: includes <${header}>; ${layer}/ uses no Qt\n")
            elseif(qt_${layer} STREQUAL "gui" AND QT_GUI_HEADER_DIRS)
                set(found OFF)
                if(header MATCHES "^(QtCore|QtGui)/")
                    set(found ON)
                elseif(NOT header MATCHES "/")
                    foreach(dir IN LISTS QT_GUI_HEADER_DIRS)
                        if(dir MATCHES "/Qt(Core|Gui)$" AND EXISTS "${dir}/${header}")
                            set(found ON)
                        endif()
                    endforeach()
                endif()
                if(NOT found)
                    string(APPEND faults "${source}: includes <${header}>; ${layer}/ may use "
                           "only Qt Core and Qt Gui\n")
                endif()
            endif()
        endif()
    endforeach()
endforeach()

if(faults)
    message(NOTICE "${faults}")
    message(FATAL_ERROR "Includes across the layers: see the rules in docs/ARCHITECTURE.md")
endif()
message(STATUS "include rules: ${checked} files, every include allowed")
