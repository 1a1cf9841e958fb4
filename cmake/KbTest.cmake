# kb_add_test(tst_name lib...) builds tests/<module>/tst_name.cpp into a Qt Test executable
# registered with CTest and run headless.
function(kb_add_test name)
  add_executable(${name} ${name}.cpp)
  target_link_libraries(${name} PRIVATE Qt6::Test ${ARGN})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
  add_test(NAME ${name} COMMAND ${name})
  # The label names the module, so a run can pick the tests of some modules (ctest -L).
  get_filename_component(module ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" LABELS ${module})
endfunction()
