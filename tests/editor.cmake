# The editor windows: in the test's own process, and the program itself
# driven from outside.
if(NOT WIN32)
  return()
endif()

add_library(asd_editor_harness STATIC editor/harness.cpp)
target_link_libraries(asd_editor_harness PUBLIC asd_savefile asd_testsupport user32)
asd_target_options(asd_editor_harness)
# The harness starts the program itself.
add_dependencies(asd_editor_harness asdedit)
target_compile_definitions(asd_editor_harness PRIVATE ASDEDIT_PATH="${asd_drive}$<TARGET_FILE:asdedit>")

asd_add_test(test_editor_windows editor/main_window_test.cpp editor/item_window_test.cpp
  LIBS asd_editor asd_editor_harness)

asd_add_test(test_editor_program editor/program_test.cpp LIBS asd_editor_harness)
