#pragma once
// Hands rebuilt oscillator tables from whichever thread rebuilds them (the UI
// thread for the editor and host automation, the audio thread for MIDI) to the
// audio thread, so that the voices never read a half-built table.
//
// A rebuild fills a private scratch pair, then copies it into one of two
// shared slots, alternating, inside a sequence window (odd sequence = a slot
// is being written). Publication n lives in slot n % 2. The audio thread copies
// the newest complete publication out at the start of a slice and keeps the
// copy only when no writer started on that slot meanwhile (that takes two
// further publications during one copy); otherwise it keeps its current tables
// and tries again at the next slice. Nobody ever waits: a rebuild asked for
// while another thread is building is left to that thread, which builds once
// more with the settings then current.

#include <atomic>
#include <cstdint>

class OscTableExchange {
public:
    static constexpr int32_t kTableLength = 2052; // 2048 samples + guard samples

    // Builds new tables with build(table1, table2) -> sounding (0 or 1) and publishes them. Any thread; never
    // blocks (when another thread is building, that thread builds again instead).
    template <class Build>
    void rebuild(Build&& build);

    // When tables newer than the last ones taken were published completely, copies them into table1 and
    // table2 (kTableLength floats each), stores their sounding flag and returns true. Audio thread.
    bool acquire(float* table1, float* table2, uint8_t& sounding);

private:
    void publish(uint8_t sounding); // scratch -> shared, inside the sequence window

    std::atomic<bool> building_{false};
    std::atomic<bool> pending_{false};
    std::atomic<uint32_t> sequence_{0};   // 2 x publications done, + 1 while one is written
    std::atomic<uint8_t> sharedSounding_[2]{};
    uint32_t taken_ = 0;                  // audio thread: number of the publication last taken

    float scratch_[2][kTableLength]{};    // written only by the thread that holds building_
    float shared_[2][2][kTableLength]{};  // [slot][table]; accessed only through atomic references
    float reading_[2][kTableLength]{};    // audio thread's copy under check
};

template <class Build>
void OscTableExchange::rebuild(Build&& build)
{
    pending_.store(true);
    while (!building_.exchange(true)) {
        while (pending_.exchange(false)) publish(build(scratch_[0], scratch_[1]));
        building_.store(false);
        // A request made after the last check may have found building_ set and
        // left; take it over unless another thread already has.
        if (!pending_.load()) return;
    }
}
