#pragma once
// Bounded copies into text buffers that a host owns: never more than maxLen
// characters and always a terminating NUL, so the buffer needs maxLen + 1 bytes.
// A cut never splits a character of a UTF-8 text (utf8CutLength); other texts are
// cut byte for byte.

#include <cstddef>

// Copies at most maxLen characters of source and a NUL into dest. Any thread.
void copyHostText(char* dest, const char* source, std::size_t maxLen);
// Appends source to dest so that dest holds at most maxLen characters and a NUL. Any thread.
void appendHostText(char* dest, const char* source, std::size_t maxLen);
