// SPDX-License-Identifier: GPL-3.0-or-later
// Long sessions run on a thread with a small stack: a script that grew the stack with
// every menu or turn would overflow it long before the session ends.
#pragma once

#include <pthread.h>

#include <algorithm>
#include <cstdint>
#include <functional>

#if defined(__SANITIZE_ADDRESS__)
inline constexpr size_t kSmallStackBytes = 1024 * 1024;  // sanitizer frames are several times larger
#else
inline constexpr size_t kSmallStackBytes = 256 * 1024;
#endif

// Runs `body` to its end on such a thread; false when the thread could not start.
inline bool RunOnSmallStack(std::function<void()> body) {
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_t thread;
  const bool started =
      pthread_attr_setstacksize(&attr, kSmallStackBytes) == 0 && pthread_create(
                                                                     &thread, &attr,
                                                                     [](void* arg) -> void* {
                                                                       (*static_cast<std::function<void()>*>(arg))();
                                                                       return nullptr;
                                                                     },
                                                                     &body) == 0;
  if (started) pthread_join(thread, nullptr);
  pthread_attr_destroy(&attr);
  return started;
}

// The range of stack addresses seen at the marks: how far the stack moved.
struct StackSpan {
  uintptr_t lowest = UINTPTR_MAX;
  uintptr_t highest = 0;

  void Mark() {
    volatile char marker = 0;
    const auto here = reinterpret_cast<uintptr_t>(&marker);
    lowest = std::min(lowest, here);
    highest = std::max(highest, here);
  }
  uintptr_t Spread() const { return highest - lowest; }
};
