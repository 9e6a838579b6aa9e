#include "tools/corvane-host/jack_host.h"

#include <jack/midiport.h>
#include <time.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "tools/corvane-host/midi_to_host_input.h"

namespace velt::corvane::tools {

using namespace Steinberg;

namespace {

void (*gProbeEnter)() = nullptr;
void (*gProbeLeave)() = nullptr;

uint64_t nowNs() noexcept {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<uint64_t>(t.tv_sec) * 1000000000u + static_cast<uint64_t>(t.tv_nsec);
}

/// Error text of a failed jack_client_open.
std::string openFailure(jack_status_t status) {
    if (status & JackServerFailed) return "cannot connect to a JACK server (is one running?)";
    if (status & JackVersionError) return "the JACK server speaks another protocol version";
    if (status & JackNameNotUnique) return "the JACK client name is taken";
    return "the JACK server refused the client";
}

// libjack prints its own complaints (a server that went away, say) on standard error; the
// host reports what matters in one line of its own.
void quiet(const char*) {}

}  // namespace

void JackHost::setCallbackProbe(void (*enter)(), void (*leave)()) {
    gProbeEnter = enter;
    gProbeLeave = leave;
}

JackHost::JackHost(PluginSession& session)
    : session_(session), events_(kProcessorQueueCapacity), params_(kProcessorQueueCapacity) {}

JackHost::~JackHost() {
    close();
}

bool JackHost::open(const JackHostSettings& settings, std::string& error) {
    close();
    settings_ = settings;
    if (events_.capacity() == 0 || params_.capacity() == 0) {
        error = "out of memory";
        return false;
    }
    jack_set_error_function(quiet);
    jack_set_info_function(quiet);
    jack_status_t status{};
    client_ = jack_client_open(settings.clientName.c_str(), JackNoStartServer, &status);
    if (!client_) {
        error = openFailure(status);
        return false;
    }
    gone_.store(false);
    paused_.store(true);
    jack_set_process_callback(client_, processThunk, this);
    jack_set_buffer_size_callback(client_, bufferSizeThunk, this);
    jack_set_sample_rate_callback(client_, sampleRateThunk, this);
    jack_set_xrun_callback(client_, xrunThunk, this);
    jack_on_info_shutdown(client_, shutdownThunk, this);
    if (!registerPorts(error)) {
        close();
        return false;
    }
    sampleRate_ = jack_get_sample_rate(client_);
    period_ = jack_get_buffer_size(client_);
    if (!session_.prepare(sampleRate_, static_cast<int32_t>(period_), error)) {
        close();
        return false;
    }
    reconfigure_.store(false);
    paused_.store(false);
    if (jack_activate(client_) != 0) {
        error = "the JACK server would not activate the client";
        close();
        return false;
    }
    active_ = true;
    if (settings.connect) connectPorts();
    return true;
}

bool JackHost::registerPorts(std::string& error) {
    midiIn_ = jack_port_register(client_, "midi in", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
    outCount_ = settings_.mix ? 2 : 32;
    bool ok = midiIn_ != nullptr;
    for (int32_t i = 0; ok && i < outCount_; ++i) {
        const char* side = i % 2 == 0 ? "L" : "R";
        const std::string name =
            settings_.mix ? std::string("out ") + side : "out " + std::to_string(i / 2 + 1) + " " + side;
        outs_[static_cast<size_t>(i)] =
            jack_port_register(client_, name.c_str(), JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput, 0);
        ok = outs_[static_cast<size_t>(i)] != nullptr;
    }
    if (!ok) error = "the JACK server would not register the client's ports";
    return ok;
}

void JackHost::connectPorts() {
    // A connection that already exists, or one the server refuses, leaves the others be.
    if (const char** playback =
            jack_get_ports(client_, nullptr, JACK_DEFAULT_AUDIO_TYPE, JackPortIsPhysical | JackPortIsInput)) {
        const int count = [&] {
            int n = 0;
            while (playback[n]) ++n;
            return n;
        }();
        // Every left to the first playback port, every right to the second, so that each
        // part is heard on a stereo card.
        for (int32_t i = 0; count > 0 && i < outCount_; ++i)
            jack_connect(client_, jack_port_name(outs_[static_cast<size_t>(i)]),
                         playback[std::min(i % 2, count - 1)]);
        jack_free(playback);
    }
    if (const char** hardware =
            jack_get_ports(client_, nullptr, JACK_DEFAULT_MIDI_TYPE, JackPortIsPhysical | JackPortIsOutput)) {
        for (int n = 0; hardware[n]; ++n) jack_connect(client_, hardware[n], jack_port_name(midiIn_));
        jack_free(hardware);
    }
}

void JackHost::close() {
    if (client_) {
        // After the server went away the client can only be closed.
        if (active_ && !gone_.load()) jack_deactivate(client_);
        jack_client_close(client_);
        client_ = nullptr;
    }
    active_ = false;
    midiIn_ = nullptr;
    outs_.fill(nullptr);
    outCount_ = 0;
    if (Vst3Processing* processing = session_.processing()) processing->stop();
}

bool JackHost::service(std::string& error) {
    if (!client_ || gone_.load() || !reconfigure_.load()) return true;
    return reconfigure(error);
}

bool JackHost::reconfigure(std::string& error) {
    paused_.store(true);
    // The callback finishes the cycle it is in; it never waits, so this is one period at most.
    for (int i = 0; busy_.load() && i < 20000; ++i) {
        timespec pause{0, 100000};
        nanosleep(&pause, nullptr);
    }
    if (busy_.load()) {
        error = "the JACK callback did not finish its cycle";
        return false;
    }
    reconfigure_.store(false);
    const uint32_t rate = jack_get_sample_rate(client_);
    const uint32_t period = jack_get_buffer_size(client_);
    Vst3Processing* processing = session_.processing();
    // prepare() stops processing and deactivates first, then sets up and starts again.
    const tresult r = processing
                          ? processing->prepare(static_cast<double>(rate), static_cast<int32_t>(period))
                          : kResultFalse;
    if (r != kResultOk) {
        error = "the plug-in refused to process at " + std::to_string(rate) + " Hz in blocks of " +
                std::to_string(period);
        return false;
    }
    sampleRate_ = rate;
    period_ = period;
    paused_.store(false);
    return true;
}

void JackHost::drainEdits(HostComponentHandler& edits) {
    for (int i = 0; i < 200; ++i) {
        const bool all = edits.takePendingEdits([this](Steinberg::Vst::ParamID id, double value) {
            return edits_.push(ParameterEdit{id, value});
        });
        if (all && edits_.empty()) return;
        if (!active_ || gone_.load() || paused_.load()) return;
        timespec pause{0, 1000000};
        nanosleep(&pause, nullptr);
    }
}

std::string JackHost::goneReason() const {
    // Written once by the shutdown notification before gone_ is set.
    return gone_.load() ? std::string(goneReason_) : std::string();
}

JackLoad JackHost::takeLoad() {
    JackLoad load;
    const uint64_t busy = busyNs_.exchange(0, std::memory_order_relaxed);
    const uint64_t period = periodNs_.exchange(0, std::memory_order_relaxed);
    load.average = period > 0 ? static_cast<double>(busy) / static_cast<double>(period) : 0.0;
    load.peak = static_cast<double>(peakPpm_.exchange(0, std::memory_order_relaxed)) / 1.0e6;
    load.cycles = cycles_.exchange(0, std::memory_order_relaxed);
    load.xruns = xruns_.exchange(0, std::memory_order_relaxed);
    return load;
}

int JackHost::processThunk(jack_nframes_t frames, void* self) {
    return static_cast<JackHost*>(self)->process(frames);
}

int JackHost::bufferSizeThunk(jack_nframes_t, void* self) {
    auto* host = static_cast<JackHost*>(self);
    // Quiet until the main thread has set the processor up again.
    host->paused_.store(true);
    host->reconfigure_.store(true);
    return 0;
}

int JackHost::sampleRateThunk(jack_nframes_t rate, void* self) {
    auto* host = static_cast<JackHost*>(self);
    // The first call reports the rate the client was opened with.
    if (rate == host->sampleRate_) return 0;
    host->paused_.store(true);
    host->reconfigure_.store(true);
    return 0;
}

int JackHost::xrunThunk(void* self) {
    static_cast<JackHost*>(self)->xruns_.fetch_add(1, std::memory_order_relaxed);
    return 0;
}

void JackHost::shutdownThunk(jack_status_t, const char* reason, void* self) {
    auto* host = static_cast<JackHost*>(self);
    if (reason) {
        std::strncpy(host->goneReason_, reason, sizeof host->goneReason_ - 1);
        // One line: a reason with a line break keeps its first.
        if (char* cut = std::strpbrk(host->goneReason_, "\r\n")) *cut = '\0';
    }
    host->gone_.store(true);
}

void JackHost::silence(jack_nframes_t frames) noexcept {
    for (int32_t i = 0; i < outCount_; ++i) {
        auto* out = static_cast<float*>(jack_port_get_buffer(outs_[static_cast<size_t>(i)], frames));
        if (out) std::fill(out, out + frames, 0.0f);
    }
}

void JackHost::writeOutputs(jack_nframes_t frames) noexcept {
    Vst3Processing* processing = session_.processing();
    for (int32_t i = 0; i < outCount_; ++i) {
        auto* out = static_cast<float*>(jack_port_get_buffer(outs_[static_cast<size_t>(i)], frames));
        if (!out) continue;
        if (!settings_.mix) {
            const float* in = processing->channel(i);
            std::copy(in, in + frames, out);
            continue;
        }
        std::fill(out, out + frames, 0.0f);
        for (int32_t bus = 0; bus < 16; ++bus) {
            const float* in = processing->channel(2 * bus + i);
            for (jack_nframes_t f = 0; f < frames; ++f) out[f] += in[f];
        }
    }
}

int JackHost::process(jack_nframes_t frames) noexcept {
    busy_.store(true);
    Vst3Processing* processing = session_.processing();
    if (paused_.load() || !processing || !processing->prepared()) {
        silence(frames);
        busy_.store(false);
        return 0;
    }
    if (frames > static_cast<jack_nframes_t>(processing->maxBlock())) {
        // A longer period than the processor was set up for: wait for the main thread's new setup.
        reconfigure_.store(true);
        silence(frames);
        busy_.store(false);
        return 0;
    }
    if (gProbeEnter) gProbeEnter();
    const uint64_t start = nowNs();
    events_.clear();
    params_.clear();
    ParameterEdit edit;
    // The editor's edits go first, so that a controller the keyboard sends in the cycle wins.
    while (edits_.pop(edit))
        if (!params_.add(edit.id, 0, edit.value)) dropped_.fetch_add(1, std::memory_order_relaxed);
    if (void* midi = jack_port_get_buffer(midiIn_, frames)) {
        const MidiParameterMap& map = session_.midiMap();
        const uint32_t count = jack_midi_get_event_count(midi);
        for (uint32_t i = 0; i < count; ++i) {
            jack_midi_event_t event;
            if (jack_midi_event_get(&event, midi, i) != 0) continue;
            if (addMidiMessage(map, event.time, event.buffer, event.size, events_, params_) ==
                MidiInputResult::Full)
                dropped_.fetch_add(1, std::memory_order_relaxed);
        }
    }
    if (processing->processBlock(static_cast<int32_t>(frames), &events_, &params_) == kResultOk)
        writeOutputs(frames);
    else
        silence(frames);
    const uint64_t busy = nowNs() - start;
    const uint64_t period = static_cast<uint64_t>(frames) * 1000000000u / std::max<uint32_t>(sampleRate_, 1);
    busyNs_.fetch_add(busy, std::memory_order_relaxed);
    periodNs_.fetch_add(period, std::memory_order_relaxed);
    const uint64_t ppm = period > 0 ? busy * 1000000u / period : 0;
    if (ppm > peakPpm_.load(std::memory_order_relaxed)) peakPpm_.store(ppm, std::memory_order_relaxed);
    cycles_.fetch_add(1, std::memory_order_relaxed);
    if (gProbeLeave) gProbeLeave();
    busy_.store(false);
    return 0;
}

}  // namespace velt::corvane::tools
