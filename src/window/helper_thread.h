// A thread for start-up work beside the window's own.
#pragma once

#include <pthread.h>
#include <sched.h>

#include <functional>

// Runs `work` on a thread of its own, started on another processor than the
// caller's where there is one. On Linux a new thread often starts on its
// creator's processor and runs first, holding the window up for milliseconds
// while another processor idles.
class HelperThread {
 public:
  explicit HelperThread(std::function<void()> work);
  HelperThread(const HelperThread&) = delete;
  HelperThread& operator=(const HelperThread&) = delete;
  // Waits for the work to end.
  ~HelperThread();

  void Join();

 private:
  static void* Run(void* self);

  std::function<void()> work_;
  cpu_set_t allowed_;  // the processors the program may run on
  bool kept_off_ = false;
  pthread_t thread_{};
  bool joinable_ = false;
};
