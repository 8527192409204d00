# The application shell: command line, start-up, window objects and menus.
asd_add_test(test_cmdtoken shell/cmdtoken_test.cpp LIBS asd_cmdtoken)

if(WIN32)
  asd_add_test(test_shell
    shell/cmdline_test.cpp shell/window_test.cpp shell/menu_test.cpp shell/startup_test.cpp
    shell/recorder.cpp ${PROJECT_SOURCE_DIR}/resources/asdedit.rc
    LIBS asd_app)
  # The start-up test runs the program itself.
  add_dependencies(test_shell asdedit)
  target_compile_definitions(test_shell PRIVATE ASDEDIT_PATH="${asd_drive}$<TARGET_FILE:asdedit>")
endif()
