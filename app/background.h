#pragma once

#include <atomic>
#include <functional>
#include <list>
#include <memory>
#include <thread>
#include <utility>

// Runs a task on the window's thread, after what waits there already.
using PostToWindow = std::function<void(std::function<void()>)>;

// Work the window's thread must not wait for (a look at a disk beyond the
// program folder): it runs on a thread of its own, and what it found comes
// back to the window's thread. What comes back once the owner has gone is
// dropped; the owner's end waits for the work under way.
class Background {
 public:
  explicit Background(PostToWindow post) : post_(std::move(post)) {}
  ~Background() { *alive_ = false; }
  Background(const Background&) = delete;
  Background& operator=(const Background&) = delete;

  template <class T>
  void run(std::function<T()> work, std::function<void(T)> then) {
    std::erase_if(tasks_, [](const Task& task) { return task.finished->load(); });
    auto finished = std::make_shared<std::atomic<bool>>(false);
    tasks_.push_back(
        {finished, std::jthread([post = post_, alive = alive_, finished, work = std::move(work),
                                 then = std::move(then)]() mutable {
           T found = work();
           post([alive, then = std::move(then), found = std::move(found)]() mutable {
             if (*alive) then(std::move(found));
           });
           *finished = true;
         })});
  }

 private:
  struct Task {
    std::shared_ptr<std::atomic<bool>> finished;
    std::jthread thread;
  };
  PostToWindow post_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  std::list<Task> tasks_;
};
