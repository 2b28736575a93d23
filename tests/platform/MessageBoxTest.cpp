#include "platform/MessageBox.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "TempFolder.h"
#include "platform/MessageBoxCapture.h"

namespace {

struct BoxCase {
  const char* text;
  const char* caption;
  UINT style;
  std::string expectedText;
  std::string expectedCaption;
  std::string expectedLine;  // what standard error receives without a sink

  friend void PrintTo(const BoxCase& c, std::ostream* os) { *os << c.expectedCaption; }
};

class MessageBoxTest : public ::testing::TestWithParam<BoxCase> {};

// Runs MessageBoxA with standard error sent to a file; answers what was written.
std::string stderrOf(const BoxCase& c, int* answer) {
  TempFolder folder;
  const std::string path = folder / "stderr";
  fflush(stderr);
  const int saved = dup(STDERR_FILENO);
  FILE* file = fopen(path.c_str(), "w");
  dup2(fileno(file), STDERR_FILENO);
  *answer = MessageBoxA(nullptr, c.text, c.caption, c.style);
  dup2(saved, STDERR_FILENO);
  close(saved);
  fclose(file);
  std::string written;
  readFile(path, &written);
  return written;
}

TEST_P(MessageBoxTest, WritesOneLineToStandardError) {
  int answer = 0;
  EXPECT_EQ(stderrOf(GetParam(), &answer), GetParam().expectedLine);
  EXPECT_EQ(answer, IDOK);
}

TEST_P(MessageBoxTest, SinkReceivesTextCaptionAndStyle) {
  const BoxCase& c = GetParam();
  MessageBoxCapture capture;
  int answer = 0;
  EXPECT_EQ(stderrOf(c, &answer), "") << "a sink replaces standard error";
  EXPECT_EQ(answer, IDOK);
  ASSERT_EQ(capture.messages().size(), 1u);
  EXPECT_EQ(capture.messages()[0].text, c.expectedText);
  EXPECT_EQ(capture.messages()[0].caption, c.expectedCaption);
  EXPECT_EQ(capture.messages()[0].style, c.style);
  EXPECT_EQ(capture.messages()[0].owner, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, MessageBoxTest,
    ::testing::Values(
        BoxCase{"Resource images not found! Please reinstall the plugin (id: -1).", "Error",
                MB_ICONSTOP | MB_SYSTEMMODAL, "Resource images not found! Please reinstall the plugin (id: -1).",
                "Error", "Error: Resource images not found! Please reinstall the plugin (id: -1).\n"},
        BoxCase{"The font image must contains 92 elements (found 90).\nThe texts may be drawed incorrectly!",
                "The font image error", 0x1010,
                "The font image must contains 92 elements (found 90).\nThe texts may be drawed incorrectly!",
                "The font image error",
                "The font image error: The font image must contains 92 elements (found 90). The texts may be "
                "drawed incorrectly!\n"},
        BoxCase{nullptr, nullptr, MB_OK, "", "Error", "Error: \n"}));

TEST(MessageBoxCaptureTest, NestedCapturesRestoreTheOuterOne) {
  MessageBoxCapture outer;
  {
    MessageBoxCapture inner;
    MessageBoxA(nullptr, "inner", "Error", 0x1010);
    EXPECT_EQ(inner.messages().size(), 1u);
  }
  MessageBoxA(nullptr, "outer", "Error", 0x1010);
  ASSERT_EQ(outer.messages().size(), 1u);
  EXPECT_EQ(outer.messages()[0].text, "outer");
  outer.clear();
  EXPECT_TRUE(outer.messages().empty());
}

}  // namespace
