#include "card/serial_worker.h"

#include <system_error>
#include <utility>

namespace sdmate {

SerialWorker::~SerialWorker() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
    jobs_.clear();
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void SerialWorker::Record(std::exception_ptr failure) {
  if (!failure_) failure_ = std::move(failure);
}

void SerialWorker::Post(std::function<void()> job) {
  std::unique_lock lock(mutex_);
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
      Record(std::current_exception());
    }
    return;
  }
  jobs_.push_back(std::move(job));
  const bool wake = jobs_.size() >= batch_;
  lock.unlock();
  if (wake) wake_.notify_one();
}

void SerialWorker::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
    if (stopping_) return;
    std::function<void()> job = std::move(jobs_.front());
    jobs_.pop_front();
    running_ = true;
    lock.unlock();
    std::exception_ptr failure;
    try {
      job();
    } catch (...) {
      failure = std::current_exception();
    }
    job = nullptr;
    lock.lock();
    running_ = false;
    if (failure) Record(std::move(failure));
    if (jobs_.empty()) idle_.notify_all();
  }
}

void SerialWorker::Finish() {
  wake_.notify_one();
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [this] { return jobs_.empty() && !running_; });
  if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

}  // namespace sdmate
