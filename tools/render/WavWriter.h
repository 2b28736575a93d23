#pragma once
// Writes interleaved float frames to a WAV file (32-bit float samples) through libsndfile.
// One thread at a time.

#include <string>
#include <vector>

class WavWriter {
public:
    // A writer with no file open.
    WavWriter() = default;
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;
    // Closes the file.
    ~WavWriter();

    // Creates the file; false with a message.
    bool open(const std::string& path, int sampleRate, int channels, std::string& error);
    // Appends frames taken from one buffer per channel (frames samples each); false on a write error.
    bool write(const std::vector<const float*>& channels, int frames);
    // Finishes the file (its header sizes) and closes it; nothing when none is open.
    void close();

private:
    void* file_ = nullptr;
    int channels_ = 0;
    std::vector<float> interleaved_;
};
