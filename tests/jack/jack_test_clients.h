// The test's own JACK clients: a sequencer that plays MIDI messages at frames counted from
// a common start, and a recorder that records audio ports from the same start. Both run in
// the test's process; the server orders them around the host, so that both count the same
// frames.
#pragma once

#include <jack/jack.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace velt::corvane::testing {

/// One message and its frame after the start.
struct TimedMidi {
    int64_t frame = 0;
    std::vector<uint8_t> bytes;
};

/// Frames after this the clients count from, once started: time to be scheduled in.
constexpr int64_t kStartMargin = 2048;

class JackTestClients {
public:
    JackTestClients() = default;
    /// Closes both clients.
    ~JackTestClients();
    JackTestClients(const JackTestClients&) = delete;
    JackTestClients& operator=(const JackTestClients&) = delete;

    /// Opens the sequencer "corvane-test-seq" (MIDI port "out") with messages (ascending by
    /// frame) and the recorder "corvane-test-rec" with one input port per name in inputs, room
    /// for frames; activates both. False when a client would not open.
    bool open(std::vector<TimedMidi> messages, const std::vector<std::string>& inputs, int64_t frames);
    /// Connects the sequencer to port and each of sources[i] to the recorder's input i, waiting
    /// up to ten seconds for the ports' owner to activate.
    bool connect(const std::string& midiInput, const std::vector<std::string>& sources);
    /// Starts playing and recording kStartMargin frames from now.
    void start();
    /// Waits until the recording is full; false after seconds.
    bool waitDone(double seconds) const;

    /// Recorded input i, frames long (zeros where nothing was recorded yet).
    const std::vector<float>& recording(size_t i) const { return recorded_[i]; }
    uint32_t sampleRate() const { return rate_; }
    /// Cycles the server reported late since open: a recording with any may have gaps.
    int64_t xruns() const { return xruns_.load(); }

private:
    static int seqThunk(jack_nframes_t frames, void* self);
    static int recThunk(jack_nframes_t frames, void* self);
    static int xrunThunk(void* self);

    jack_client_t* seq_ = nullptr;
    jack_client_t* rec_ = nullptr;
    jack_port_t* seqOut_ = nullptr;
    std::vector<jack_port_t*> recIn_;
    std::vector<TimedMidi> messages_;
    size_t nextMessage_ = 0;
    std::vector<std::vector<float>> recorded_;
    int64_t frames_ = 0;
    std::atomic<int64_t> recordedFrames_{0};
    std::atomic<bool> started_{false};
    std::atomic<int64_t> xruns_{0};
    std::atomic<uint32_t> startFrame_{0};
    uint32_t rate_ = 0;
};

}  // namespace velt::corvane::testing
