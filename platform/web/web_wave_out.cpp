// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/web/web_wave_out.h"

#include <emscripten.h>

// The page's side lives in pomurie.js (PomurieWeb.audio*).
EM_JS(int, web_audio_open, (int rate), { return PomurieWeb.audioOpen(rate) ? 1 : 0; });
EM_JS(void, web_audio_close, (), { PomurieWeb.audioClose(); });
EM_JS(void, web_audio_write, (const uint8_t* data, int n, int id),
      { PomurieWeb.audioWrite(HEAPU8.slice(data, data + n), id); });
EM_JS(void, web_audio_reset, (), { PomurieWeb.audioReset(); });
EM_JS(int, web_audio_take_done, (), { return PomurieWeb.audioTakeDone(); });
EM_JS(double, web_audio_played, (), { return PomurieWeb.audioPlayed(); });

bool WebWaveOut::Open(int samples_per_second, int /*device*/, std::string* error) {
  if (open_) Close();
  if (!web_audio_open(samples_per_second)) {
    if (error) *error = "this browser has no Web Audio";
    return false;
  }
  open_ = true;
  return true;
}

void WebWaveOut::Close() {
  if (!open_) return;
  Reset();
  web_audio_close();
  open_ = false;
}

void WebWaveOut::Write(std::vector<uint8_t> block, int id) {
  if (!open_) {
    if (done_) done_(id);
    return;
  }
  web_audio_write(block.data(), static_cast<int>(block.size()), id);
}

void WebWaveOut::Reset() {
  if (!open_) return;
  web_audio_reset();  // every dropped block is reported at once
  ReportDone();
}

int64_t WebWaveOut::PlayedSamples() const { return open_ ? static_cast<int64_t>(web_audio_played()) : 0; }

void WebWaveOut::ReportDone() {
  for (int id; (id = web_audio_take_done()) >= 0;) {
    if (done_) done_(id);
  }
}
