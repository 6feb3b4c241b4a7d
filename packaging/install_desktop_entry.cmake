# Installs the menu entry with Exec naming the executable's installed path. Run by `cmake --install`
# (and CPack) after the install code that sets QUORVEX_EXECUTABLE (the installed path, without
# DESTDIR), QUORVEX_DESKTOP_TEMPLATE, QUORVEX_DESKTOP_STAGED and QUORVEX_APPLICATIONS_DIR.
set(executable "${QUORVEX_EXECUTABLE}")
# A desktop entry's Exec quotes an argument holding a reserved character, escaping " ` $ and \ inside
# the quotes; as a string value each \ is then written twice, and a % is written %%.
set(QUORVEX_DESKTOP_EXEC "${executable}")
if(executable MATCHES "[] \t\n\"'\\\\><~|&;$*?#()`[]")
  string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" quoted "${executable}")
  string(REPLACE "\\" "\\\\" quoted "${quoted}")
  set(QUORVEX_DESKTOP_EXEC "\"${quoted}\"")
endif()
string(REPLACE "%" "%%" QUORVEX_DESKTOP_EXEC "${QUORVEX_DESKTOP_EXEC}")
configure_file("${QUORVEX_DESKTOP_TEMPLATE}" "${QUORVEX_DESKTOP_STAGED}" @ONLY)
# An entry installed before into this prefix may be as new as the one staged now, yet name another
# games folder (QUORVEX_GAMES_DIR changed since).
file(REMOVE "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${QUORVEX_APPLICATIONS_DIR}/quorvex.desktop")
file(INSTALL "${QUORVEX_DESKTOP_STAGED}" DESTINATION "${CMAKE_INSTALL_PREFIX}/${QUORVEX_APPLICATIONS_DIR}")
