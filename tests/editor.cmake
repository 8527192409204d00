# The editor windows: in the test's own process, and the program itself
# driven from outside.
if(NOT WIN32)
  return()
endif()

add_library(asd_editor_harness STATIC editor/harness.cpp)
target_link_libraries(asd_editor_harness PUBLIC asd_savefile asd_testsupport user32)
asd_target_options(asd_editor_harness)

asd_add_test(test_editor_windows editor/main_window_test.cpp editor/item_window_test.cpp
  LIBS asd_editor asd_editor_harness)

asd_add_test(test_editor_program editor/program_test.cpp LIBS asd_editor_harness)
add_dependencies(test_editor_program asdedit)
if(CMAKE_CROSSCOMPILING)
  # Programs under Wine reach the build tree through drive Z:.
  set(asd_editor_drive "Z:")
endif()
target_compile_definitions(test_editor_program PRIVATE
  ASDEDIT_PATH="${asd_editor_drive}$<TARGET_FILE:asdedit>")
