# Robustness: file operations that fail part-way through a load or a store,
# and saves into a file that changed after it was opened.
if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  # The C library's stream calls are wrapped at link time to inject failures.
  asd_add_test(test_robust_io robust/io_failure_test.cpp LIBS asd_savefile)
  target_link_options(test_robust_io PRIVATE
    "LINKER:--wrap=fopen,--wrap=fseek,--wrap=ftell,--wrap=fread,--wrap=fwrite,--wrap=fflush,--wrap=fclose")
endif()

if(WIN32)
  # The editor program itself, driven from this test's process.
  asd_add_test(test_robust_save robust/save_failure_test.cpp LIBS asd_editor_harness)
endif()

# Benchmark programs for scripts/bench.
add_subdirectory(bench)
