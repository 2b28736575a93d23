#include "platform/Shell.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

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

// The real spawn hands the argument over untouched: no shell sees it.
TEST(SpawnTest, ArgumentArrivesUnchanged) {
  TempFolder folder;
  const pid_t pid = spawnProgram("touch", (folder / "a b;$(echo x)`id`'\"*").c_str());
  ASSERT_GT(pid, 0);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(listFolder(folder.path()), "a b;$(echo x)`id`'\"*");
  EXPECT_EQ(spawnProgram("quilm-no-such-program", "x"), -1);
  EXPECT_FALSE(launchDetached("quilm-no-such-program", "x"));
  EXPECT_EQ(spawnProgram(nullptr, "x"), -1);
  EXPECT_EQ(spawnProgram("true", nullptr), -1);
}

}  // namespace
