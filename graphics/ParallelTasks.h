#pragma once
// Runs a number of independent tasks on the calling thread and a few helper threads,
// for picture work that would otherwise keep the UI thread busy for long (decoding
// and scaling the skin). Called on the UI thread; the tasks run on any thread.

#include <cstdint>
#include <functional>

// Runs task(0) .. task(count - 1), each once, on the calling thread and up to
// maxThreads - 1 helpers (fewer on a machine with fewer processors, none when no
// thread can be started). Returns when every task has run and every helper has ended.
// A task's exception stops the tasks not yet started and is rethrown here.
void runParallelTasks(int32_t count, int32_t maxThreads, const std::function<void(int32_t)>& task);
