// The load's queue: every job run once, beside the caller and by it at Finish, failures handed
// back once.
#include "card/work_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

namespace sdmate {
namespace {

TEST(WorkQueueTest, EveryJobRunsOnceAndFinishWaitsForAllOfThem) {
  WorkQueue queue(8);
  std::vector<std::atomic<int>> ran(400);
  for (std::size_t round = 0; round < 2; ++round) {
    for (std::size_t i = 0; i < 200; ++i) {
      queue.Post([&ran, i, round] { ++ran[round * 200 + i]; });
    }
    queue.Finish();
    for (std::size_t i = 0; i < 200 * (round + 1); ++i) ASSERT_EQ(ran[i].load(), 1) << i;
  }
}

// A job that waits for a later one does not hold the queue up: the caller runs the later one.
TEST(WorkQueueTest, TheCallerRunsTheJobsStillWaitingAtFinish) {
  WorkQueue queue;
  std::mutex mutex;
  std::condition_variable changed;
  bool firstStarted = false;
  bool secondRan = false;
  bool firstSawIt = false;
  const std::thread::id caller = std::this_thread::get_id();
  std::thread::id secondOn;
  queue.Post([&] {
    std::unique_lock lock(mutex);
    firstStarted = true;
    changed.notify_all();
    firstSawIt = changed.wait_for(lock, std::chrono::seconds(20), [&] { return secondRan; });
  });
  {
    // The thread is busy with the first job before the second is posted.
    std::unique_lock lock(mutex);
    ASSERT_TRUE(changed.wait_for(lock, std::chrono::seconds(20), [&] { return firstStarted; }));
  }
  queue.Post([&] {
    const std::lock_guard lock(mutex);
    secondRan = true;
    secondOn = std::this_thread::get_id();
    changed.notify_all();
  });
  queue.Finish();
  EXPECT_TRUE(firstSawIt);
  EXPECT_EQ(secondOn, caller);
}

TEST(WorkQueueTest, TheFirstPostedFailureIsThrownByFinishOnceAndLaterJobsStillRun) {
  WorkQueue queue;
  std::atomic<int> after{0};
  queue.Post([] { throw std::runtime_error("first"); });
  queue.Post([] { throw std::logic_error("second"); });
  queue.Post([&after] { ++after; });
  try {
    queue.Finish();
    ADD_FAILURE() << "the failure was not handed back";
  } catch (const std::runtime_error& failure) {
    EXPECT_STREQ(failure.what(), "first");
  }
  EXPECT_EQ(after.load(), 1);
  queue.Finish();  // handed back once
  queue.Post([&after] { ++after; });
  queue.Finish();
  EXPECT_EQ(after.load(), 2);
}

TEST(WorkQueueTest, AQueueLeftWithJobsStopsWithoutRunningThem) {
  std::atomic<int> ran{0};
  {
    WorkQueue queue;
    for (int i = 0; i < 1000; ++i) queue.Post([&ran] { ++ran; });
  }
  EXPECT_LE(ran.load(), 1000);
}

}  // namespace
}  // namespace sdmate
