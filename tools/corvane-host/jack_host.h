// The plug-in as a JACK client: one MIDI input port, the outputs as audio ports, the
// processor run in JACK's process callback at the server's rate and period.
#pragma once

#include <jack/jack.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

#include "tools/corvane-host/edit_ring.h"
#include "tools/corvane-host/host_component_handler.h"
#include "tools/toolkit/plugin_session.h"
#include "tools/vst3host/host_event_list.h"
#include "tools/vst3host/host_parameter_changes.h"

namespace velt::corvane::tools {

struct JackHostSettings {
    std::string clientName = "Corvane Synth PCM";
    bool mix = false;      ///< one stereo pair "out L", "out R" of all 16 outputs
    bool connect = false;  ///< outputs to the playback ports, MIDI hardware ports to the input
};

/// The callback's share of the time between two callbacks over some cycles, and the xruns.
struct JackLoad {
    double average = 0.0;  ///< callback time / period time, summed over the cycles
    double peak = 0.0;     ///< the largest single cycle's
    int64_t cycles = 0;    ///< callbacks that ran the processor
    int64_t xruns = 0;
};

class JackHost {
public:
    /// session must be opened (not prepared) and outlive the host.
    explicit JackHost(PluginSession& session);
    /// close().
    ~JackHost();
    JackHost(const JackHost&) = delete;
    JackHost& operator=(const JackHost&) = delete;

    /// Joins the running server (never starts one), registers the ports, prepares the processor
    /// at the server's rate and period, activates and, with connect, connects. False with a
    /// one-line error (nothing stays open then).
    bool open(const JackHostSettings& settings, std::string& error);
    /// Main thread, between callbacks' worth of time: follows a change of period or rate
    /// (processing stopped and restarted, the callback silent meanwhile). False with error
    /// when the processor refuses the new setup.
    bool service(std::string& error);
    /// Deactivates and leaves the server, then stops the processor. Main thread.
    void close();

    /// Main thread: queues an edit for the next callback (offset 0); false when the queue is full.
    bool queueEdit(const ParameterEdit& edit) { return edits_.push(edit); }

    /// Main thread, before close: hands edits' pending edits to the callback and waits (at most
    /// 0.2 s) until it has taken them.
    void drainEdits(HostComponentHandler& edits);

    /// The server shut down or threw the client out; the reason when it gave one.
    bool serverGone() const { return gone_.load(); }
    std::string goneReason() const;

    /// Load and xruns since the last call. Main thread.
    JackLoad takeLoad();
    /// MIDI messages that found no room in a callback's lists, since open.
    int64_t droppedMessages() const { return dropped_.load(std::memory_order_relaxed); }
    uint32_t sampleRate() const { return sampleRate_; }
    uint32_t periodFrames() const { return period_; }
    jack_client_t* client() const { return client_; }

    /// Called on the callback's thread around every callback's work (either may be null),
    /// so that a test can watch what it does. Set before open.
    static void setCallbackProbe(void (*enter)(), void (*leave)());

private:
    static int processThunk(jack_nframes_t frames, void* self);
    static int bufferSizeThunk(jack_nframes_t frames, void* self);
    static int sampleRateThunk(jack_nframes_t rate, void* self);
    static int xrunThunk(void* self);
    static void shutdownThunk(jack_status_t code, const char* reason, void* self);

    /// Audio thread only.
    int process(jack_nframes_t frames) noexcept;
    void silence(jack_nframes_t frames) noexcept;
    void writeOutputs(jack_nframes_t frames) noexcept;
    bool registerPorts(std::string& error);
    void connectPorts();
    bool reconfigure(std::string& error);

    PluginSession& session_;
    JackHostSettings settings_;
    jack_client_t* client_ = nullptr;
    bool active_ = false;
    jack_port_t* midiIn_ = nullptr;
    std::array<jack_port_t*, 32> outs_{};
    int32_t outCount_ = 0;
    HostEventList events_;
    HostParameterChanges params_;
    EditRing edits_;
    uint32_t sampleRate_ = 0;
    uint32_t period_ = 0;

    // The main thread sets paused_ and waits until busy_ is clear before it touches the
    // processor; the callback sets busy_ before it looks at paused_ (both sequentially consistent).
    std::atomic<bool> paused_{true};
    std::atomic<bool> busy_{false};
    std::atomic<bool> reconfigure_{false};
    std::atomic<bool> gone_{false};
    char goneReason_[160] = {};

    std::atomic<uint64_t> busyNs_{0};
    std::atomic<uint64_t> periodNs_{0};
    std::atomic<uint64_t> peakPpm_{0};
    std::atomic<int64_t> cycles_{0};
    std::atomic<int64_t> xruns_{0};
    std::atomic<int64_t> dropped_{0};
};

}  // namespace velt::corvane::tools
