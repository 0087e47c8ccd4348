#include "support/helper_thread.h"

#include <sched.h>

#include <system_error>
#include <thread>

#include "support/heap_pages.h"

namespace velmorn {

namespace {

// A short pause in a busy wait, so that the waiting processor uses less.
inline void pause()
{
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}

}  // namespace

std::atomic<HelperThread*> HelperThread::current_{nullptr};

HelperThread::Scope::Scope()
{
    HelperThread* none = nullptr;
    auto* helper = new HelperThread();
    owner_ = current_.compare_exchange_strong(none, helper);
    if (!owner_) delete helper;
}

HelperThread::Scope::~Scope()
{
    if (owner_) delete current_.exchange(nullptr);
}

bool HelperThread::begin()
{
    cpu_set_t others;
    CPU_ZERO(&others);
    const int here = sched_getcpu();
    if (sched_getaffinity(0, sizeof others, &others) != 0 || here < 0 || here >= CPU_SETSIZE) return false;
    CPU_CLR(here, &others);
    if (CPU_COUNT(&others) == 0) return false;
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0) return false;
    const bool started = pthread_attr_setaffinity_np(&attributes, sizeof others, &others) == 0 &&
                         pthread_create(&thread_, &attributes, [](void* self) -> void* {
                             static_cast<HelperThread*>(self)->loop();
                             return nullptr;
                         }, this) == 0;
    pthread_attr_destroy(&attributes);
    joinable_ = started;
    return started;
}

HelperThread::~HelperThread()
{
    if (!joinable_) return;
    for (int state = state_.load(); state == Given || state == Running; state = state_.load()) pause();
    state_.store(Stopping, std::memory_order_release);
    {
        std::lock_guard<std::mutex> hold(lock_);
    }
    wake_.notify_one();
    pthread_join(thread_, nullptr);
}

void HelperThread::loop()
{
    bool heapPrepared = false, ranTask = false;
    for (;;) {
        auto given = [this] {
            const int state = state_.load(std::memory_order_acquire);
            return state == Given || state == Stopping;
        };
        // The thread's heap is prepared while it waits for its first task
        // (started ahead of its work), or else right after that task.
        if (!heapPrepared && (ranTask || !given())) {
            threadHeapInLargePages();
            heapPrepared = true;
        }
        const auto sleepAt = std::chrono::steady_clock::now() + kAwake;
        for (unsigned spins = 0; !given(); ++spins) {
            pause();
            if (spins % 1024 == 0 && std::chrono::steady_clock::now() >= sleepAt) {
                std::unique_lock<std::mutex> hold(lock_);
                asleep_ = true;
                wake_.wait(hold, given);
                asleep_ = false;
                break;
            }
        }
        if (state_.load(std::memory_order_acquire) == Stopping) return;
        state_.store(Running, std::memory_order_relaxed);
        task_();
        task_ = nullptr;
        ranTask = true;
        state_.store(Done, std::memory_order_release);
    }
}

bool HelperThread::running()
{
    if (!joinable_ && !failed_ && !begin()) failed_ = true;  // every step runs as it would without a helper
    return joinable_;
}

void HelperThread::warmUp()
{
    if (HelperThread* helper = current_.load()) helper->running();
}

bool HelperThread::start(std::function<void()> task)
{
    HelperThread* helper = current_.load();
    if (!helper || helper->state_.load(std::memory_order_acquire) != Idle || !helper->running()) return false;
    helper->task_ = std::move(task);
    helper->state_.store(Given, std::memory_order_release);
    bool asleep;
    {
        std::lock_guard<std::mutex> hold(helper->lock_);
        asleep = helper->asleep_;
    }
    if (asleep) helper->wake_.notify_one();
    return true;
}

void HelperThread::wait()
{
    HelperThread* helper = current_.load();
    if (!helper) return;
    for (unsigned spins = 0;; ++spins) {
        const int state = helper->state_.load(std::memory_order_acquire);
        if (state == Idle) return;  // nothing was given
        if (state == Done) break;
        if (spins < 4096) pause();
        else std::this_thread::yield();
    }
    helper->state_.store(Idle, std::memory_order_release);
}

bool TaskBeside::start(std::function<void()> task)
{
    helped_ = HelperThread::start(task);
    if (helped_) return true;
    try {
        thread_ = std::thread(std::move(task));
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void TaskBeside::join()
{
    if (helped_) HelperThread::wait();
    helped_ = false;
    if (thread_.joinable()) thread_.join();
}

}  // namespace velmorn
