// Runs a list of independent tasks on two threads: in a given order, the
// costliest first, or else this one from the front of the list and a second
// one from the back, until they meet (a tree's top-level file is its last and
// often its largest). What the tasks write must be theirs alone; the caller
// reports their outcomes afterwards, in order.
#pragma once

#include <cstddef>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "support/helper_thread.h"

namespace velmorn {

// Calls task(i, worker) once for every i in 0 .. count-1, worker 0 on this
// thread and worker 1 on the second. With `parallel` false, with fewer than
// two tasks, or where no thread can be started, all run here, in order, as
// worker 0. `startOrder`, when not empty, is the order in which the two
// threads start the tasks, each taking the next one that is left (the
// costliest first); otherwise they take them from both ends. An exception
// that a task throws is thrown again here, after both threads have stopped.
// With two threads, each calls `starts(worker)` before its first task and
// `ends(worker)` once it finds no task left (or a task threw), on its own
// thread: a thread that ends first may help the other with its last task.
// With one, neither is called.
template <class Task, class Starts, class Ends>
void runOnTwoWorkers(size_t count, bool parallel, const std::vector<size_t>& startOrder, Task&& task, Starts&& starts,
                     Ends&& ends)
{
    if (!parallel || count < 2) {
        for (size_t i = 0; i < count; ++i) task(i, 0);
        return;
    }
    std::mutex lock;
    size_t front = 0, back = count;  // the tasks not taken yet: [front, back) of the list, or of startOrder
    std::exception_ptr failures[2];
    auto work = [&](int worker) {
        starts(worker);
        for (;;) {
            size_t i;
            {
                std::lock_guard<std::mutex> hold(lock);
                if (front == back) break;
                if (!startOrder.empty()) i = startOrder[front++];
                else i = worker == 0 ? front++ : --back;
            }
            try {
                task(i, worker);
            } catch (...) {
                failures[worker] = std::current_exception();
                std::lock_guard<std::mutex> hold(lock);
                back = front;  // nothing more is started
                break;
            }
        }
        ends(worker);
    };
    TaskBeside second;
    second.start([&work] { work(1); });  // where no thread can be had, this one takes them all
    work(0);
    second.join();
    for (const std::exception_ptr& failure : failures)
        if (failure) std::rethrow_exception(failure);
}

template <class Task>
void runOnTwoWorkers(size_t count, bool parallel, const std::vector<size_t>& startOrder, Task&& task)
{
    runOnTwoWorkers(count, parallel, startOrder, std::forward<Task>(task), [](int) {}, [](int) {});
}

template <class Task>
void runOnTwoWorkers(size_t count, bool parallel, Task&& task)
{
    runOnTwoWorkers(count, parallel, {}, std::forward<Task>(task));
}

// True where a second thread can run beside this one.
inline bool twoCores()
{
    static const bool two = std::thread::hardware_concurrency() >= 2;  // read from the system once
    return two;
}

}  // namespace velmorn
