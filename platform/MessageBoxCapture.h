// Records the message boxes shown while it lives, instead of printing them: the
// sink that tests of the graphics side and the controls use. Install it on the
// thread that shows the messages; it restores the previous sink when destroyed.
#pragma once

#include <string>
#include <vector>

#include "platform/MessageBox.h"

class MessageBoxCapture {
 public:
  struct Message {
    HWND owner;
    std::string text;
    std::string caption;
    UINT style;
  };

  MessageBoxCapture();   // installs itself as the sink; any thread
  ~MessageBoxCapture();  // puts the previous sink back; any thread
  MessageBoxCapture(const MessageBoxCapture&) = delete;
  MessageBoxCapture& operator=(const MessageBoxCapture&) = delete;

  // Every message received so far, oldest first.
  const std::vector<Message>& messages() const { return messages_; }
  // Forgets the messages received so far.
  void clear() { messages_.clear(); }

 private:
  static void receive(void* context, HWND owner, const char* text, const char* caption, UINT style);

  std::vector<Message> messages_;
  MessageBoxSink previousSink_;
  void* previousContext_ = nullptr;
};
