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

// Said of a target no WAV file can be written to: its header is written last, at the start.
constexpr const char* kUnseekable = "a pipe or a socket cannot hold a WAV file, which needs a file it can seek";

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The missing file at the end of a dangling link's chain, found as the kernel follows it:
// each link's text taken from the link's own folder. Empty, with errno set, when the chain
// cannot be read or runs longer than the kernel's 40 links.
std::string danglingTarget(const std::string& link) {
    std::string at = link;
    for (int hop = 0; hop <= 40; ++hop) {
        char text[PATH_MAX];
        const ssize_t length = readlink(at.c_str(), text, sizeof(text) - 1);
        if (length < 0) return errno == ENOENT ? at : std::string();
        const std::string next(text, static_cast<std::size_t>(length));
        at = next[0] == '/' ? next : folderOf(at) + next;
    }
    errno = ELOOP;
    return {};
}

bool isLink(const std::string& path) {
    struct stat link {};
    return lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode);
}

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

}  // namespace

WavWriter::~WavWriter() { discard(); }

bool WavWriter::open(const std::string& path, int sampleRate, int channels, std::string& error,
                     int64_t expectedFrames) {
    discard();
    writeError_.clear();
    if (!openTarget(path, error)) {
        discard();
        return false;
    }
    const uint64_t bytes = static_cast<uint64_t>(expectedFrames > 0 ? expectedFrames : 0) *
                           static_cast<uint64_t>(channels) * sizeof(float);
    plainWav_ = bytes <= kMaxWavDataBytes;
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = channels;
    info.format = (plainWav_ ? SF_FORMAT_WAV : SF_FORMAT_RF64) | SF_FORMAT_FLOAT;
    SNDFILE* file = sf_open_fd(descriptor_, SFM_WRITE, &info, SF_FALSE);
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

bool WavWriter::openTarget(const std::string& path, std::string& error) {
    auto refuse = [&](const char* why) {
        error = "cannot write " + path + ": " + why;
        return false;
    };
    // Met as an ordinary write meets it: the kernel's own walk checks the file's permissions
    // and the links it may follow (fs.protected_symlinks), and O_NONBLOCK never waits for a
    // FIFO's reader or a lease.
    const int target = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (target < 0) {
        const int why = errno;
        struct stat named {};
        if (why == ENXIO && stat(path.c_str(), &named) == 0 && (S_ISFIFO(named.st_mode) || S_ISSOCK(named.st_mode))) {
            return refuse(kUnseekable);  // a FIFO without a reader, a socket
        }
        if (why == EISDIR) return refuse("it is a folder");
        if (why != ENOENT) return refuse(std::strerror(why));
        // Nothing there yet: a new file, or the one a dangling link names (the link stays).
        target_ = isLink(path) ? danglingTarget(path) : path;
        const int made = target_.empty() ? errno : makeTemporary(nullptr);
        return made == 0 || refuse(std::strerror(made));
    }
    descriptor_ = target;
    struct stat existing {};
    if (fstat(target, &existing) != 0) return refuse(std::strerror(errno));
    if (S_ISFIFO(existing.st_mode) || S_ISSOCK(existing.st_mode)) return refuse(kUnseekable);
    if (S_ISREG(existing.st_mode)) {
        // A link stays a link: the file it names is the one replaced, if the link still names it.
        target_ = path;
        if (isLink(path)) {
            struct stat resolved {};
            char real[PATH_MAX];
            const bool found = realpath(path.c_str(), real) != nullptr && stat(real, &resolved) == 0;
            target_ = found && sameFile(resolved, existing) ? std::string(real) : std::string();
        }
        // A link that no longer names the opened file is written through the descriptor.
        const int why = target_.empty() ? EPERM : makeTemporary(&existing);
        if (why == 0) return true;  // the temporary file took the place of the descriptor
        if (why != EACCES && why != EPERM && why != EROFS) return refuse(std::strerror(why));
        // The folder takes no new file, or none with this file's owner: the file is written
        // in place, as an ordinary write would, and a failed render leaves it cut short.
        target_.clear();
        if (ftruncate(target, 0) != 0) return refuse(std::strerror(errno));
    }
    // A device (/dev/null) or the file itself: written through the descriptor the check opened.
    const int flags = fcntl(target, F_GETFL);
    if (flags < 0 || fcntl(target, F_SETFL, flags & ~O_NONBLOCK) != 0) return refuse(std::strerror(errno));
    return true;
}

int WavWriter::makeTemporary(const struct stat* existing) {
    // A hidden name of fixed length in the target's folder, so that any name the folder takes
    // works and the final rename stays on one file system. A new file is made 0644 less the
    // umask, as libsndfile makes files; one that replaces a file starts private and then takes
    // that file's owner, group and mode.
    const std::string folder = folderOf(target_);
    int made = -1;
    for (unsigned attempt = 0; made < 0 && attempt < 100; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof(name), ".quilm-%08x.tmp", static_cast<unsigned>(getpid()) * 100u + attempt);
        temporary_ = folder + name;
        made = ::open(temporary_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, existing != nullptr ? 0600 : 0644);
        if (made < 0 && errno != EEXIST) break;
    }
    if (made < 0) {
        const int why = errno;
        temporary_.clear();
        return why;
    }
    if (existing != nullptr && (fchown(made, existing->st_uid, existing->st_gid) != 0 ||
                                fchmod(made, existing->st_mode & 07777) != 0)) {
        const int why = errno;
        ::close(made);
        unlink(temporary_.c_str());
        temporary_.clear();
        return why;
    }
    if (descriptor_ >= 0) ::close(descriptor_);
    descriptor_ = made;
    return 0;
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
        // A device that cannot sync (/dev/null: EINVAL) has nothing to report.
        ok = (fsync(descriptor_) == 0 || errno == EINVAL) && ok;
        ok = ::close(descriptor_) == 0 && ok;
        descriptor_ = -1;
    }
    return ok;
}
