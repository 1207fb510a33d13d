// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/command_line.h"

CommandLineReply ReadCommandLine(const std::vector<std::string>& args, const FilePlaces& places,
                                 const std::string& version) {
  CommandLineReply r;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--version" || a == "-v") {
      r.exit = true;
      r.text = "pomurie " + version + "\n";
      return r;
    }
    if (a == "--help" || a == "-h") {
      r.exit = true;
      r.text = "ポムリエ (pomurie) " + version +
               ": run a small sweets shop.\n"
               "\n"
               "Usage: pomurie [--help] [--version]\n"
               "\n"
               "Keys:\n"
               "  Enter        go on, as a click does; on a panel, press the focused button\n"
               "  1 2 3 4      pick that choice button\n"
               "  Esc          cancel, wherever a right click cancels\n"
               "  Ctrl (held)  skip through the messages; stops at every choice\n"
               "  Tab, arrows  move between a panel's buttons and its list\n"
               "  Space        pause the animation\n"
               "  M            sound off / on\n"
               "  + -          enlarge / shrink the picture (x1 to x4)\n"
               "  F11          full screen on / off\n"
               "  F1           on the opening picture: start over\n"
               "\n"
               "Files:\n"
               "  pictures and sounds  " +
               places.game_dir +
               "\n"
               "  save file            " +
               places.user_dir +
               "dat/my.dat\n"
               "  play record          " +
               places.user_dir +
               "きろく.txt\n"
               "  settings             " +
               places.config_dir + "pomurie.ini\n";
      return r;
    }
  }
  return r;
}
