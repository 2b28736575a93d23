#include "tools/validate/AudioDriver.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "plugin/vst/VstOpcodes.h"

namespace {
// A NaN with a payload no arithmetic makes: marks samples the plug-in has not written.
constexpr uint32_t kSentinelBits = 0x7FC0DEADu;
const float kSentinel = std::bit_cast<float>(kSentinelBits);
constexpr int32_t kMaxFaultsPerInstance = 10;  // a broken block repeats; keep the report readable

bool isSentinel(float x) { return std::bit_cast<uint32_t>(x) == kSentinelBits; }
}  // namespace

AudioDriver::AudioDriver(PluginInstance& plugin) : plugin_(plugin) {
    const AEffect* e = plugin_.effect();
    // At most 64 channels each way, whatever the record claims; at least 2 are always given.
    const int32_t outs = std::clamp(e->numOutputs, 0, 64);
    const int32_t ins = std::clamp(e->numInputs, 0, 64);
    outputs_.assign(static_cast<std::size_t>(std::max(outs, 2)),
                    std::vector<float>(kGuardFrames + kMaxBlock + kGuardFrames, kSentinel));
    inputs_.assign(static_cast<std::size_t>(std::max(ins, 2)), std::vector<float>(kMaxBlock, 0.0f));
    for (auto& o : outputs_) outputPointers_.push_back(o.data() + kGuardFrames);
    for (auto& i : inputs_) inputPointers_.push_back(i.data());
}

void AudioDriver::activate(float sampleRate, int32_t maxBlock) {
    sampleRate_ = sampleRate;
    maxBlock_ = std::clamp(maxBlock, 1, kMaxBlock);
    plugin_.dispatch(effMainsChanged, 0, 0, nullptr, 0.0f, true);
    plugin_.dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate_, true);
    plugin_.dispatch(effSetBlockSize, 0, maxBlock_, nullptr, 0.0f, true);
    plugin_.dispatch(effMainsChanged, 0, 1, nullptr, 0.0f, true);
}

float AudioDriver::process(EventList& events, int32_t frames) {
    frames = std::clamp(frames, 1, maxBlock_);
    for (auto& o : outputs_) std::fill(o.begin(), o.begin() + kGuardFrames + frames + kGuardFrames, kSentinel);
    if (events.size() > 0) plugin_.dispatch(effProcessEvents, 0, 0, events.events(), 0.0f);
    lastPeak_ = 0.0f;
    lastSquares_ = 0.0;
    if (!plugin_.processReplacing(inputPointers_.data(), outputPointers_.data(), frames)) return 0.0f;
    checkBlock(frames);
    peak_ = std::max(peak_, lastPeak_);
    return lastPeak_;
}

void AudioDriver::checkBlock(int32_t frames) {
    const int32_t outs = plugin_.effect()->numOutputs;
    for (int32_t ch = 0; ch < static_cast<int32_t>(outputs_.size()); ++ch) {
        const std::vector<float>& buffer = outputs_[static_cast<std::size_t>(ch)];
        int32_t unwritten = 0, nonFinite = 0, overrun = 0, firstBad = -1;
        for (int32_t i = 0; i < frames; ++i) {
            const float x = buffer[static_cast<std::size_t>(kGuardFrames + i)];
            if (isSentinel(x)) {
                if (ch < outs) ++unwritten;  // outputs beyond numOutputs need not be written
            } else if (!std::isfinite(x)) {
                if (firstBad < 0) firstBad = i;
                ++nonFinite;
                lastPeak_ = std::numeric_limits<float>::infinity();
                lastSquares_ = std::numeric_limits<double>::infinity();
            } else {
                lastPeak_ = std::max(lastPeak_, std::fabs(x));
                lastSquares_ += static_cast<double>(x) * x;
            }
        }
        for (int32_t i = 0; i < kGuardFrames; ++i) {
            overrun += !isSentinel(buffer[static_cast<std::size_t>(i)]);
            overrun += !isSentinel(buffer[static_cast<std::size_t>(kGuardFrames + frames + i)]);
        }
        if ((unwritten | nonFinite | overrun) == 0 || faultsReported_ >= kMaxFaultsPerInstance) continue;
        ++faultsReported_;
        char message[256];
        if (nonFinite > 0) {
            std::snprintf(message, sizeof(message),
                          "output %d: %d of %d samples not finite (first at frame %d) at %.0f Hz", ch, nonFinite,
                          frames, firstBad, static_cast<double>(plugin_.givenSampleRate()));
            plugin_.fault(message);
        }
        if (unwritten > 0) {
            std::snprintf(message, sizeof(message), "output %d: %d of %d samples not written by processReplacing", ch,
                          unwritten, frames);
            plugin_.fault(message);
        }
        if (overrun > 0) {
            std::snprintf(message, sizeof(message), "output %d: %d samples written outside the %d-frame block", ch,
                          overrun, frames);
            plugin_.fault(message);
        }
    }
}

void AudioDriver::checkRelease(double releaseSeconds, int32_t perBlock) {
    EventList events;
    const int32_t block = std::min<int32_t>(maxBlock_, 256);
    for (int ch = 0; ch < 16; ++ch) events.addMidi(0, static_cast<uint8_t>(0xB0 | ch), 64, 0);
    process(events, block);
    for (int ch = 0; ch < 16; ++ch) {
        for (int note = 0; note < 128; ++note) {
            events.clear();
            // One note-off per event; several per block, never more than perBlock.
            events.addMidi(0, static_cast<uint8_t>(0x80 | ch), static_cast<uint8_t>(note), 0);
            while (note + 1 < 128 && static_cast<int32_t>(events.size()) < perBlock) {
                ++note;
                events.addMidi(0, static_cast<uint8_t>(0x80 | ch), static_cast<uint8_t>(note), 0);
            }
            process(events, block);
        }
    }
    events.clear();
    const double needQuiet = 0.1 * sampleRate_;  // frames of silence that end the wait
    const double limit = releaseSeconds * sampleRate_;
    const double window = std::min(2.0, releaseSeconds / 4.0) * sampleRate_;  // frames per level window
    double rendered = 0.0, quiet = 0.0;
    // Sums of squares and frames of the windows ending at half time and at the end. The level
    // is their RMS, not their peak: a chorus tail at high feedback keeps falling while its
    // partials drift in phase, so its peak can rise by a tenth as its level sinks.
    double midSquares = 0.0, endSquares = 0.0, midFrames = 0.0, endFrames = 0.0;
    while (rendered < limit && quiet < needQuiet) {
        const float p = process(events, maxBlock_);
        rendered += maxBlock_;
        quiet = p < kSilence ? quiet + maxBlock_ : 0.0;
        if (rendered > limit / 2 - window && rendered <= limit / 2) midSquares += lastSquares_, midFrames += maxBlock_;
        if (rendered > limit - window) endSquares += lastSquares_, endFrames += maxBlock_;
    }
    if (quiet >= needQuiet) return;
    const double channels = static_cast<double>(outputs_.size());
    const double midLevel = midFrames > 0.0 ? std::sqrt(midSquares / (midFrames * channels)) : 0.0;
    const double endLevel = endFrames > 0.0 ? std::sqrt(endSquares / (endFrames * channels)) : 0.0;
    char message[240];
    // A tail that keeps falling (a long echo at full feedback) is no hanging note; a level that
    // holds or grows is.
    if (std::isfinite(endLevel) && endLevel < 0.9 * midLevel) {
        std::snprintf(message, sizeof(message),
                      "note: %.1f s after every note was released a falling tail remains (RMS %.2g, down from %.2g)",
                      releaseSeconds, endLevel, midLevel);
        std::printf("  %s\n", message);
        return;
    }
    std::snprintf(message, sizeof(message),
                  "hanging sound: %.1f s after every note was released the output's RMS is still %.2g "
                  "(%.2g at half that time; %.0f Hz)",
                  releaseSeconds, endLevel, midLevel, static_cast<double>(plugin_.givenSampleRate()));
    plugin_.fault(message);
}
