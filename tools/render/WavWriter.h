#pragma once
// Writes interleaved float frames to a WAV file (32-bit float samples) through libsndfile.
// The target is met as an ordinary write meets it: a file the user may not write, or a link
// the kernel will not follow, is refused, and so are pipes and sockets. The frames go to a
// temporary file beside the target, which replaces the target only when finish() succeeds,
// so a failed render leaves an existing file as it was; a link stays a link. A file whose
// folder takes no new file is written in place. A render whose samples pass what a WAV
// file's 32-bit sizes hold is written as RF64.
// One thread at a time.

#include <cstdint>
#include <string>
#include <vector>

struct stat;

class WavWriter {
public:
    // Most sample bytes written as plain WAV: its size fields count 32 bits, less room for the
    // header chunks. Longer renders are RF64.
    static constexpr uint64_t kMaxWavDataBytes = 0xFFFFFFFFull - 4096;

    // A writer with no file open.
    WavWriter() = default;
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;
    // Discards an unfinished file.
    ~WavWriter();

    // Starts the file for path (expectedFrames long: plain WAV or RF64); false with a message
    // and nothing touched. A path that names a device is written directly.
    bool open(const std::string& path, int sampleRate, int channels, std::string& error, int64_t expectedFrames = 0);
    // Appends frames taken from one buffer per channel (frames samples each); false on a write error.
    bool write(const std::vector<const float*>& channels, int frames);
    // What made the last write fail.
    const std::string& writeError() const { return writeError_; }
    // Completes the file and puts it in place of the path; false with a message, the old file kept.
    bool finish(std::string& error);
    // Removes the unfinished file; nothing when none is open.
    void discard();
    // The unfinished file's name while one is open (empty when writing the target in place).
    const std::string& temporaryPath() const { return temporary_; }

private:
    // Opens descriptor_ on what path names, or on a temporary file beside it; false with a message.
    bool openTarget(const std::string& path, std::string& error);
    // Makes the temporary file beside target_, owned and moded as existing if given; 0 or errno.
    int makeTemporary(const struct stat* existing);
    bool closeFile();

    void* file_ = nullptr;     // SNDFILE
    int descriptor_ = -1;      // of the file written (libsndfile does not close it)
    std::string target_;       // the file finish() replaces; empty when writing in place
    std::string temporary_;    // empty when writing the target in place
    int channels_ = 0;
    bool plainWav_ = true;
    uint64_t dataBytes_ = 0;   // sample bytes written so far
    std::vector<float> interleaved_;
    std::string writeError_;
};
