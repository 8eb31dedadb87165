# velmora_modules_from_dist(TARGET)
# The program's modules (library/modules.h) are loaded from the build's
# program folder instead of the folder the executable sits in.
function(velmora_modules_from_dist target)
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/tests/common/modulefolder.cpp)
    target_link_libraries(${target} PRIVATE velmora_library)
    target_compile_definitions(${target} PRIVATE VELMORA_DIST_DIR="${VELMORA_DIST_DIR}")
endfunction()

# velmora_add_test(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2 [TIMEOUT s])
# A QtTest executable run by ctest with no screen, no sound device and
# private settings folders.
function(velmora_add_test name)
    cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBS})
    target_compile_definitions(${name} PRIVATE
        VELMORA_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
        VELMORA_DIST_DIR="${VELMORA_DIST_DIR}")
    velmora_modules_from_dist(${name})
    add_test(NAME ${name} COMMAND ${name})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    if(VELMORA_SANITIZE)
        # The sanitizers make every test some three times slower.
        math(EXPR T_TIMEOUT "${T_TIMEOUT} * 3")
    endif()
    set(tmp ${CMAKE_BINARY_DIR}/test-home/${name})
    file(MAKE_DIRECTORY ${tmp}/config ${tmp}/data ${tmp}/runtime)
    file(CHMOD ${tmp}/runtime DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
    set_tests_properties(${name} PROPERTIES
        TIMEOUT ${T_TIMEOUT}
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_CONFIG_HOME=${tmp}/config;XDG_DATA_HOME=${tmp}/data;XDG_RUNTIME_DIR=${tmp}/runtime;QT_LOGGING_RULES=qt.qpa.*=false")
endfunction()

# velmora_add_fuzzer(NAME SOURCE source.cpp LIB library [library...])
# A libFuzzer target (clang, -DVELMORA_FUZZ=ON) over the libraries it feeds;
# those libraries are built with coverage for the fuzzer.
function(velmora_add_fuzzer name)
    cmake_parse_arguments(F "" "SOURCE" "LIB" ${ARGN})
    add_executable(${name} ${F_SOURCE})
    target_link_libraries(${name} PRIVATE ${F_LIB})
    foreach(lib IN LISTS F_LIB)
        target_compile_options(${lib} PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
    endforeach()
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
endfunction()
