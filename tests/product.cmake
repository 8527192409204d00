# The command-line tool, natively and under Wine.
asd_add_test(test_asdtool product/asdtool_test.cpp LIBS asd_savefile)
add_dependencies(test_asdtool asdtool)
target_compile_definitions(test_asdtool PRIVATE ASDTOOL_PATH="${asd_drive}$<TARGET_FILE:asdtool>")

if(NOT WIN32)
  return()
endif()

# The program's resources: icon, version information and manifest.
asd_add_test(test_resources product/resources_test.cpp LIBS version)
add_dependencies(test_resources asdedit acp_probe)
target_compile_definitions(test_resources PRIVATE
  ASDEDIT_PATH="${asd_drive}$<TARGET_FILE:asdedit>"
  ACP_PROBE_PATH="${asd_drive}$<TARGET_FILE:acp_probe>")

# Two probes that print their ANSI code page: one carries the program's
# manifest, the other nothing.
add_executable(acp_probe product/acp_probe.cpp ${PROJECT_SOURCE_DIR}/resources/manifest.rc)
add_executable(acp_probe_plain product/acp_probe.cpp)
foreach(probe acp_probe acp_probe_plain)
  asd_target_options(${probe})
  if(MSVC)
    target_link_options(${probe} PRIVATE /MANIFEST:NO)
  endif()
endforeach()

if(CMAKE_CROSSCOMPILING)
  # Started in the C locale, where Wine alone gives code page 1252, the
  # manifest still makes the program's code page 932.
  set(asd_c_locale bash ${CMAKE_CURRENT_SOURCE_DIR}/product/run-in-c-locale ${CMAKE_SYSTEM_PROCESSOR})
  add_test(NAME ResourcesManifest.CodePage932InTheCLocale COMMAND ${asd_c_locale} $<TARGET_FILE:acp_probe>)
  set_tests_properties(ResourcesManifest.CodePage932InTheCLocale PROPERTIES
    PASS_REGULAR_EXPRESSION "^GetACP\\(\\) = 932\n" TIMEOUT 60)
  add_test(NAME ResourcesManifest.WithoutManifestNot932InTheCLocale COMMAND ${asd_c_locale} $<TARGET_FILE:acp_probe_plain>)
  set_tests_properties(ResourcesManifest.WithoutManifestNot932InTheCLocale PROPERTIES
    PASS_REGULAR_EXPRESSION "^GetACP\\(\\) = [0-9]+\n" FAIL_REGULAR_EXPRESSION "= 932" TIMEOUT 60)
endif()
