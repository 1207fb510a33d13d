// SPDX-License-Identifier: GPL-3.0-or-later
// Every failure of the mixer is an EMixerError carrying one of the fixed English
// messages below; callers compare nothing but catch and drop them.
#pragma once

#include <stdexcept>
#include <string>

class EMixerError : public std::runtime_error {
 public:
  explicit EMixerError(const std::string& message, std::string cause = {})
      : std::runtime_error(message), cause_(std::move(cause)) {}
  // The inner failure behind a summary message, such as why initialisation failed.
  const std::string& cause() const { return cause_; }

 private:
  std::string cause_;
};

namespace mixer_msg {
inline constexpr const char* kInitFailed = "Initialization failed (MixerInit)";
inline constexpr const char* kAlreadyInitialized = "Session already initialized";
inline constexpr const char* kNoDevices = "No wave output devices available";
inline constexpr const char* kAlreadyAllocated = "Resource is already allocated to a process";
inline constexpr const char* kOpenDevice = "Failed to open waveform output device #";
inline constexpr const char* kNotCompatible = " is not compatible with the realtime mixer";
// The apostrophe is the single byte 0xB4, as the message has always carried it.
inline constexpr const char* kCantPlayFormat = "The waveform device can\xB4t play this format";
inline constexpr const char* kOpenFile = "Failed to open wave file ";
inline constexpr const char* kNotWave = "This is not a WAVE file";
inline constexpr const char* kCorrupted = "WAVE file is corrupted";
inline constexpr const char* kReadFormat = "Failed to read format chunk";
inline constexpr const char* kNotPcm = "The file is not a PCM file";
inline constexpr const char* kNoDataChunk = "WAVE file has no data chunk";
inline constexpr const char* kNoData = "The data chunk has no data";
inline constexpr const char* kReadData = "Failed to read data chunk";
inline constexpr const char* kFormatNotSupported = "File format not supported";
inline constexpr const char* kConvert = "Failed to convert wave format";
inline constexpr const char* kOutOfMemory =
    "Unable to allocate memory for waveform data.  Try making more memory available by closing other applications.";
inline constexpr const char* kBadPointer = "The given pointer was not valid";
inline constexpr const char* kNilParams = "nil parameters pointer passed to MixerPlay";
inline constexpr const char* kNilWave = "nil wave pointer passed to MixerPlay!";
inline constexpr const char* kNotActive = "Wave device not allocated, call MixerActivate(hMixSession,TRUE)";
inline constexpr const char* kNoChannel = "You must open a channel before you can play a wave";
inline constexpr const char* kChannelClosed = "The specified channel was not open";
inline constexpr const char* kNoMemory = "Not enough memory";
inline constexpr const char* kWriteBlock = "Failed to write block to device";
}  // namespace mixer_msg
