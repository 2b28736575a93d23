#include "platform/Shell.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <string>
#include <vector>

#include "TempFolder.h"

namespace {

struct Launch {
  std::string program;
  std::string argument;
};

// Records what ShellExecuteExA would start, and answers `succeed`.
struct RecordingLauncher {
  std::vector<Launch> launches;
  bool succeed = true;

  static bool launch(void* context, const char* program, const char* argument) {
    auto* self = static_cast<RecordingLauncher*>(context);
    self->launches.push_back({program, argument});
    return self->succeed;
  }
};

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override { setShellLauncher(&RecordingLauncher::launch, &recorder_); }
  void TearDown() override { setShellLauncher(nullptr, nullptr); }
  RecordingLauncher recorder_;
};

struct ShellCase {
  const char* name;
  const char* verb;
  const char* file;
  const char* parameters;
  int show;
  BOOL result;
  const char* argument;  // what xdg-open receives; null: nothing is started

  friend void PrintTo(const ShellCase& c, std::ostream* os) { *os << c.name; }
};

class ShellExecuteTest : public ShellTest, public ::testing::WithParamInterface<ShellCase> {};

TEST_P(ShellExecuteTest, StartsXdgOpenWithOneArgument) {
  const ShellCase& c = GetParam();
  SHELLEXECUTEINFOA info = {};
  info.cbSize = 112;  // the size the program's code puts in
  info.lpVerb = c.verb;
  info.lpFile = c.file;
  info.lpParameters = c.parameters;
  info.nShow = c.show;
  EXPECT_EQ(ShellExecuteExA(&info), c.result);
  EXPECT_EQ(reinterpret_cast<intptr_t>(info.hInstApp) > 32, c.result == TRUE);
  if (c.argument == nullptr) {
    EXPECT_TRUE(recorder_.launches.empty());
    return;
  }
  ASSERT_EQ(recorder_.launches.size(), 1u);
  EXPECT_EQ(recorder_.launches[0].program, "xdg-open");
  EXPECT_EQ(recorder_.launches[0].argument, c.argument);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, ShellExecuteTest,
    ::testing::Values(
        ShellCase{"WebAddress", nullptr, "https://corvane.example/a b?x=1&y=$(id);", nullptr, SW_SHOWNORMAL, TRUE,
                  "https://corvane.example/a b?x=1&y=$(id);"},
        ShellCase{"ExplorerFolder", "open", "C:\\Windows\\explorer.exe", "/home/u\\Sounds\\New (1)\\", SW_SHOW, TRUE,
                  "/home/u/Sounds/New (1)/"},
        ShellCase{"ExplorerAnyCase", "OPEN", "c:\\windows\\EXPLORER.EXE", "/tmp/x", SW_SHOW, TRUE, "/tmp/x"},
        ShellCase{"PathLikeAnOption", "open", "C:\\Windows\\explorer.exe", "-rf", SW_SHOW, TRUE, "./-rf"},
        ShellCase{"AddressEndingInExplorer", nullptr, "https://corvane.example/explorer.exe", "/etc", SW_SHOWNORMAL,
                  TRUE, "https://corvane.example/explorer.exe"},
        ShellCase{"OtherVerb", "print", "https://corvane.example", nullptr, SW_SHOW, FALSE, nullptr},
        ShellCase{"NoFile", nullptr, nullptr, nullptr, SW_SHOW, FALSE, nullptr},
        ShellCase{"ExplorerWithoutFolder", "open", "C:\\Windows\\explorer.exe", nullptr, SW_SHOW, FALSE, nullptr}));

TEST_F(ShellTest, LauncherFailureIsReported) {
  recorder_.succeed = false;
  SHELLEXECUTEINFOA info = {};
  info.lpFile = "https://corvane.example";
  EXPECT_EQ(ShellExecuteExA(&info), FALSE);
  EXPECT_LE(reinterpret_cast<intptr_t>(info.hInstApp), 32);
  EXPECT_EQ(recorder_.launches.size(), 1u);
  EXPECT_EQ(ShellExecuteExA(nullptr), FALSE);
}

// The real spawn hands the argument over untouched: no shell sees it.
TEST(SpawnTest, ArgumentArrivesUnchanged) {
  TempFolder folder;
  const std::string path = folder / "a b;$(echo x)`id`'\"*";
  pid_t pid = spawnProgram("touch", path.c_str());
  ASSERT_GT(pid, 0);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(listFolder(folder.path()), "a b;$(echo x)`id`'\"*");
}

TEST(SpawnTest, MissingProgramDoesNotStart) {
  EXPECT_EQ(spawnProgram("quilm-no-such-program", "x"), -1);
  EXPECT_FALSE(launchDetached("quilm-no-such-program", "x"));
  EXPECT_EQ(spawnProgram(nullptr, "x"), -1);
  EXPECT_EQ(spawnProgram("true", nullptr), -1);
}

}  // namespace
