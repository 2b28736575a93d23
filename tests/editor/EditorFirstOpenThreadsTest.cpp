// The first open of an editor in a process decodes and scales the skin of its size and
// draws it: all of that happens on the calling thread. The program counts every thread
// started in it through its own pthread_create (std::thread included).
#include <dlfcn.h>
#include <pthread.h>

#include <atomic>
#include <filesystem>
#include <iterator>
#include <thread>

#include "EditorTestSupport.h"
#include "editor/SkinBitmapSet.h"

namespace {

std::atomic<int32_t> threadsStarted{0};

using CreateThread = int (*)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*);

// Threads of the process alive now.
int32_t liveThreads() {
    const std::filesystem::directory_iterator tasks("/proc/self/task");
    return static_cast<int32_t>(std::distance(begin(tasks), end(tasks)));
}

}  // namespace

// Stands in front of the C library's (or a sanitizer's) pthread_create and counts.
extern "C" int pthread_create(pthread_t* thread, const pthread_attr_t* attr, void* (*start)(void*), void* arg) {
    static const auto next = reinterpret_cast<CreateThread>(dlsym(RTLD_NEXT, "pthread_create"));
    threadsStarted.fetch_add(1);
    return next(thread, attr, start, arg);
}

namespace {

// The count sees a thread that has come and gone, so a build that waits for its
// helpers before it returns is seen too.
TEST(ThreadCount, SeesAThreadThatHasEnded) {
    const int32_t before = threadsStarted.load();
    std::thread([] {}).join();
    EXPECT_EQ(threadsStarted.load() - before, 1);
}

class FirstOpenThreads : public EditorFixture, public ::testing::WithParamInterface<int> {};

TEST_P(FirstOpenThreads, OpenAndFirstPaintStartNoThread) {
    const auto size = static_cast<uint8_t>(GetParam());
    make(size, false);
    ASSERT_FALSE(skinBitmapStats().built[size]) << "the size is built by this open";
    const int32_t startedBefore = threadsStarted.load();
    const int32_t liveBefore = liveThreads();
    ASSERT_TRUE(editor->open(fakeParent()));
    idle();
    EXPECT_EQ(threadsStarted.load() - startedBefore, 0) << "threads started by the open";
    EXPECT_EQ(liveThreads(), liveBefore);
    EXPECT_TRUE(skinBitmapStats().built[size]);
    EXPECT_EQ(skinBitmapStats().decoded, kSkinPictureCount);
}

INSTANTIATE_TEST_SUITE_P(EverySize, FirstOpenThreads, ::testing::Values(0, 1, 2, 3), SizeCaseName());

}  // namespace
