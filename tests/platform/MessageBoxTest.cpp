#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>

#include "platform/MessageBoxCapture.h"

namespace {

// One line on standard error without a sink; text, caption and style to the sink with one.
TEST(MessageBoxTest, WritesOneLineOrReachesTheSink) {
  const char* missing = "Resource images not found! Please reinstall the plugin (id: -1).";
  const char* font = "The font image must contains 92 elements (found 90).\nThe texts may be drawed incorrectly!";
  // text, caption, style; the caption and the line expected
  const std::tuple<const char*, const char*, UINT, std::string, std::string> cases[] = {
      {missing, "Error", MB_ICONSTOP | MB_SYSTEMMODAL, "Error", std::string("Error: ") + missing + "\n"},
      {font, "The font image error", 0x1010, "The font image error",
       "The font image error: The font image must contains 92 elements (found 90). The texts may be drawed "
       "incorrectly!\n"},
      {nullptr, nullptr, MB_OK, "Error", "Error: \n"}};
  for (const auto& [text, caption, style, expectedCaption, line] : cases) {
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxA(nullptr, text, caption, style), IDOK);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), line);
    MessageBoxCapture capture;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxA(nullptr, text, caption, style), IDOK);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "") << "a sink replaces standard error";
    ASSERT_EQ(capture.messages().size(), 1u);
    const MessageBoxCapture::Message& message = capture.messages()[0];
    EXPECT_EQ(std::tie(message.owner, message.text, message.caption, message.style),
              std::make_tuple(nullptr, std::string(text != nullptr ? text : ""), expectedCaption, style));
  }
  // Captures nest: an inner one puts the outer one back when it goes.
  MessageBoxCapture outer;
  auto inner = std::make_unique<MessageBoxCapture>();
  MessageBoxA(nullptr, "inner", "Error", 0x1010);
  EXPECT_EQ(inner->messages().size(), 1u);
  inner.reset();
  MessageBoxA(nullptr, "outer", "Error", 0x1010);
  ASSERT_EQ(outer.messages().size(), 1u);
  EXPECT_EQ(outer.messages()[0].text, "outer");
  outer.clear();
  EXPECT_TRUE(outer.messages().empty());
}

}  // namespace
