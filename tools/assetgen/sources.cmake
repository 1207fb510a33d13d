# SPDX-License-Identifier: GPL-3.0-or-later
# The generator's sources (main.cpp aside), shared with the web page's build,
# which runs the generator in the browser.
set(ASSETGEN_SOURCES
  image.cpp kit.cpp generate.cpp
  scenes_town.cpp scenes_field.cpp scenes_events.cpp
  sprites.cpp panels.cpp sounds.cpp music.cpp tunes.cpp names.cpp)
list(TRANSFORM ASSETGEN_SOURCES PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
