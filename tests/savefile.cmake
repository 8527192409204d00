asd_add_test(test_savefile savefile/savefile_test.cpp LIBS asd_savefile)
