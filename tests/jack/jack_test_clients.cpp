#include "tests/jack/jack_test_clients.h"

#include <jack/midiport.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>
#include <utility>

namespace velt::corvane::testing {

JackTestClients::~JackTestClients() {
    if (seq_) jack_client_close(seq_);
    if (rec_) jack_client_close(rec_);
}

bool JackTestClients::open(std::vector<TimedMidi> messages, const std::vector<std::string>& inputs,
                           int64_t frames) {
    messages_ = std::move(messages);
    frames_ = frames;
    recorded_.assign(inputs.size(), std::vector<float>(static_cast<size_t>(frames), 0.0f));
    jack_status_t status{};
    seq_ = jack_client_open("corvane-test-seq", JackNoStartServer, &status);
    rec_ = jack_client_open("corvane-test-rec", JackNoStartServer, &status);
    if (!seq_ || !rec_) return false;
    rate_ = jack_get_sample_rate(seq_);
    seqOut_ = jack_port_register(seq_, "out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    for (const std::string& name : inputs)
        recIn_.push_back(jack_port_register(rec_, name.c_str(), JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0));
    if (!seqOut_ || std::find(recIn_.begin(), recIn_.end(), nullptr) != recIn_.end()) return false;
    jack_set_process_callback(seq_, seqThunk, this);
    jack_set_process_callback(rec_, recThunk, this);
    jack_set_xrun_callback(rec_, xrunThunk, this);
    return jack_activate(seq_) == 0 && jack_activate(rec_) == 0;
}

bool JackTestClients::connect(const std::string& midiInput, const std::vector<std::string>& sources) {
    std::vector<std::pair<std::string, std::string>> wanted = {{jack_port_name(seqOut_), midiInput}};
    for (size_t i = 0; i < sources.size() && i < recIn_.size(); ++i)
        wanted.emplace_back(sources[i], jack_port_name(recIn_[i]));
    // A client's ports show before it activates, but take connections only after: the host
    // may still be on its way.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (;;) {
        bool ok = true;
        for (const auto& [from, to] : wanted) {
            const int result = jack_connect(rec_, from.c_str(), to.c_str());
            ok = (result == 0 || result == EEXIST) && ok;
        }
        if (ok) return true;
        if (std::chrono::steady_clock::now() >= until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

void JackTestClients::start() {
    startFrame_.store(jack_frame_time(seq_) + static_cast<uint32_t>(kStartMargin));
    started_.store(true);
}

bool JackTestClients::waitDone(double seconds) const {
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (recordedFrames_.load() < frames_) {
        if (std::chrono::steady_clock::now() >= until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

int JackTestClients::seqThunk(jack_nframes_t frames, void* arg) {
    auto* self = static_cast<JackTestClients*>(arg);
    void* buffer = jack_port_get_buffer(self->seqOut_, frames);
    jack_midi_clear_buffer(buffer);
    if (!self->started_.load()) return 0;
    // Frame counters wrap at 2^32; differences of them stay right.
    const auto now = static_cast<int64_t>(
        static_cast<int32_t>(jack_last_frame_time(self->seq_) - self->startFrame_.load()));
    while (self->nextMessage_ < self->messages_.size()) {
        const TimedMidi& m = self->messages_[self->nextMessage_];
        if (m.frame >= now + frames) break;
        const auto offset = static_cast<jack_nframes_t>(std::max<int64_t>(m.frame - now, 0));
        jack_midi_event_write(buffer, offset, m.bytes.data(), m.bytes.size());
        ++self->nextMessage_;
    }
    return 0;
}

int JackTestClients::recThunk(jack_nframes_t frames, void* arg) {
    auto* self = static_cast<JackTestClients*>(arg);
    if (!self->started_.load()) return 0;
    const auto now = static_cast<int64_t>(
        static_cast<int32_t>(jack_last_frame_time(self->rec_) - self->startFrame_.load()));
    for (size_t p = 0; p < self->recIn_.size(); ++p) {
        const auto* in = static_cast<const float*>(jack_port_get_buffer(self->recIn_[p], frames));
        for (jack_nframes_t f = 0; f < frames; ++f) {
            const int64_t at = now + f;
            if (at >= 0 && at < self->frames_) self->recorded_[p][static_cast<size_t>(at)] = in[f];
        }
    }
    self->recordedFrames_.store(std::clamp<int64_t>(now + frames, 0, self->frames_));
    return 0;
}

int JackTestClients::xrunThunk(void* arg) {
    static_cast<JackTestClients*>(arg)->xruns_.fetch_add(1);
    return 0;
}

}  // namespace velt::corvane::testing
