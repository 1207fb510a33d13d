// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/save.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>

#include "core/file_io.h"
#include "core/game.h"
#include "core/guest_names.h"
#include "core/play_record.h"
#include "platform/file_guard.h"
#include "platform/text.h"

namespace {

// Every saved value in file order. One list drives both the writer and the
// reader, so the two can never disagree about a line's position. Runs of
// numbers go as one call: the loaders' fuzzing runs this list four times an
// input, and a tight loop per run keeps that fast.
template <class S, class V>
void VisitSaved(S& s, V& v) {
  auto& my = s.my;
  auto& p = s.unit[kPlayer];
  auto ints = [&v](auto&... x) { (v.Int(x), ...); };

  v.Ints(std::span(my.flag).first(100));
  v.Ints(std::span(my.item_count));
  v.Ints(std::span(my.spare_f));
  ints(my.money, my.fame, my.flag[114], my.flag[115], my.week_sales, my.flag[107], my.day_count, my.spare_a,
       my.load_count, my.play_count, my.flag[100], my.day_hours, my.player_x, my.player_y);
  for (int k = 0; k < 20; ++k) ints(my.spare_g[k], my.spare_h[k]);
  v.Ints(std::span(my.spare_seal));
  ints(my.spare_c, my.flag[102], my.flag[103], my.flag[101], my.location, my.flag[110], my.spare_b, my.draw_speed);
  v.Ints(std::span(my.spare_k));
  v.Ints(std::span(my.spare_l));
  v.Int(my.hours_used);
  v.Str(p.name);
  ints(p.bp, p.fullness, p.level_peak, p.level, p.exp, p.max_hp, p.hp, p.mp, p.max_mp, p.tp, p.spare_m);
  ints(p.map_x, p.map_y);
  ints(p.defence, p.spirit, p.strength, p.magic, p.hit, p.evasion);
  ints(p.extra_state_turns, p.heal_state_turns, p.mana_state_turns, p.spirit_state_turns, p.attack_up_turns,
       p.phys_defence_up_turns, p.magic_attack_up_turns, p.magic_defence_up_turns, p.find_boost, p.full_state_turns,
       p.reflect_turns, p.guard_all, p.stomachache_turns, p.poison_turns, p.paralysis_turns);
  ints(p.spare_n, p.cook_skill, p.spare_o, p.spare_p, p.spare_q, p.spare_r, p.infinite_state_turns, p.spare_s,
       p.lifespan_days, p.age_days, p.spare_t, p.logic_attack_up_turns, p.logic_defence_up_turns, p.logic_armour_turns,
       p.explore_skill);
  v.Ints(std::span(p.sold_out));
  v.Int(p.guard_turns);
  v.Real(s.spare_time);
  v.Ints(std::span(my.spare_i));
  v.Ints(std::span(my.spare_j));
  ints(my.week_visitors, my.total_visitors, my.total_sales, my.rank_progress, my.shop_rank, my.week_buyers);
  for (int slot = 1; slot < kOrderSlots; ++slot) {  // slot 0 is never used, never written
    v.Str(my.orders[slot].customer);
    ints(my.orders[slot].item, my.orders[slot].days);
  }
}

// Room a value's line can take at most, so the writer can fill one buffer
// without a check per value.
struct Measure {
  size_t bytes = 0;
  void Int(int32_t) { bytes += 11 + 2; }
  void Ints(std::span<const int32_t> xs) { bytes += xs.size() * (11 + 2); }
  void Real(double) { bytes += 23 + 2; }
  void Str(const std::string& x) { bytes += x.size() + 2; }
};

// Writes `x` and its line end at `p` (13 bytes of room), returns the end. Under
// the fuzzer every comparison costs a callback, so the usual value takes one.
char* WriteIntLine(char* p, int32_t x) {
  const uint32_t negative = static_cast<uint32_t>(x) >> 31;
  const uint32_t u = (static_cast<uint32_t>(x) ^ (0u - negative)) + negative;
  *p = '-';
  p += negative;
  if (std::endian::native == std::endian::little && u < 100000000) {
    // Eight digits at once: split in halves, pairs, then single digits, the
    // first digit in the lowest byte, and the leading zeros shifted out.
    uint64_t v = u / 10000 | uint64_t{u % 10000} << 32;
    const uint64_t hundreds = ((v * 5243) >> 19) & 0x0000007F0000007Fu;  // x / 100 for x < 43699
    v = hundreds | (v - hundreds * 100) << 16;
    const uint64_t tens = ((v * 103) >> 10) & 0x000F000F000F000Fu;  // x / 10 for x < 179
    v = tens | (v - tens * 10) << 8;
    const unsigned zeros = static_cast<unsigned>(std::countr_zero(v | uint64_t{1} << 56)) / 8;
    const uint64_t text = (v + 0x3030303030303030u) >> ((8 * zeros) & 63);  // masked: no range check
    std::memcpy(p, &text, 8);
    p += 8 - zeros;
  } else {
    p = std::to_chars(p, p + 10, u).ptr;
  }
  std::memcpy(p, "\r\n", 2);
  return p + 2;
}

struct Writer {
  char* p;
  void Int(int32_t x) { p = WriteIntLine(p, x); }
  void Ints(std::span<const int32_t> xs) {
    char* q = p;
    for (const int32_t x : xs) q = WriteIntLine(q, x);
    p = q;
  }
  void Real(double x) {
    const std::string r = FormatSaveReal(x);
    p = std::copy(r.begin(), r.end(), p);
    Eol();
  }
  void Str(const std::string& x) {
    // A line break inside a value would shift every later line; no input can
    // produce one, but the file must survive it if code ever does.
    for (char c : x) *p++ = c == '\n' ? ' ' : c;
    Eol();
  }
  void Eol() {
    *p++ = '\r';
    *p++ = '\n';
  }
};

// Printable bytes, the usual case, take a single comparison.
constexpr bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ' && (c == ' ' || c == '\t' || c == '\r' || c == '\n');
}

// Bytes the reader may look at past the end of its text: ShortNumberLine reads
// ahead without a length check. Zeros there end no number and no line.
constexpr size_t kReadAhead = 16;

// The usual line at `p`, a sign maybe, one to seven digits and CR LF (or LF),
// read eight bytes at a time with one comparison, where a byte-wise reader
// would pay a fuzzer callback per byte. Returns the next line's start, or null
// (nothing read) for any other shape; kReadAhead readable bytes follow the text.
const char* ShortNumberLine(const char* p, int32_t& x) {
  if constexpr (std::endian::native != std::endian::little) return nullptr;
  const uint32_t negative = ((static_cast<unsigned char>(*p) ^ uint32_t{'-'}) - 1) >> 31;
  p += negative;
  uint64_t v;
  std::memcpy(&v, p, 8);
  // A byte is a digit when its high nibble is 3 and its low one below 10;
  // `other` gets the top bit of every byte that is not.
  const uint64_t high = (v & 0xF0F0F0F0F0F0F0F0u) ^ 0x3030303030303030u;
  const uint64_t low = ((v & 0x0F0F0F0F0F0F0F0Fu) + 0x0606060606060606u) & 0x1010101010101010u;
  const uint64_t odd = high | low;
  const uint64_t other = (((odd & 0x7F7F7F7F7F7F7F7Fu) + 0x7F7F7F7F7F7F7F7Fu) | odd) & 0x8080808080808080u;
  // Leading digits, 0 to 7 (eight digits read as seven, whose end then fails).
  const unsigned digits = static_cast<unsigned>(std::countr_zero(other | uint64_t{1} << 63)) / 8;
  uint16_t end;
  std::memcpy(&end, p + digits, 2);
  const unsigned none = ((digits + 7) >> 3) ^ 1;  // "no digits" by arithmetic
  unsigned eol = 2;
  if ((end ^ 0x0A0Du) | none) {
    if (((end & 0xFFu) ^ 0x0Au) | none) return nullptr;
    eol = 1;
  }
  // Shifted so the digits fill the top bytes (zeros lead, the first digit is
  // the lowest byte), then summed in pairs, fours and the eight.
  uint64_t d = (v & 0x0F0F0F0F0F0F0F0Fu) << ((8 * (8 - digits)) & 63);
  d = (d * 10 + (d >> 8)) & 0x00FF00FF00FF00FFu;
  d = (d * 100 + (d >> 16)) & 0x0000FFFF0000FFFFu;
  const auto magnitude = static_cast<uint32_t>((d & 0xFFFFFFFFu) * 10000 + (d >> 32));
  x = static_cast<int32_t>((magnitude ^ (0u - negative)) + negative);  // the sign, again without a comparison
  return p + digits + eol;
}

// Reads values in the save file's way: a number is the next word after any
// blanks and line breaks, the rest of its line is skipped; a string is the whole
// current line. Past the end everything reads as 0 or empty.
struct Reader {
  std::string_view b;  // followed by kReadAhead readable bytes
  size_t pos = 0;
  bool damaged = false;
  bool cut_short = false;  // a value found no line: the file ended first

  // The next word of a number, or empty at the end of the file; moves past its line.
  std::string_view NumberWord() {
    const char* p = b.data() + pos;
    const char* const end = b.data() + b.size();
    while (p < end && IsBlank(*p)) ++p;
    const char* const start = p;
    while (p < end && !IsBlank(*p)) ++p;
    const std::string_view word(start, static_cast<size_t>(p - start));
    const void* eol = p < end ? std::memchr(p, '\n', static_cast<size_t>(end - p)) : nullptr;
    pos = eol ? static_cast<size_t>(static_cast<const char*>(eol) - b.data()) + 1 : b.size();
    return word;
  }

  void Int(int32_t& x) {
    if (const char* next = ShortNumberLine(b.data() + pos, x)) {
      pos = static_cast<size_t>(next - b.data());
      return;
    }
    AnyInt(x);
  }

  void Ints(std::span<int32_t> xs) {
    const char* const start = b.data();
    const char* p = start + pos;
    for (int32_t& x : xs) {
      if (const char* next = ShortNumberLine(p, x)) {
        p = next;
      } else {
        pos = static_cast<size_t>(p - start);
        AnyInt(x);
        p = start + pos;
      }
    }
    pos = static_cast<size_t>(p - start);
  }

  void AnyInt(int32_t& x) {
    std::string_view w = NumberWord();
    x = 0;
    if (w.empty()) {  // only at the end of the bytes
      cut_short = true;
      return;
    }
    const bool negative = w.front() == '-';
    if (w.front() == '+' || negative) w.remove_prefix(1);
    // Digits only; past leading zeros at most ten (anything longer is out of range).
    const uint64_t limit = negative ? 2147483648u : 2147483647u;
    bool ok = !w.empty();
    while (w.size() > 1 && w.front() == '0') w.remove_prefix(1);
    ok = ok && w.size() <= 10;
    uint64_t magnitude = 0;
    for (size_t i = 0; ok && i < w.size(); ++i) {
      const unsigned digit = static_cast<unsigned char>(w[i]) - unsigned{'0'};
      ok = digit < 10;
      magnitude = magnitude * 10 + digit;
    }
    if (!ok || magnitude > limit) {
      damaged = true;
      return;
    }
    x = static_cast<int32_t>(negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude));
  }

  void Real(double& x) {
    std::string_view w = NumberWord();
    x = 0;
    if (w.empty()) {
      cut_short = true;
      return;
    }
    if (w.front() == '+') w.remove_prefix(1);
    double value = 0;
    const auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), value);
    if (w.empty() || ec != std::errc() || end != w.data() + w.size() || !std::isfinite(value)) {
      damaged = true;
      return;
    }
    x = value;
  }

  void Str(std::string& x) {
    cut_short = cut_short || pos >= b.size();  // an empty name is an empty line, not no line
    x.assign(NextLine(b, pos));
  }
};

std::string ErrorText(int err) {
  if (err == kNotPlainFile) return J("ふつうのファイルではありません");
  if (err == kFileTooLarge) return J("ファイルが大きすぎます");
  return J(std::strerror(err));
}

void ReportSaveFailure(Game& g, const std::string& path, int err) {
  g.plat.ShowFailure(J("セーブできませんでした…\r\n") + J(path) + "\r\n(" + ErrorText(err) + ")");
}

// Resets the saved part of the state to "no character yet".
void StartWithoutSave(Game& g) {
  ParseSaveData(g, {});
  for (torder& o : g.my.orders) o = torder{};
}

// Lines of the file as a text editor counts them.
size_t LineCount(std::string_view bytes) {
  const size_t breaks = static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
  return breaks + (!bytes.empty() && bytes.back() != '\n' ? 1 : 0);
}

// What Load found, and where the rest of start-up goes from there.
struct LoadOutcome {
  bool may_overwrite = true;  // false: the save is kept where it is, nothing saves over it
  std::string message;        // told the player once loading is done (CP932), or empty
};

// The file at `path` could not be read at all (no permission, a folder, a pipe,
// a device, far too large): moved aside whole, so the fresh save cannot destroy
// it, and the game starts without a character. `movable` is false for a file
// in a folder the game cannot write.
LoadOutcome Unreadable(Game& g, const std::string& path, int err, bool movable) {
  StartWithoutSave(g);
  const std::string why = J("セーブデータが読めなかったよ…\r\n") + J(path) + "\r\n(" + ErrorText(err) + ")\r\n";
  if (!movable) return {true, why + J("新しく始めるね。元のファイルはそのままにしておくね")};
  std::string kept;
  if (KeepAside(
          DamagedSaveFilePath(g), [&](const std::string& to) { return RenameNoReplace(path, to); }, kept) == 0) {
    return {true, why + J("新しく始めるね。元のファイルは ") + J(kept) + J(" に残しておいたよ")};
  }
  return {false, why + J("元のファイルを消さないように、今はセーブしないでおくね")};
}

// The bytes read but not whole: a copy is kept under a name of its own first.
LoadOutcome Damaged(Game& g, const std::string& bytes, SaveFault fault) {
  std::string head;
  if (fault == SaveFault::CutShort) {
    // Values past the cut would read as 0: HP 0 of 0, a lifespan of 0 days, no
    // name. Such a character would die at its first night, so the game starts
    // anew and the whole file waits aside for a better copy.
    StartWithoutSave(g);
    head = J("セーブデータが途中で切れていたよ… (") + Num(kSaveLines) + J(" 行のうち ") +
           Num(static_cast<int32_t>(std::min<size_t>(LineCount(bytes), kSaveLines))) + J(" 行しかなかった)\r\n") +
           J("このままでは遊べないので、新しく始めるね。\r\n");
  } else {
    head = J("セーブデータの一部がこわれていたみたい…\r\n読めなかったところは 0 にして続けるね。\r\n");
  }
  std::string kept;
  const int err = KeepAside(
      DamagedSaveFilePath(g), [&](const std::string& to) { return WriteNewFile(to, bytes); }, kept);
  if (err == 0) return {true, head + J("こわれたファイルは ") + J(kept) + J(" に残しておいたよ")};
  return {false, head + J("こわれたファイルを残せなかったので、今はセーブしないでおくね\r\n(") + ErrorText(err) + ")"};
}

}  // namespace

std::string FormatSaveReal(double v) {
  if (!std::isfinite(v) || v == 0) return " 0.00000000000000E+0000";
  // to_chars, not printf: the Qt build runs under the user's locale, whose
  // decimal comma would make the line unreadable on the next load.
  char buf[64];
  const char* end = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific, 14).ptr;
  const std::string_view digits(buf, static_cast<size_t>(end - buf));  // d.dddddddddddddde+xx
  const size_t e = digits.find('e');
  int exponent = 0;
  std::from_chars(digits.data() + e + (digits[e + 1] == '+' ? 2 : 1), digits.data() + digits.size(), exponent);
  char out[64];
  std::snprintf(out, sizeof out, "%c%.*sE%c%04d", v < 0 ? '-' : ' ', static_cast<int>(e), digits.data(),
                exponent < 0 ? '-' : '+', std::abs(exponent));
  return out;
}

std::string FormatSaveData(const GameState& s) {
  Measure m;
  VisitSaved(s, m);
  std::string out(m.bytes, '\0');
  Writer w{out.data()};
  VisitSaved(s, w);
  out.resize(static_cast<size_t>(w.p - out.data()));
  return out;
}

SaveFault ReadSaveData(GameState& s, std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size() + kReadAhead);
  text.append(bytes).append(kReadAhead, '\0');
  Reader r{std::string_view(text).substr(0, bytes.size())};
  VisitSaved(s, r);
  if (r.cut_short) return SaveFault::CutShort;
  return r.damaged ? SaveFault::NotANumber : SaveFault::None;
}

bool ParseSaveData(GameState& s, std::string_view bytes) { return ReadSaveData(s, bytes) == SaveFault::None; }

std::string SaveFilePath(const Game& g) { return g.plat.UserDir() + "dat/my.dat"; }
std::string DamagedSaveFilePath(const Game& g) { return g.plat.UserDir() + "dat/my.dat.damaged"; }

SaveSlot ReadSaveSlot(Game& g) {
  MakeFolders(g.plat.UserDir() + "dat");
  const std::string path = SaveFilePath(g);
  std::string bytes;
  int read_err = ReadWholeFile(path, bytes, kMaxSaveBytes);
  // A save the game cannot write to (beside a program run from a read-only
  // folder) is the player's until a copy of their own exists.
  std::string read_only_path;
  if (read_err == ENOENT && !g.plat.ReadOnlySaveDir().empty()) {
    const std::string old = g.plat.ReadOnlySaveDir() + "dat/my.dat";
    const int old_err = ReadWholeFile(old, bytes, kMaxSaveBytes);
    if (old_err != ENOENT) {
      read_only_path = old;
      read_err = old_err;
    }
  }
  const std::string& source = read_only_path.empty() ? path : read_only_path;

  LoadOutcome outcome;
  if (read_err == ENOENT) {
    StartWithoutSave(g);
  } else if (read_err != 0) {
    outcome = Unreadable(g, source, read_err, read_only_path.empty());
  } else if (const SaveFault fault = ReadSaveData(g, bytes); fault != SaveFault::None) {
    outcome = Damaged(g, bytes, fault);
  }
  if (!outcome.message.empty()) g.plat.ShowMessage(outcome.message);
  LoadGuestNames(g);
  g.my.load_count += 1;
  g.action.loaded = true;
  return {outcome.may_overwrite, !read_only_path.empty() && read_err == 0};
}

std::string MovedSaveMessage(const Game& g) {
  return J("ゲームのフォルダには書き込めないので、これからは\r\n") + J(SaveFilePath(g)) +
         J("\r\nにセーブするね。元のファイルはそのままだよ");
}

bool Save(Game& g, const SaveOptions& options) { return SaveBytes(g, FormatSaveData(g), g, options); }

bool SaveBytes(Game& g, const std::string& bytes, const GameState& record, const SaveOptions& options) {
  if (g.action.closed) return false;      // scripts unwinding after the close change nothing on disk
  MakeFolders(g.plat.UserDir() + "dat");  // a missing folder is no reason to lose the game
  const std::string path = SaveFilePath(g);
  int err = ReplaceFile(path, bytes, options.stop_before_rename);
  if (err != 0) {
    ReportSaveFailure(g, path, err);
    return false;
  }
  if (options.stop_before_rename) return false;
  const std::string record_path = PlayRecordPath(g.plat.UserDir());
  err = ReplaceFile(record_path, PlayRecordText(record));
  if (err != 0) {
    // The game itself is saved; only the summary beside it is missing.
    g.plat.ShowMessage(J("セーブはできたけど、プレー記録を書けなかったよ…\r\n") + J(record_path) + "\r\n(" +
                       ErrorText(err) + ")");
  }
  g.plat.FilesWritten();
  return true;
}
