#pragma once
// Test helper for the X11 tests: while it lives, the process's X error handler is one
// that counts the errors reaching it, those of the test's own connection (the host's)
// apart from those of any other (the plug-in's). UI thread.

#include <X11/Xlib.h>

class CountingXErrorHandler {
public:
    explicit CountingXErrorHandler(Display* own) {
        own_ = own;
        ownErrors = otherErrors = 0;
        previous_ = XSetErrorHandler(&record);
    }
    ~CountingXErrorHandler() { XSetErrorHandler(previous_); }
    CountingXErrorHandler(const CountingXErrorHandler&) = delete;
    CountingXErrorHandler& operator=(const CountingXErrorHandler&) = delete;

    // True when the process's handler is still this one.
    static bool installed() { return XSetErrorHandler(&record) == &record; }

    static inline int ownErrors = 0;
    static inline int otherErrors = 0;

private:
    static int record(Display* display, XErrorEvent*) {
        ++(display == own_ ? ownErrors : otherErrors);
        return 0;
    }
    static inline Display* own_ = nullptr;
    XErrorHandler previous_;
};
