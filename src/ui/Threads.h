#pragma once
#include <windows.h>

#include <functional>

namespace ui {

// The program's own threads. Each one started here is waited for when the program ends (JoinThreads),
// while everything it may touch still stands: no thread of the program runs on while the runtime
// library's objects are destroyed and the process goes. Once the end has begun, no thread starts.

// Runs `run` on a thread of its own; false, and nothing runs, when no thread can be had or the program
// is ending.
bool StartThread(std::function<void()> run);
// True once the program's end has begun: a thread stops at its next step.
bool Ending();
// Set once the program's end has begun, for a thread that waits for something else meanwhile.
HANDLE EndingEvent();
// Begins the end and waits for every thread started here to finish.
void JoinThreads();

} // namespace ui
