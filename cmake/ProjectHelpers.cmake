# One Qt Test executable per unit, registered with CTest.
#   add_qt_test(name [GUI] SOURCES ... LIBS ...)
# GUI tests run on the offscreen platform, so they need no display. Every test links the shared
# helpers of tests/support (and so includes from tests/: "support/...", "fakes/...").
function(add_qt_test name)
    cmake_parse_arguments(ARG "GUI" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} testsupport Qt6::Test)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT 120)
    if(ARG_GUI)
        set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
    endif()
endfunction()
