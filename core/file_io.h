// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-file reads and crash-safe replacement of the game's files.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/file_guard.h"

// Reads the regular file at `path` into `out`, refusing anything else and
// anything above `max_bytes` (see platform/file_guard.h). Returns 0, the errno of
// the failure, kNotPlainFile or kFileTooLarge.
int ReadWholeFile(const std::string& path, std::string& out, size_t max_bytes = kMaxSaveBytes);

// Replaces `path` with `bytes` so that a crash at any moment leaves either the
// old or the new file whole: the bytes go to a new `path`.tmp (created afresh,
// never opened through a link), are flushed to disk, and one rename puts them in
// place. A `path` that is a symlink to a regular file is written through to that
// file, beside which the temporary one is made, so the link stays a link.
// Returns 0 or the errno of the failure (the old file is then untouched). With
// `stop_before_rename` it leaves the written temporary file and returns before
// the rename, as a crash there would.
int ReplaceFile(const std::string& path, std::string_view bytes, bool stop_before_rename = false);

// Keeps something aside under the first free name of `base`, `base`.2, `base`.3,
// … : `keep` is tried with each name until it fails with anything but EEXIST.
// Returns 0 and sets `kept_as`, or the errno of the failure.
int KeepAside(const std::string& base, const std::function<int(const std::string&)>& keep, std::string& kept_as);

// Writes `bytes` to a new file at `path`; EEXIST when something is there already.
int WriteNewFile(const std::string& path, std::string_view bytes);

// Renames `from` to `to` unless `to` exists (then EEXIST, and nothing moves).
int RenameNoReplace(const std::string& from, const std::string& to);

// The game's text files are one value per line, CR LF or LF. Returns the line at
// `pos` without its ending and moves `pos` past it; empty at the end of the bytes.
std::string_view NextLine(std::string_view bytes, size_t& pos);

// Creates the folder and every missing parent (mkdir -p); returns 0 or the errno.
int MakeFolders(const std::string& path);
