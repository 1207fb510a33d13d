// Whole-file reads and crash-safe replacement of the game's files.
#pragma once

#include <string>
#include <string_view>

// Reads the file into `out`; returns 0 or the errno of the failure.
int ReadWholeFile(const std::string& path, std::string& out);

// Replaces `path` with `bytes` so that a crash at any moment leaves either the
// old or the new file whole: the bytes go to `path`.tmp, are flushed to disk,
// and one rename puts them in place. Returns 0 or the errno of the failure (the
// old file is then untouched). With `stop_before_rename` it leaves the written
// temporary file and returns before the rename, as a crash there would.
int ReplaceFile(const std::string& path, std::string_view bytes, bool stop_before_rename = false);

// The game's text files are one value per line, CR LF or LF. Returns the line at
// `pos` without its ending and moves `pos` past it; empty at the end of the bytes.
std::string_view NextLine(std::string_view bytes, size_t& pos);

// Creates the folder and every missing parent (mkdir -p); returns 0 or the errno.
int MakeFolders(const std::string& path);
