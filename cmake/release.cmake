# The files of the release zip, installed by scripts/release with cmake
# --install --strip from the i686 build (the editor, asdtool.exe, the README,
# the Japanese usage note, and for Linux the Wine launcher and the icon), with
# the x86_64 build's editor (component editor) beside them.
if(NOT WIN32)
  return()
endif()

install(TARGETS asdedit RUNTIME DESTINATION . COMPONENT editor)
install(TARGETS asdtool RUNTIME DESTINATION . COMPONENT tool)
install(PROGRAMS tools/launcher/asdedit-wine.sh DESTINATION . COMPONENT launcher)
install(FILES resources/asdedit.png DESTINATION . COMPONENT launcher)
# The zip's README: the parts of README.md for players, between its
# "<!-- zip -->" and "<!-- /zip -->" marks, under the title; on a host
# without a shell, the whole README.
if(CMAKE_HOST_UNIX)
  set(readme ${CMAKE_BINARY_DIR}/README.md)
  add_custom_command(OUTPUT ${readme}
    COMMAND sh -c "{ sed -n 1p '${PROJECT_SOURCE_DIR}/README.md'; awk '/^<!-- zip -->$/ { on = 1; print \"\"; next } /^<!-- \\/zip -->$/ { on = 0; next } on' '${PROJECT_SOURCE_DIR}/README.md'; } > '${readme}'"
    DEPENDS ${PROJECT_SOURCE_DIR}/README.md VERBATIM)
  add_custom_target(release_readme ALL DEPENDS ${readme})
  install(FILES ${readme} DESTINATION . COMPONENT docs)
else()
  install(FILES README.md DESTINATION . COMPONENT docs)  # whole, where no sh cuts it
endif()

# Notepad on a Japanese Windows of any age reads the note in Shift-JIS with CRLF.
find_program(ASD_ICONV iconv)
if(ASD_ICONV AND CMAKE_HOST_UNIX)
  set(note ${CMAKE_BINARY_DIR}/tsukaikata.txt)
  add_custom_command(OUTPUT ${note}
    COMMAND sh -c "'${ASD_ICONV}' -f UTF-8 -t CP932 '${PROJECT_SOURCE_DIR}/docs/tsukaikata.txt' | sed 's/$/\\r/' > '${note}'"
    DEPENDS ${PROJECT_SOURCE_DIR}/docs/tsukaikata.txt VERBATIM)
  add_custom_target(usage_note ALL DEPENDS ${note})
  install(FILES ${note} DESTINATION . COMPONENT docs)
endif()
