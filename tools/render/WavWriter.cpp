#include "tools/render/WavWriter.h"

#include <fcntl.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The file a path stands for: a symbolic link's target, so that the link stays.
std::string resolvedTarget(const std::string& path) {
    struct stat link {};
    if (lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

}  // namespace

WavWriter::~WavWriter() { discard(); }

bool WavWriter::open(const std::string& path, int sampleRate, int channels, std::string& error,
                     int64_t expectedFrames) {
    discard();
    target_ = resolvedTarget(path);
    struct stat existing {};
    const bool exists = stat(target_.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        error = "cannot write " + path + ": it is a folder";
        return false;
    }
    if (!exists || S_ISREG(existing.st_mode)) {
        // A hidden file in the target's folder, so that the final rename stays on one file system.
        const std::size_t slash = target_.rfind('/');
        const std::string folder = slash == std::string::npos ? "" : target_.substr(0, slash + 1);
        const std::string name = slash == std::string::npos ? target_ : target_.substr(slash + 1);
        for (int attempt = 0; descriptor_ < 0 && attempt < 100; ++attempt) {
            temporary_ = folder + "." + name + "." + std::to_string(getpid()) + "-" + std::to_string(attempt) + ".tmp";
            descriptor_ = ::open(temporary_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);  // as libsndfile makes files
            if (descriptor_ < 0 && errno != EEXIST) break;
        }
        if (descriptor_ < 0) {
            error = "cannot write " + path + ": " + std::strerror(errno);
            temporary_.clear();
            return false;
        }
        // A replaced file keeps its permissions: a private render stays private.
        if (exists && fchmod(descriptor_, existing.st_mode & 07777) != 0) {
            error = "cannot write " + path + ": " + std::strerror(errno);
            discard();
            return false;
        }
    }
    const uint64_t bytes = static_cast<uint64_t>(expectedFrames > 0 ? expectedFrames : 0) *
                           static_cast<uint64_t>(channels) * sizeof(float);
    plainWav_ = bytes <= kMaxWavDataBytes;
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = channels;
    info.format = (plainWav_ ? SF_FORMAT_WAV : SF_FORMAT_RF64) | SF_FORMAT_FLOAT;
    SNDFILE* file = descriptor_ >= 0 ? sf_open_fd(descriptor_, SFM_WRITE, &info, SF_FALSE)
                                     : sf_open(target_.c_str(), SFM_WRITE, &info);
    if (file == nullptr) {
        error = "cannot write " + path + ": " + sf_strerror(nullptr);
        discard();
        return false;
    }
    file_ = file;
    channels_ = channels;
    dataBytes_ = 0;
    return true;
}

bool WavWriter::write(const std::vector<const float*>& channels, int frames) {
    if (file_ == nullptr || frames <= 0) return file_ != nullptr;
    const uint64_t bytes = static_cast<uint64_t>(frames) * static_cast<uint64_t>(channels_) * sizeof(float);
    if (plainWav_ && dataBytes_ + bytes > kMaxWavDataBytes) {
        writeError_ = "more samples than a WAV file holds";  // its sizes would wrap
        return false;
    }
    interleaved_.resize(static_cast<std::size_t>(frames) * static_cast<std::size_t>(channels_));
    for (int f = 0; f < frames; ++f) {
        for (int c = 0; c < channels_; ++c) {
            interleaved_[static_cast<std::size_t>(f * channels_ + c)] = channels[static_cast<std::size_t>(c)][f];
        }
    }
    sf_count_t written = sf_writef_float(static_cast<SNDFILE*>(file_), interleaved_.data(), frames);
    dataBytes_ += bytes;
    if (written != frames) writeError_ = sf_strerror(static_cast<SNDFILE*>(file_));
    return written == frames;
}

bool WavWriter::finish(std::string& error) {
    if (file_ == nullptr) {
        error = "no file is open";
        return false;
    }
    errno = 0;
    if (!closeFile()) {
        error = "writing " + target_ + " failed" + (errno != 0 ? std::string(": ") + std::strerror(errno) : "");
        discard();
        return false;
    }
    if (!temporary_.empty() && std::rename(temporary_.c_str(), target_.c_str()) != 0) {
        error = "cannot put the rendered file in place of " + target_ + ": " + std::strerror(errno);
        discard();
        return false;
    }
    temporary_.clear();
    return true;
}

void WavWriter::discard() {
    closeFile();
    if (!temporary_.empty()) {
        std::remove(temporary_.c_str());
        temporary_.clear();
    }
}

bool WavWriter::closeFile() {
    bool ok = true;
    if (file_ != nullptr) {
        ok = sf_error(static_cast<SNDFILE*>(file_)) == SF_ERR_NO_ERROR;
        ok = sf_close(static_cast<SNDFILE*>(file_)) == 0 && ok;
        file_ = nullptr;
    }
    if (descriptor_ >= 0) {
        // Late write errors (a full disk, a quota) show here, before the old file is replaced.
        ok = fsync(descriptor_) == 0 && ok;
        ok = ::close(descriptor_) == 0 && ok;
        descriptor_ = -1;
    }
    return ok;
}
