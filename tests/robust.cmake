# Robustness: file operations that fail part-way through a load or a store.
if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  # The C library's stream calls are wrapped at link time to inject failures.
  asd_add_test(test_robust_io robust/io_failure_test.cpp LIBS asd_savefile)
  target_link_options(test_robust_io PRIVATE
    "LINKER:--wrap=fopen,--wrap=fseek,--wrap=ftell,--wrap=fread,--wrap=fwrite,--wrap=fflush,--wrap=fclose")
endif()

add_subdirectory(bench)
