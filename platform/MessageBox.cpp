#include "platform/MessageBox.h"

#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/ReplaceableHook.h"

namespace {

ReplaceableHook<MessageBoxSink> gSink;  // null: one line on standard error

void writeLine(const char* text, const char* caption) {
  std::string line = caption;
  line += ": ";
  line += text;
  for (char& c : line) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  line += '\n';
  // One write call, so that lines from several threads do not interleave.
  size_t done = 0;
  while (done < line.size()) {
    ssize_t n = write(STDERR_FILENO, line.data() + done, line.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    done += static_cast<size_t>(n);
  }
}

}  // namespace

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT style) {
  if (text == nullptr) text = "";
  if (caption == nullptr) caption = "Error";
  const auto sink = gSink.current();
  if (sink.function != nullptr) {
    sink.function(sink.context, owner, text, caption, style);
  } else {
    writeLine(text, caption);
  }
  return IDOK;
}

MessageBoxSink setMessageBoxSink(MessageBoxSink sink, void* context, void** previousContext) {
  return gSink.replace(sink, context, previousContext);
}
