#include "tools/render/WavWriter.h"

#include <sndfile.h>

WavWriter::~WavWriter() { close(); }

bool WavWriter::open(const std::string& path, int sampleRate, int channels, std::string& error) {
    close();
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) {
        error = "cannot write " + path + ": " + sf_strerror(nullptr);
        return false;
    }
    file_ = file;
    channels_ = channels;
    return true;
}

bool WavWriter::write(const std::vector<const float*>& channels, int frames) {
    if (file_ == nullptr || frames <= 0) return file_ != nullptr;
    interleaved_.resize(static_cast<std::size_t>(frames) * static_cast<std::size_t>(channels_));
    for (int f = 0; f < frames; ++f) {
        for (int c = 0; c < channels_; ++c) {
            interleaved_[static_cast<std::size_t>(f * channels_ + c)] = channels[static_cast<std::size_t>(c)][f];
        }
    }
    sf_count_t written = sf_writef_float(static_cast<SNDFILE*>(file_), interleaved_.data(), frames);
    return written == frames;
}

void WavWriter::close() {
    if (file_ != nullptr) {
        sf_close(static_cast<SNDFILE*>(file_));
        file_ = nullptr;
    }
}
