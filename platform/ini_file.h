// SPDX-License-Identifier: GPL-3.0-or-later
// A settings file of sections and keys ("[Section]" / "Key=Value"), read once.
#pragma once

#include <map>
#include <optional>
#include <string>

class IniFile {
 public:
  // nullopt when the file cannot be read.
  static std::optional<IniFile> Load(const std::string& path);
  static IniFile Parse(const std::string& text);

  // Section and key names compare without regard to ASCII case. A value that is not
  // an integer (or is out of the int range) yields the default.
  int ReadInt(const std::string& section, const std::string& key, int default_value) const;
  std::string ReadString(const std::string& section, const std::string& key, const std::string& default_value) const;
  bool Has(const std::string& section, const std::string& key) const;

 private:
  std::map<std::string, std::string> values_;  // "section\nkey" in lower case -> value
};
