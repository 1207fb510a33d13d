// SPDX-License-Identifier: GPL-3.0-or-later
// A small mutation fuzzer for the loaders of outside bytes. Each target defines
// LLVMFuzzerTestOneInput (so it also builds with libFuzzer); this driver feeds it
// the seed files of its name and random mutations of them for a bounded time.
// Usage: <target> [--seconds=N] [--runs=N] [--seeds=DIR] [--min-rate=R] [files...]   (files: replay only)
// --runs stops after N inputs (a campaign), whatever the time.
// --min-rate fails the run when fewer than R inputs pass per processor second.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

void Mutate(Bytes& b, std::mt19937& rng) {
  auto pick = [&](size_t n) { return n == 0 ? size_t{0} : std::uniform_int_distribution<size_t>(0, n - 1)(rng); };
  switch (pick(8)) {
    case 0:  // flip a bit
      if (!b.empty()) b[pick(b.size())] ^= static_cast<uint8_t>(1u << pick(8));
      break;
    case 1:  // random byte
      if (!b.empty()) b[pick(b.size())] = static_cast<uint8_t>(rng());
      break;
    case 2:  // interesting 32-bit value (sizes are the usual weak spot)
      if (b.size() >= 4) {
        static const uint32_t kValues[] = {0,      1,          2,           0x7F,        0x80, 0xFF,
                                           0xFFFF, 0x7FFFFFFF, 0x80000000u, 0xFFFFFFFFu, 16,   15};
        uint32_t v = kValues[pick(std::size(kValues))];
        std::memcpy(&b[pick(b.size() - 3)], &v, 4);
      }
      break;
    case 3:  // truncate
      b.resize(pick(b.size() + 1));
      break;
    case 4:  // insert random bytes
      b.insert(b.begin() + static_cast<long>(pick(b.size() + 1)), pick(16) + 1, static_cast<uint8_t>(rng()));
      break;
    case 5:  // erase a run
      if (!b.empty()) {
        size_t at = pick(b.size());
        b.erase(b.begin() + static_cast<long>(at),
                b.begin() + static_cast<long>(std::min(b.size(), at + pick(32) + 1)));
      }
      break;
    case 6:  // duplicate a run
      if (!b.empty()) {
        size_t at = pick(b.size());
        size_t n = std::min(b.size() - at, pick(64) + 1);
        Bytes run(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at + n));
        b.insert(b.begin() + static_cast<long>(pick(b.size() + 1)), run.begin(), run.end());
      }
      break;
    default:  // several small changes
      for (int i = 0; i < 4 && !b.empty(); ++i) b[pick(b.size())] = static_cast<uint8_t>(rng());
      break;
  }
}

}  // namespace

int main(int argc, char** argv) {
  double seconds = 10;
  double min_rate = 0;
  long max_runs = 0;
  std::filesystem::path seed_dir;
  std::vector<std::filesystem::path> replay;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a.rfind("--seconds=", 0) == 0) {
      seconds = std::stod(a.substr(10));
    } else if (a.rfind("--runs=", 0) == 0) {
      max_runs = std::stol(a.substr(7));
      seconds = 1e9;
    } else if (a.rfind("--min-rate=", 0) == 0) {
      min_rate = std::stod(a.substr(11));
    } else if (a.rfind("--seeds=", 0) == 0) {
      seed_dir = a.substr(8);
    } else {
      replay.push_back(a);
    }
  }
  if (!replay.empty()) {
    for (const auto& p : replay) {
      Bytes b = ReadFile(p);
      LLVMFuzzerTestOneInput(b.data(), b.size());
    }
    return 0;
  }

  // Seeds live in <seeds>/<target name>/; the target name is the executable's.
  std::vector<Bytes> corpus;
  std::string name = std::filesystem::path(argv[0]).filename().string();
  std::error_code ec;
  if (!seed_dir.empty()) {
    for (const auto& e : std::filesystem::directory_iterator(seed_dir / name, ec)) {
      if (e.is_regular_file()) corpus.push_back(ReadFile(e.path()));
    }
  }
  if (corpus.empty()) corpus.push_back({});

  std::mt19937 rng(12345);
  const std::clock_t cpu_start = std::clock();
  const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  long runs = 0;
  for (const Bytes& seed : corpus) {
    LLVMFuzzerTestOneInput(seed.data(), seed.size());
    ++runs;
  }
  while ((max_runs == 0 || runs < max_runs) && (runs % 256 != 0 || std::chrono::steady_clock::now() < until)) {
    Bytes b = corpus[std::uniform_int_distribution<size_t>(0, corpus.size() - 1)(rng)];
    int rounds = 1 + static_cast<int>(rng() % 4);
    for (int i = 0; i < rounds; ++i) Mutate(b, rng);
    LLVMFuzzerTestOneInput(b.data(), b.size());
    ++runs;
  }
  // Processor time, not wall time: the rate must not depend on what else the machine runs.
  const double cpu = static_cast<double>(std::clock() - cpu_start) / CLOCKS_PER_SEC;
  const double rate = cpu > 0 ? static_cast<double>(runs) / cpu : 0.0;
  std::printf("%s: %ld inputs, %zu seeds, no crash, %.0f inputs per processor second\n", name.c_str(), runs,
              corpus.size(), rate);
  if (rate < min_rate) {
    std::printf("%s: slower than %.0f inputs per processor second\n", name.c_str(), min_rate);
    return 1;
  }
  return 0;
}
