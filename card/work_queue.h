// Jobs run on a thread of their own while the caller goes on; at Finish the caller runs the jobs
// still waiting beside it: the load lists a folder and builds its items there while the next
// tables are read.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace sdmate {

class WorkQueue {
 public:
  // The thread is woken once `batch` jobs wait, or at Finish: fewer wake-ups, for a thread that
  // runs behind by at most that many jobs.
  explicit WorkQueue(std::size_t batch = 1) : batch_(batch == 0 ? 1 : batch) {}
  // Jobs not yet started are dropped; those running are waited for.
  ~WorkQueue();
  WorkQueue(const WorkQueue&) = delete;
  WorkQueue& operator=(const WorkQueue&) = delete;

  // Runs job once, in any order with the other jobs and maybe at the same time as one of them.
  // Where no thread can be had, it runs at once.
  void Post(std::function<void()> job);
  // Runs the jobs still waiting here and waits for those running; throws again what the first
  // posted of the jobs that failed threw.
  void Finish();

 private:
  struct Job {
    std::uint64_t number = 0;
    std::function<void()> run;
  };
  void Run();
  // Runs a job taken off the queue with the lock held; the lock is held again on return.
  void RunTaken(std::unique_lock<std::mutex>& lock);
  void Record(std::uint64_t number, std::exception_ptr failure);

  const std::size_t batch_;
  std::mutex mutex_;
  std::condition_variable wake_;  // a job came, or the thread is to stop
  std::condition_variable idle_;  // the last job ran
  std::deque<Job> jobs_;
  std::uint64_t posted_ = 0;
  int running_ = 0;  // jobs being run
  bool stopping_ = false;
  bool inline_ = false;  // no thread: jobs run on the caller's
  std::exception_ptr failure_;
  std::uint64_t failed_ = 0;  // the number of the job that threw failure_
  std::thread thread_;        // started with the first job
};

}  // namespace sdmate
