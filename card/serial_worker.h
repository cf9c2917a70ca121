// Jobs run one after another on a thread of their own while the caller goes on: the load builds
// a folder's items while the next directory is listed.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace sdmate {

class SerialWorker {
 public:
  // The worker is woken once `batch` jobs wait, or at Finish: fewer wake-ups, for a worker that
  // runs behind by at most that many jobs.
  explicit SerialWorker(std::size_t batch = 1) : batch_(batch == 0 ? 1 : batch) {}
  // Jobs not yet started are dropped; the one running is waited for.
  ~SerialWorker();
  SerialWorker(const SerialWorker&) = delete;
  SerialWorker& operator=(const SerialWorker&) = delete;

  // Runs job after every job posted before it. Where no thread can be had, it runs at once.
  void Post(std::function<void()> job);
  // Waits until every job posted has run; throws again what the first failed job threw.
  void Finish();

 private:
  void Run();
  void Record(std::exception_ptr failure);

  const std::size_t batch_;
  std::mutex mutex_;
  std::condition_variable wake_;  // a job came, or the worker is to stop
  std::condition_variable idle_;  // the last job ran
  std::deque<std::function<void()>> jobs_;
  bool running_ = false;  // a job is being run
  bool stopping_ = false;
  bool inline_ = false;  // no thread: jobs run on the caller's
  std::exception_ptr failure_;
  std::thread thread_;  // started with the first job
};

}  // namespace sdmate
