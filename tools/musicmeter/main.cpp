// musicmeter: prints the listening measurements of the game's tunes as a table.
#include <cstdio>

#include "assets.h"
#include "meter.h"

int main() {
  std::vector<std::vector<uint8_t>> effects;
  for (assetgen::NamedFile& f : assetgen::MakeSounds()) effects.push_back(std::move(f.bytes));
  const musicmeter::Report r = musicmeter::Measure(assetgen::TuneSpecs(), effects);
  std::fputs(musicmeter::FormatReport(r).c_str(), stdout);
  return 0;
}
