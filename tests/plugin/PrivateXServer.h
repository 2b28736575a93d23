#pragma once
// Test support: an X server of the test's own (Xvfb) at a chosen depth, on a free
// display number that the server picks itself. Not usable when Xvfb is missing.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include <X11/Xlib.h>

class PrivateXServer {
public:
    PrivateXServer(int depth, int width, int height) {
        int ready[2];
        if (access("/usr/bin/Xvfb", X_OK) != 0 || pipe(ready) != 0) return;
        const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x" + std::to_string(depth);
        const std::string fd = std::to_string(ready[1]);
        server_ = fork();
        if (server_ == 0) {
            const int quiet = open("/dev/null", O_WRONLY);
            dup2(quiet, 2);
            close(ready[0]);
            execl("/usr/bin/Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        close(ready[1]);
        // The server writes its display number once it listens; 10 s at most.
        std::string number;
        pollfd wait{ready[0], POLLIN, 0};
        char c = 0;
        while (server_ > 0 && poll(&wait, 1, 10000) == 1 && read(ready[0], &c, 1) == 1 && c != '\n') number += c;
        close(ready[0]);
        if (number.empty()) return;
        name_ = ":" + number;
        display_ = XOpenDisplay(name_.c_str());
    }
    ~PrivateXServer() {
        if (display_ != nullptr) XCloseDisplay(display_);
        if (server_ > 0) {
            kill(server_, SIGTERM);
            waitpid(server_, nullptr, 0);
        }
    }
    PrivateXServer(const PrivateXServer&) = delete;
    PrivateXServer& operator=(const PrivateXServer&) = delete;

    // The test's own connection, or null when the server did not start.
    Display* display() const { return display_; }
    // The display name (":N") for DISPLAY.
    const std::string& name() const { return name_; }

private:
    pid_t server_ = -1;
    std::string name_;
    Display* display_ = nullptr;
};
