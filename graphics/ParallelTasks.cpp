#include "graphics/ParallelTasks.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

void runParallelTasks(int32_t count, int32_t maxThreads, const std::function<void(int32_t)>& task)
{
    std::atomic<int32_t> next{0};
    std::mutex failureLock;
    std::exception_ptr failure;
    auto work = [&] {
        try
        {
            for (int32_t i; (i = next.fetch_add(1, std::memory_order_relaxed)) < count;)
                task(i);
        }
        catch (...)
        {
            std::lock_guard<std::mutex> hold(failureLock);
            if (!failure)
                failure = std::current_exception();
            next.store(count, std::memory_order_relaxed);
        }
    };
    const int64_t processors = std::max(1u, std::thread::hardware_concurrency());
    const int64_t threads = std::min({processors, static_cast<int64_t>(maxThreads), static_cast<int64_t>(count)});
    std::vector<std::thread> helpers;
    for (int64_t t = 1; t < threads; ++t)
    {
        try
        {
            helpers.emplace_back(work);
        }
        catch (const std::system_error&)
        {
            break; // no more threads: the others do the rest
        }
    }
    work();
    for (std::thread& helper : helpers)
        helper.join();
    if (failure)
        std::rethrow_exception(failure);
}
