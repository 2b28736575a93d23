#pragma once
// A buffer that the host hands to the plug-in to fill, with guard regions
// before and after it. The plug-in may write `allowed` bytes from the start;
// every other byte keeps its fill pattern unless the plug-in wrote where the
// interface does not let it. UI or audio thread, one thread per object.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class GuardedBuffer {
public:
    static constexpr std::size_t kGuardBytes = 4096;  // bytes watched past the end and before the start
    static constexpr uint8_t kFill = 0xA5;            // neither NUL nor printable

    // A buffer whose first `allowed` bytes may be written.
    explicit GuardedBuffer(std::size_t allowed);

    // Where the plug-in writes (start of the allowed region).
    void* data() { return storage_.data() + kGuardBytes; }
    char* text() { return reinterpret_cast<char*>(data()); }
    std::size_t allowed() const { return allowed_; }
    // Fills every byte, guards included, with the pattern again.
    void refill();
    // Offset (from data()) of the first written byte outside the allowed
    // region, negative before the start; 0 with ok = false when none.
    long firstOverrun(bool& found) const;
    // Number of bytes written outside the allowed region.
    std::size_t overrunBytes() const;
    // Whether anything was written inside the allowed region.
    bool touched() const;
    // Whether a NUL lies inside the allowed region.
    bool terminated() const;
    // The written text up to its NUL (or the whole allowed region), for messages.
    std::string writtenText() const;

private:
    std::size_t allowed_;
    std::vector<uint8_t> storage_;
};
