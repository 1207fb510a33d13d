# SPDX-License-Identifier: GPL-3.0-or-later
# Run by CPack on its staging folder before packing. Debian keeps a game's program in
# /usr/games (from there the game still finds its files in ../share/pomurie), stripped
# of its symbols and of the notes that only tell how it was built, as dh_strip does.
set(usr "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
file(MAKE_DIRECTORY "${usr}/games")
file(RENAME "${usr}/bin/pomurie" "${usr}/games/pomurie")
file(REMOVE_RECURSE "${usr}/bin")
execute_process(COMMAND "${CPACK_POMURIE_STRIP}" --remove-section=.comment --remove-section=.note
  "${usr}/games/pomurie" COMMAND_ERROR_IS_FATAL ANY)
