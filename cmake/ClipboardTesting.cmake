# clipboard_add_test(NAME <name> SOURCES <files...> [LIBS <libs...>] [SERIAL])
# One GoogleTest executable, registered as one CTest test. Under the Windows
# build CTest runs it through the Wine wrapper (the cross-compiling emulator).
# SERIAL marks tests that touch the system clipboard, which is global.
function(clipboard_add_test)
  cmake_parse_arguments(T "SERIAL" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  if(T_SERIAL)
    set_tests_properties(${T_NAME} PROPERTIES RUN_SERIAL TRUE)
  endif()
endfunction()
