#include "platform/Shell.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "TempFolder.h"

namespace {

// Records what ShellExecuteExA would start, and answers `succeed`.
struct RecordingLauncher {
  std::vector<std::string> launches;  // "program argument"
  bool succeed = true;

  static bool launch(void* context, const char* program, const char* argument) {
    auto* self = static_cast<RecordingLauncher*>(context);
    self->launches.push_back(std::string(program) + " " + argument);
    return self->succeed;
  }
};

TEST(ShellTest, StartsXdgOpenWithOneArgument) {
  // verb, file, parameters, and the argument xdg-open is started with (null: nothing is, and the call fails)
  const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
      {nullptr, "https://corvane.example/a b?x=1&y=$(id);", nullptr, "https://corvane.example/a b?x=1&y=$(id);"},
      {"open", "C:\\Windows\\explorer.exe", "/home/u\\Sounds\\New (1)\\", "/home/u/Sounds/New (1)/"},
      {"OPEN", "c:\\windows\\EXPLORER.EXE", "/tmp/x", "/tmp/x"},
      {"", "D:\\sounds\\a.wav", nullptr, "D:/sounds/a.wav"},
      {"open", "C:\\Windows\\explorer.exe", "-rf", "./-rf"},  // never an option
      {nullptr, "https://corvane.example/explorer.exe", "/etc", "https://corvane.example/explorer.exe"},
      {"print", "https://corvane.example", nullptr, nullptr},
      {nullptr, nullptr, nullptr, nullptr},
      {"open", "C:\\Windows\\explorer.exe", nullptr, nullptr},
      {"open", "C:\\Windows\\explorer.exe", "", nullptr}};
  for (const auto& [verb, file, parameters, argument] : cases) {
    SCOPED_TRACE(file != nullptr ? file : "no file");
    RecordingLauncher recorder;
    setShellLauncher(&RecordingLauncher::launch, &recorder);
    SHELLEXECUTEINFOA info = {112, 0, nullptr, verb, file, parameters, SW_SHOW, nullptr};
    EXPECT_EQ(ShellExecuteExA(&info), argument != nullptr);
    EXPECT_EQ(reinterpret_cast<intptr_t>(info.hInstApp) > 32, argument != nullptr);
    EXPECT_EQ(recorder.launches, argument ? std::vector<std::string>{std::string("xdg-open ") + argument}
                                          : std::vector<std::string>{});
    recorder.succeed = false;  // a launch that fails is reported
    EXPECT_EQ(ShellExecuteExA(&info), FALSE);
    EXPECT_EQ(reinterpret_cast<intptr_t>(info.hInstApp), argument != nullptr ? SE_ERR_FNF : SE_ERR_NOASSOC);
    setShellLauncher(nullptr, nullptr);
  }
  EXPECT_EQ(ShellExecuteExA(nullptr), FALSE);
}

// Waits up to about 10 s for a file that a started program writes.
bool waitForFile(const std::string& path) {
  for (int i = 0; i < 1000 && !std::filesystem::exists(path); ++i) usleep(10000);
  return std::filesystem::exists(path);
}

// The processes whose parent is this one, zombies included.
std::vector<pid_t> childrenOfThisProcess() {
  std::vector<pid_t> children;
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    std::ifstream stat(entry.path() / "stat");
    std::string line;
    if (!std::getline(stat, line) || line.rfind(')') == std::string::npos) continue;
    std::istringstream rest(line.substr(line.rfind(')') + 1));  // the name may hold anything
    char state = 0;
    pid_t parent = 0;
    if (rest >> state >> parent && parent == getpid()) children.push_back(std::stoi(entry.path().filename()));
  }
  return children;
}

// The line of /proc/PID/status (or thread-self) that starts with `key`.
std::string statusLine(const std::string& status, const std::string& key) {
  std::ifstream in(status);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(key, 0) == 0) return line;
  }
  return "";
}

// The real launcher hands the argument over untouched (no shell sees it), gives the
// program no descriptor of the process but 0, 1 and 2 and this thread's signal mask,
// does not wait for it, and leaves no child behind.
TEST(LaunchTest, ArgumentDescriptorsAndChildren) {
  TempFolder folder;
  // Descriptors a host may hold without close-on-exec: a pipe it waits on, a file (also
  // at a high number), a socket.
  int pipeEnds[2];
  ASSERT_EQ(pipe(pipeEnds), 0);
  const int file = open((folder / "device").c_str(), O_CREAT | O_RDWR, 0600);
  const int socketEnd = socket(AF_UNIX, SOCK_STREAM, 0);
  const int high = fcntl(file, F_DUPFD, 200);
  ASSERT_TRUE(file >= 0 && socketEnd >= 0 && high >= 200);
  std::set<std::string> hostTargets;
  for (int fd : {pipeEnds[0], pipeEnds[1], file, socketEnd}) {
    hostTargets.insert(std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd)).string());
  }
  // The probe writes where its descriptors lead, then waits for the test's go (10 s at
  // most), which it can only see when the launch did not wait for it.
  const std::string probe = folder / "probe";
  std::ofstream(probe) << "#!/bin/sh\n"
                          "for fd in /proc/$$/fd/*; do echo \"${fd##*/} $(readlink \"$fd\")\"; done > \"$1.part\"\n"
                          "mv \"$1.part\" \"$1\"\n"
                          "i=0; while [ ! -e \"$1.go\" ] && [ $i -lt 200 ]; do sleep 0.05; i=$((i+1)); done\n"
                          "[ -e \"$1.go\" ] && : > \"$1.done\"\n";
  // awk keeps the signal mask it was started with (a shell clears it): it writes it.
  const std::string maskProbe = folder / "mask-probe";
  std::ofstream(maskProbe) << "#!/usr/bin/awk -f\n"
                              "BEGIN { part = ARGV[1] \".part\"\n"
                              "  while ((getline line < \"/proc/self/status\") > 0) if (line ~ /^SigBlk/) print line > part\n"
                              "  close(part); system(\"mv '\" part \"' '\" ARGV[1] \"'\") }\n";
  for (const std::string& script : {probe, maskProbe}) ASSERT_EQ(chmod(script.c_str(), 0700), 0);

  const struct {
    const char* program;
    std::string argument;  // also the file the program makes
    bool waits;            // for the go
  } cases[] = {
      {"touch", folder / "a b;$(echo x)`id`'\"*", false},
      {probe.c_str(), folder / "fds", true},
      {probe.c_str(), folder / "fds again", true},
      {maskProbe.c_str(), folder / "mask", false},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(launchDetached(c.program, c.argument.c_str())) << c.program;
    EXPECT_TRUE(waitForFile(c.argument)) << c.argument;
    if (c.waits) {
      std::ofstream(c.argument + ".go") << "";
      EXPECT_TRUE(waitForFile(c.argument + ".done")) << "the launch waited for the program to end";
    }
    usleep(100000);  // 0.1 s for a program that was left a child to end as a zombie
    EXPECT_EQ(childrenOfThisProcess(), std::vector<pid_t>{}) << c.program;
  }
  std::ifstream listing(folder / "fds");
  std::set<int> numbers;  // beside the shell's own: its script, its redirections
  for (std::string line; std::getline(listing, line);) {
    EXPECT_EQ(hostTargets.count(line.substr(line.find(' ') + 1)), 0u) << line;
    numbers.insert(std::stoi(line));
  }
  for (int standard : {0, 1, 2}) EXPECT_EQ(numbers.count(standard), 1u) << standard;
  EXPECT_EQ(readFile(folder / "mask"), statusLine("/proc/thread-self/status", "SigBlk") + "\n");
  // Nothing holds the pipe's other end now: the host's read sees its end at once.
  close(pipeEnds[1]);
  char byte;
  EXPECT_EQ(read(pipeEnds[0], &byte, 1), 0);
  for (int fd : {pipeEnds[0], file, socketEnd, high}) close(fd);
}

TEST(LaunchTest, ProgramsThatCannotStartAreReported) {
  TempFolder folder;
  const std::string notExecutable = folder / "plain", missing = folder / "missing";
  std::ofstream(notExecutable) << "#!/bin/sh\n";
  const std::pair<const char*, const char*> cases[] = {
      {"quilm-no-such-program", "x"}, {notExecutable.c_str(), "x"}, {missing.c_str(), "x"},
      {nullptr, "x"},                 {"", "x"},                     {"true", nullptr}};
  for (const auto& [program, argument] : cases) {
    EXPECT_FALSE(launchDetached(program, argument)) << (program != nullptr ? program : "null");
  }
  EXPECT_EQ(childrenOfThisProcess(), std::vector<pid_t>{});
}

}  // namespace
