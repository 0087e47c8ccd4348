// One thread beside the main one, from its first task to the end of the run,
// kept awake between its tasks. A run consists of a few parallel steps of a few milliseconds each
// (reading a long port list, the names' dry run, writing the files); a
// thread started for each step, or one asleep between them, runs beside the
// main thread only after the system has woken its processor, which on some
// virtual machines takes longer than the step. So the helper starts on a
// processor of its own (a new thread otherwise starts on its parent's, where
// the system may leave the two taking turns for milliseconds) and waits for
// work busily, for a while, before it sleeps, as parallel runtimes' worker
// threads do.
#pragma once

#include <pthread.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace velmorn {

class HelperThread {
public:
    // The helper of this run while a Scope lives (the first of nested ones).
    // Its thread starts with its first task, where the process may run on a
    // second processor: a run that shares no work starts none, and a run
    // with a long port list starts it early, as it reads the list.
    class Scope {
    public:
        Scope();
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        bool owner_ = false;
    };

    // Starts `task` on the helper and returns; false, with nothing started,
    // where there is no helper or it has a task already. Each started task
    // is waited for with wait() before the next one is given. Only the
    // thread that made the Scope gives tasks.
    static bool start(std::function<void()> task);
    // Starts the helper's thread now, without a task, where work for it will
    // come within milliseconds: it is awake by then.
    static void warmUp();
    // Returns once the task given last has ended. Must not throw: the task
    // catches what it throws.
    static void wait();

    // How long the helper waits busily for its next task before it sleeps.
    static constexpr std::chrono::milliseconds kAwake{25};

private:
    HelperThread() = default;
    ~HelperThread();
    // Starts the thread on a processor other than this thread's; false where
    // the process may run on no other one, or no thread can be had.
    bool begin();
    // The thread runs, started now if it was not.
    bool running();
    void loop();

    enum State { Idle, Given, Running, Done, Stopping };
    std::atomic<int> state_{Idle};
    std::function<void()> task_;
    std::mutex lock_;
    std::condition_variable wake_;
    bool asleep_ = false;  // under lock_
    pthread_t thread_{};
    bool joinable_ = false;  // the thread runs
    bool failed_ = false;    // and could not be started

    static std::atomic<HelperThread*> current_;
};

// A task run beside this thread: on the run's helper where it is free, or
// else on a thread of its own.
class TaskBeside {
public:
    TaskBeside() = default;
    TaskBeside(const TaskBeside&) = delete;
    TaskBeside& operator=(const TaskBeside&) = delete;
    ~TaskBeside() { join(); }

    // False, with nothing started, where no thread can be had. The task must
    // not throw.
    bool start(std::function<void()> task);
    // Returns once the task has ended (at once where none runs).
    void join();

private:
    bool helped_ = false;
    std::thread thread_;
};

}  // namespace velmorn
