#include "ui/Threads.h"

#include <atomic>
#include <list>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace ui {

namespace {

struct TRunning {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> done = std::make_shared<std::atomic<bool>>(false);
};

// Never destroyed: the list must outlast every thread in it, and the end of the process with it.
struct TThreads {
    std::mutex lock;
    std::list<TRunning> running;
    std::atomic<bool> ending{false};
};

TThreads &Threads() {
    static TThreads &threads = *new TThreads;
    return threads;
}

} // namespace

HANDLE EndingEvent() {
    static const HANDLE ending = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    return ending;
}

bool Ending() { return Threads().ending.load(); }

bool StartThread(std::function<void()> run) {
    TThreads &threads = Threads();
    std::lock_guard<std::mutex> hold(threads.lock);
    if (threads.ending)
        return false;
    // The threads that have finished are waited for now, so the list stays short in a long run.
    for (auto it = threads.running.begin(); it != threads.running.end();) {
        if (*it->done) {
            it->thread.join();
            it = threads.running.erase(it);
        } else {
            ++it;
        }
    }
    TRunning &entry = threads.running.emplace_back();
    try {
        entry.thread = std::thread([run = std::move(run), done = entry.done] {
            try {
                run();
            } catch (...) {
                // Out of memory on the thread: its work stays undone, as when no thread could be had.
            }
            *done = true;
        });
    } catch (const std::system_error &) {
        threads.running.pop_back();
        return false;
    }
    return true;
}

void JoinThreads() {
    TThreads &threads = Threads();
    std::list<TRunning> running;
    {
        std::lock_guard<std::mutex> hold(threads.lock);
        threads.ending = true;
        running.swap(threads.running);
    }
    if (HANDLE ending = EndingEvent())
        SetEvent(ending);
    for (TRunning &entry : running)
        entry.thread.join();
}

} // namespace ui
