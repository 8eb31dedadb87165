# velmora_add_module(NAME SOURCES a.cpp LIBS lib1 lib2 FOR target)
# A module the program loads from its folder when first needed
# (library/modules.h): built into the program folder as libNAME.so, only its
# entry point visible; `target` (the static library that loads it) makes sure
# it is built with it.
function(velmora_add_module name)
    cmake_parse_arguments(M "" "FOR" "SOURCES;LIBS" ${ARGN})
    add_library(${name} MODULE ${M_SOURCES})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PRIVATE ${M_LIBS})
    set_target_properties(${name} PROPERTIES
        LIBRARY_OUTPUT_DIRECTORY ${VELMORA_DIST_DIR}
        CXX_VISIBILITY_PRESET hidden)
    add_dependencies(${M_FOR} ${name})
endfunction()
