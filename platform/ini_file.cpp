// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ini_file.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <sstream>

#include "platform/file_guard.h"

namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return {};
  size_t e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
}

std::string KeyOf(const std::string& section, const std::string& key) {
  return Lower(Trim(section)) + '\n' + Lower(Trim(key));
}

}  // namespace

std::optional<IniFile> IniFile::Load(const std::string& path) {
  std::string text;
  if (ReadPlainFile(path, kMaxSettingsBytes, text) != 0) return std::nullopt;
  return Parse(text);
}

IniFile IniFile::Parse(const std::string& text) {
  IniFile ini;
  std::string section;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    std::string t = Trim(line);
    if (t.empty() || t[0] == ';' || t[0] == '#') continue;
    if (t[0] == '[') {
      size_t close = t.find(']');
      section = t.substr(1, close == std::string::npos ? std::string::npos : close - 1);
      continue;
    }
    size_t eq = t.find('=');
    if (eq == std::string::npos) continue;
    // The first value of a key wins, as the desktop's settings readers do.
    ini.values_.emplace(KeyOf(section, t.substr(0, eq)), Trim(t.substr(eq + 1)));
  }
  return ini;
}

bool IniFile::Has(const std::string& section, const std::string& key) const {
  return values_.count(KeyOf(section, key)) != 0;
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& default_value) const {
  auto it = values_.find(KeyOf(section, key));
  return it == values_.end() ? default_value : it->second;
}

int IniFile::ReadInt(const std::string& section, const std::string& key, int default_value) const {
  auto it = values_.find(KeyOf(section, key));
  if (it == values_.end() || it->second.empty()) return default_value;
  const char* s = it->second.c_str();
  char* end = nullptr;
  errno = 0;
  long v = std::strtol(s, &end, 10);
  if (end == s || *end != '\0' || errno == ERANGE || v < INT_MIN || v > INT_MAX) return default_value;
  return static_cast<int>(v);
}
