#include "card/work_queue.h"

#include <system_error>
#include <utility>

namespace sdmate {

WorkQueue::~WorkQueue() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
    jobs_.clear();
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void WorkQueue::Record(std::uint64_t number, std::exception_ptr failure) {
  if (!failure_ || number < failed_) {
    failure_ = std::move(failure);
    failed_ = number;
  }
}

void WorkQueue::Post(std::function<void()> job) {
  std::unique_lock lock(mutex_);
  const std::uint64_t number = ++posted_;
  if (!inline_ && !thread_.joinable()) {
    try {
      thread_ = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
      inline_ = true;
    }
  }
  if (inline_) {
    lock.unlock();
    try {
      job();
    } catch (...) {
      const std::lock_guard relock(mutex_);
      Record(number, std::current_exception());
    }
    return;
  }
  jobs_.push_back({number, std::move(job)});
  const bool wake = jobs_.size() >= batch_;
  lock.unlock();
  if (wake) wake_.notify_one();
}

void WorkQueue::RunTaken(std::unique_lock<std::mutex>& lock) {
  Job job = std::move(jobs_.front());
  jobs_.pop_front();
  ++running_;
  lock.unlock();
  std::exception_ptr failure;
  try {
    job.run();
  } catch (...) {
    failure = std::current_exception();
  }
  job.run = nullptr;
  lock.lock();
  --running_;
  if (failure) Record(job.number, std::move(failure));
  if (jobs_.empty() && running_ == 0) idle_.notify_all();
}

void WorkQueue::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
    if (stopping_) return;
    RunTaken(lock);
  }
}

void WorkQueue::Finish() {
  wake_.notify_one();
  std::unique_lock lock(mutex_);
  while (!jobs_.empty()) RunTaken(lock);
  idle_.wait(lock, [this] { return jobs_.empty() && running_ == 0; });
  if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

}  // namespace sdmate
