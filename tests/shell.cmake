# The application shell: command line, start-up, window objects and menus.
asd_add_test(test_cmdtoken shell/cmdtoken_test.cpp LIBS asd_cmdtoken)
