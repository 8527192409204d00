# The number text of the numeric fields: everywhere.
asd_add_test(test_numtext controls/numtext_test.cpp LIBS asd_numtext)

if(WIN32)
  # The toolkit on real controls, under Wine.
  asd_add_test(test_controls controls/testwindow.cpp controls/creation_test.cpp
               controls/exchange_test.cpp LIBS asd_controls)

  # Timing of a refresh against the platform's own text setting; run it with
  # scripts/bench-controls.
  add_executable(bench_controls controls/bench_controls.cpp)
  target_link_libraries(bench_controls PRIVATE asd_controls)
  asd_target_options(bench_controls)
endif()
