#include "platform/MessageBoxCapture.h"

MessageBoxCapture::MessageBoxCapture() {
  previousSink_ = setMessageBoxSink(&MessageBoxCapture::receive, this, &previousContext_);
}

MessageBoxCapture::~MessageBoxCapture() { setMessageBoxSink(previousSink_, previousContext_); }

void MessageBoxCapture::receive(void* context, HWND owner, const char* text, const char* caption,
                                UINT style) {
  static_cast<MessageBoxCapture*>(context)->messages_.push_back(Message{owner, text, caption, style});
}
