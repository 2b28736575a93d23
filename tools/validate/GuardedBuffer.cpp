#include "tools/validate/GuardedBuffer.h"

#include <algorithm>
#include <cstring>

GuardedBuffer::GuardedBuffer(std::size_t allowed) : allowed_(allowed), storage_(allowed + 2 * kGuardBytes, kFill) {}

void GuardedBuffer::refill() { std::fill(storage_.begin(), storage_.end(), kFill); }

long GuardedBuffer::firstOverrun(bool& found) const {
    found = false;
    for (std::size_t i = 0; i < kGuardBytes; ++i) {
        if (storage_[i] != kFill) {
            found = true;
            return static_cast<long>(i) - static_cast<long>(kGuardBytes);
        }
    }
    for (std::size_t i = kGuardBytes + allowed_; i < storage_.size(); ++i) {
        if (storage_[i] != kFill) {
            found = true;
            return static_cast<long>(i - kGuardBytes);
        }
    }
    return 0;
}

std::size_t GuardedBuffer::overrunBytes() const {
    std::size_t count = 0;
    for (std::size_t i = 0; i < kGuardBytes; ++i) count += storage_[i] != kFill;
    for (std::size_t i = kGuardBytes + allowed_; i < storage_.size(); ++i) count += storage_[i] != kFill;
    return count;
}

bool GuardedBuffer::touched() const {
    const auto begin = storage_.begin() + kGuardBytes;
    return std::any_of(begin, begin + static_cast<long>(allowed_), [](uint8_t b) { return b != kFill; });
}

bool GuardedBuffer::terminated() const {
    const auto begin = storage_.begin() + kGuardBytes;
    return std::find(begin, begin + static_cast<long>(allowed_), 0) != begin + static_cast<long>(allowed_);
}

std::string GuardedBuffer::writtenText() const {
    const char* start = reinterpret_cast<const char*>(storage_.data() + kGuardBytes);
    // Up to the first NUL, but never past the guard: an unterminated text is shown cut.
    std::size_t n = strnlen(start, allowed_ + kGuardBytes);
    std::string s(start, n);
    for (char& c : s) {
        if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) > 126) c = '?';
    }
    return s;
}
