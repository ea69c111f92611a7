# One static library per GUI folder, linked one way only.
#
#   quintor_add_gui_layer(<folder> [DEPENDS <folder>...])
#
# builds every .cpp of <folder>/ (but main.cpp) into the library quintor_gui_<folder>
# (quintor_gui_common for gui_common/), linked with the libraries of the folders it DEPENDS on.
# A layer's objects are also linked on their own, with only the layers below them, into
# <library>_layer_check: an include of a folder that is not below the layer then fails to link.
function(quintor_gui_layer_target folder out)
    if(folder STREQUAL "gui_common")
        set(${out} quintor_gui_common PARENT_SCOPE)
    else()
        set(${out} quintor_gui_${folder} PARENT_SCOPE)
    endif()
endfunction()

function(quintor_add_gui_layer folder)
    cmake_parse_arguments(PARSE_ARGV 1 LAYER "" "" "DEPENDS")
    quintor_gui_layer_target(${folder} target)
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp
         ${CMAKE_SOURCE_DIR}/${folder}/*.h)
    list(FILTER sources EXCLUDE REGEX ".*/main\\.cpp$")
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
    set(below quintor_core Qt6::Widgets Qt6::PrintSupport)
    foreach(dependency IN LISTS LAYER_DEPENDS)
        quintor_gui_layer_target(${dependency} dependency_target)
        list(APPEND below ${dependency_target})
    endforeach()
    target_link_libraries(${target} PUBLIC ${below} PRIVATE quintor_options)

    add_executable(${target}_layer_check ${CMAKE_SOURCE_DIR}/cmake/layer_check_main.cpp)
    target_link_libraries(${target}_layer_check PRIVATE
                          "$<LINK_LIBRARY:WHOLE_ARCHIVE,${target}>" quintor_options)
endfunction()
