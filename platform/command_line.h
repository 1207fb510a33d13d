// SPDX-License-Identifier: GPL-3.0-or-later
// The program's command line: --help and --version answer on standard output
// and end the program before any window opens; everything else is left to Qt.
#pragma once

#include <string>
#include <vector>

#include "platform/paths.h"

struct CommandLineReply {
  bool exit = false;  // print `text` and end with `code`
  int code = 0;
  std::string text;
};

CommandLineReply ReadCommandLine(const std::vector<std::string>& args, const FilePlaces& places,
                                 const std::string& version);
