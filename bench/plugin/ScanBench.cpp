// What a host pays to create a plug-in in a fresh process, as on every plug-in scan
// and every project load: each iteration starts a child process that loads the module
// (dlopen), calls its entry for a first instance and then for a second one beside it,
// and reports both times. Quilm.so is measured beside any other Linux VST 2.4 plug-in
// named on the command line:
//   quilm_scan_bench [benchmark options] [OTHER_PLUGIN.so ...]
// Manual time is the first instance (dlopen to constructed); the counter
// second_instance_ms is a further instance made while the first one lives.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "plugin/vst/VstOpcodes.h"
#include "tools/validate/PluginModule.h"

extern char** environ;

namespace {

constexpr const char* kChildOption = "--construct-child";

using Clock = std::chrono::steady_clock;

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

void closeEffect(AEffect* effect) {
    if (effect != nullptr) effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
}

// The child: times dlopen + first instance, then a second instance, prints both in seconds.
int runChild(const char* path) {
    PluginModule module;
    std::string error;
    const auto t0 = Clock::now();
    if (!module.load(path, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 2;
    }
    AEffect* first = module.create();
    const auto t1 = Clock::now();
    AEffect* second = module.create();
    const auto t2 = Clock::now();
    if (first == nullptr || second == nullptr) return 2;
    std::printf("%.9f %.9f\n", seconds(t1 - t0), seconds(t2 - t1));
    std::fflush(stdout);
    closeEffect(second);
    closeEffect(first);
    return 0;
}

struct ChildTimes {
    bool ok = false;
    double first = 0.0, second = 0.0;  // seconds
};

// Starts this program as a child for one plug-in and reads its two figures.
ChildTimes timeInChild(const std::string& plugin) {
    ChildTimes times;
    int out[2];
    if (pipe(out) != 0) return times;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    // What a plug-in prints (some complain about folders they cannot make) is not wanted here.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char self[] = "/proc/self/exe";
    std::string option = kChildOption;
    std::string path = plugin;
    char* argv[] = {self, option.data(), path.data(), nullptr};
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, self, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::string text;
    char buffer[256];
    for (ssize_t n; spawned == 0 && (n = read(out[0], buffer, sizeof(buffer))) > 0;) text.append(buffer, n);
    close(out[0]);
    int status = 0;
    if (spawned == 0) waitpid(pid, &status, 0);
    times.ok = spawned == 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0 &&
               std::sscanf(text.c_str(), "%lf %lf", &times.first, &times.second) == 2;
    return times;
}

void firstInstance(benchmark::State& state, const std::string& plugin) {
    double secondTotal = 0.0;
    for (auto _ : state) {
        const ChildTimes times = timeInChild(plugin);
        if (!times.ok) {
            state.SkipWithError(("cannot create an instance of " + plugin).c_str());
            return;
        }
        state.SetIterationTime(times.first);
        secondTotal += times.second;
    }
    state.counters["second_instance_ms"] = 1000.0 * secondTotal / static_cast<double>(state.iterations());
}

std::string baseName(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], kChildOption) == 0) return runChild(argv[2]);
    benchmark::Initialize(&argc, argv);
    std::vector<std::string> plugins{QUILM_MODULE_PATH};
    for (int i = 1; i < argc; ++i) plugins.emplace_back(argv[i]);
    for (const std::string& plugin : plugins) {
        benchmark::RegisterBenchmark(("FirstInstanceInFreshProcess/" + baseName(plugin)).c_str(), firstInstance,
                                     plugin)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->MinTime(1.0);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
