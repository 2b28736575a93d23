#include "platform/MessageBox.h"

#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <string>

namespace {

std::mutex gSinkMutex;
MessageBoxSink gSink = nullptr;     // guarded by gSinkMutex
void* gSinkContext = nullptr;       // guarded by gSinkMutex

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
  MessageBoxSink sink;
  void* context;
  {
    std::lock_guard<std::mutex> lock(gSinkMutex);
    sink = gSink;
    context = gSinkContext;
  }
  if (sink != nullptr) {
    sink(context, owner, text, caption, style);
  } else {
    writeLine(text, caption);
  }
  return IDOK;
}

MessageBoxSink setMessageBoxSink(MessageBoxSink sink, void* context, void** previousContext) {
  std::lock_guard<std::mutex> lock(gSinkMutex);
  MessageBoxSink previous = gSink;
  if (previousContext != nullptr) *previousContext = gSinkContext;
  gSink = sink;
  gSinkContext = sink != nullptr ? context : nullptr;
  return previous;
}
