# ss_module(NAME DIR DEPS...): a static library of every .cpp in DIR (not in sub-folders).
function(ss_module name dir)
    file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
    if(sources)
        add_library(${name} STATIC ${sources})
        set(scope PUBLIC)
    else()
        add_library(${name} INTERFACE)
        set(scope INTERFACE)
    endif()
    target_include_directories(${name} ${scope} ${PROJECT_SOURCE_DIR}/src)
    if(ARGN)
        target_link_libraries(${name} ${scope} ${ARGN})
    endif()
endfunction()

# ss_test(NAME DIR DEPS...): one GoogleTest executable of every .cpp in DIR.
function(ss_test name dir)
    file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
    if(NOT sources)
        return()
    endif()
    add_executable(${name} ${sources})
    target_link_libraries(${name} PRIVATE ss_test_support ${ARGN})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    gtest_discover_tests(${name}
        WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
        DISCOVERY_TIMEOUT 60
        PROPERTIES ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0")
endfunction()
