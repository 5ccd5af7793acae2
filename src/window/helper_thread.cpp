#include "window/helper_thread.h"

HelperThread::HelperThread(std::function<void()> work) : work_(std::move(work)) {
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  int here = sched_getcpu();
  if (here >= 0 && sched_getaffinity(0, sizeof allowed_, &allowed_) == 0 &&
      CPU_COUNT(&allowed_) > 1) {
    cpu_set_t others = allowed_;
    CPU_CLR(here, &others);
    kept_off_ = pthread_attr_setaffinity_np(&attr, sizeof others, &others) == 0;
  }
  joinable_ = pthread_create(&thread_, &attr, &HelperThread::Run, this) == 0;
  pthread_attr_destroy(&attr);
  if (!joinable_ && kept_off_) {
    kept_off_ = false;
    joinable_ = pthread_create(&thread_, nullptr, &HelperThread::Run, this) == 0;
  }
  // Without a thread of its own the work is done here and now.
  if (!joinable_) work_();
}

HelperThread::~HelperThread() {
  Join();
}

void HelperThread::Join() {
  if (joinable_) pthread_join(thread_, nullptr);
  joinable_ = false;
}

void* HelperThread::Run(void* self) {
  auto* helper = static_cast<HelperThread*>(self);
  // Once started, the thread may move anywhere again, and so may the threads
  // that its work starts (Qt's D-Bus thread, Qt's painting helpers).
  if (helper->kept_off_) {
    pthread_setaffinity_np(pthread_self(), sizeof helper->allowed_, &helper->allowed_);
  }
  helper->work_();
  return nullptr;
}
