# Run by `cmake --install`: writes the desktop entry with the installed program's path, which is
# known only now (--prefix may differ from the configured prefix). Expects VIDORA_DESKTOP_TEMPLATE.
set(_exec "${CMAKE_INSTALL_PREFIX}/bin/vidora")
# The path is one quoted argument of Exec: inside the quotes ", `, $ and \ are escaped with a
# backslash and % is doubled; then the entry's own string escaping doubles every backslash.
string(REPLACE "\\" "\\\\" _exec "${_exec}")
string(REPLACE "\"" "\\\"" _exec "${_exec}")
string(REPLACE "`" "\\`" _exec "${_exec}")
string(REPLACE "$" "\\$" _exec "${_exec}")
string(REPLACE "%" "%%" _exec "${_exec}")
string(REPLACE "\\" "\\\\" _exec "${_exec}")
file(READ "${VIDORA_DESKTOP_TEMPLATE}" _entry)
string(REPLACE "@VIDORA_EXEC@" "\"${_exec}\"" _entry "${_entry}")
set(_target "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/share/applications/vidora.desktop")
message(STATUS "Installing: ${_target}")
file(WRITE "${_target}" "${_entry}")
