# One static library per GUI folder, linked one way only.
#
#   quintor_add_gui_layer(<folder> [DEPENDS <layer>...])
#
# builds every .cpp of <folder>/ (but main.cpp) into the library quintor_gui_<layer>, where
# <layer> is the folder's last part (gui/common -> quintor_gui_common, app -> quintor_gui_app),
# linked with the libraries of the layers it DEPENDS on. A layer's objects are also linked on
# their own, with only the layers below them, into <library>_layer_check: a call into a layer
# that is not below it then fails to link.
function(quintor_add_gui_layer folder)
    cmake_parse_arguments(PARSE_ARGV 1 LAYER "" "" "DEPENDS")
    get_filename_component(layer ${folder} NAME)
    set(target quintor_gui_${layer})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp
         ${CMAKE_SOURCE_DIR}/${folder}/*.h)
    list(FILTER sources EXCLUDE REGEX ".*/main\\.cpp$")
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
    set(below quintor_core Qt6::Widgets Qt6::PrintSupport)
    foreach(dependency IN LISTS LAYER_DEPENDS)
        list(APPEND below quintor_gui_${dependency})
    endforeach()
    target_link_libraries(${target} PUBLIC ${below} PRIVATE quintor_options)

    add_executable(${target}_layer_check ${CMAKE_SOURCE_DIR}/cmake/layer_check_main.cpp)
    target_link_libraries(${target}_layer_check PRIVATE
                          "$<LINK_LIBRARY:WHOLE_ARCHIVE,${target}>" quintor_options)
endfunction()
