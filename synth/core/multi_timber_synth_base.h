// The multi-timbral synthesizer module: 16 parts, a voice pool, MIDI dispatch and
// the block renderer that renders every voice up to each event's frame.
#pragma once

#include <cstdint>
#include <memory>

#include "synth/core/corvane_module.h"
#include "synth/core/engine_limits.h"
#include "synth/core/midi_event.h"
#include "synth/core/part_state.h"

namespace velt::corvane::synth {

class MultiTimberSynthBase : public ICorvaneModule {
public:
    /// What the engine core requires of a voice.
    class VoiceUnitBase {
    public:
        /// Mixes frames renderPosition..endFrame-1 into (*left)[i], (*right)[i] and
        /// advances renderPosition; may leave the voice idle. Audio thread.
        using RenderFn = void (*)(VoiceUnitBase& voice, float** left, float** right,
                                  const int32_t& endFrame) noexcept;

        enum State : int32_t { kIdle = 0, kSounding = 0x01, kHeld = 0x10, kReleased = 0x20, kDamped = 0x40 };

        virtual ~VoiceUnitBase() = default;
        virtual void kill() = 0;
        virtual void noteOff() = 0;
        virtual void damp() = 0;
        virtual void noteOn(const int32_t& channel, const int32_t& key, const int32_t& velocity) = 0;
        virtual void setMasterVolume(const float& volume) = 0;
        virtual void setBendRange(const int32_t& semitones) = 0;
        virtual void setBend(const int32_t& value) = 0;
        virtual void setModulation(const int32_t& value) = 0;
        virtual void setVolume(const int32_t& value) = 0;
        virtual void setExpression(const int32_t& value) = 0;
        virtual void setPan(const int32_t& value) = 0;

        RenderFn render = nullptr;
        int32_t outputChannel = 0;  ///< left channel index, 2 * outputBus
        int32_t state = kIdle;
        int32_t part = -1;
        int32_t key = 0;
        int32_t renderPosition = 0;
    };

    using ControllerHandler = void (MultiTimberSynthBase::*)(const MidiEvent& event);
    using ParameterHandler = void (MultiTimberSynthBase::*)(int32_t channel, int32_t value, int32_t keepMask,
                                                            int32_t step);

    MultiTimberSynthBase(const float& masterTune, const float& masterVolume);
    MultiTimberSynthBase(const MultiTimberSynthBase&) = delete;
    MultiTimberSynthBase& operator=(const MultiTimberSynthBase&) = delete;
    ~MultiTimberSynthBase() override;

    // Module interface.
    void setSampleRate(const float& rate) override;
    void setMaxBlockSize(const int32_t&) override {}
    void reset() override;
    void systemReset() override;
    void attach(ModuleRack& rack) override;
    void detach() override { killVoices(-1); }
    void setSuspended(bool) override { killVoices(-1); }
    void reservedSlot8() override { killVoices(-1); }
    void reservedSlot9() override { killVoices(-1); }
    void deactivate() override { killVoices(-1); }
    void activate() override { killVoices(-1); }
    /// Audio thread: renders the block, applying each event at its frame.
    void process(BlockContext& context) override;

    /// Replaces the voice pool with count idle voices and sets voiceCount.
    virtual void setVoiceCount(const int32_t& count) = 0;
    /// Recomputes what depends on sample rate, master tune or voice count.
    virtual void updateRates() {}
    virtual void buildLevelTable();
    /// Stops the voices and restores the sound data to defaults.
    virtual void resetPresets() {}
    virtual float getMasterVolume() const { return masterVolume_; }
    virtual void setMasterVolume(const float& volume);
    virtual float getSampleRate() const { return sampleRate_; }
    virtual void applySampleRate(const float& rate);
    virtual float getMasterTune() const { return masterTune_; }
    virtual void setMasterTune(const float& tune);
    virtual int32_t countActiveVoices() const;
    virtual int32_t getVoiceCount() const { return voiceCount_; }
    /// Rounds n up to a power of two (at most 1024) and rebuilds the pool; returns voiceCount.
    virtual int32_t setPolyphony(const int32_t& n);
    /// The voice count that setPolyphony(n) gives: n rounded up to a power of two, at most 1024.
    int32_t polyphonyFor(int32_t n) const;
    virtual void setPartOutput(const int32_t& part, const int32_t& bus);
    virtual uint8_t getManufacturerId() const { return manufacturerId_; }
    virtual void setManufacturerId(uint8_t id) { manufacturerId_ = id & 0x7F; }
    virtual uint8_t getDeviceId() const { return deviceId_; }
    virtual void setDeviceId(uint8_t id) { deviceId_ = id & 0x7F; }
    virtual uint8_t getModelId() const { return modelId_; }
    virtual void setModelId(uint8_t id) { modelId_ = id & 0x7F; }
    virtual void systemResetBody();
    virtual int32_t getPartDefaultMode(const int32_t& part) const;
    virtual void setPartDefaultMode(const int32_t& part, const int32_t& mode);
    virtual int32_t getPartMode(const int32_t& part) const;
    virtual void setPartMode(const int32_t& part, const int32_t& mode);
    virtual void resetAllParts(bool restoreModes);
    /// part < 0: every voice stops at once; otherwise only the voices of that part.
    virtual void killVoices(const int32_t& part);
    /// The same with the fast release.
    virtual void dampVoices(const int32_t& part);
    virtual void sendNoteOff(const int32_t& channel, const int32_t& key);
    virtual void sendNoteOn(const int32_t& channel, const int32_t& key, const int32_t& velocity);
    virtual void sendPolyPressure(const int32_t& channel, const int32_t& key, const int32_t& value);
    virtual void sendControlChange(const int32_t& channel, const int32_t& controller, const int32_t& value);
    virtual void sendProgramChange(const int32_t& channel, const int32_t& program);
    virtual void sendChannelPressure(const int32_t& channel, const int32_t& value);
    virtual void sendPitchBend(const int32_t& channel, const int32_t& lsb, const int32_t& msb);
    virtual void sendPitchBend14(const int32_t& channel, const int32_t& value);
    /// Only while SysEx reception is on; at most 256 bytes are taken.
    virtual void sendSysEx(const uint8_t* bytes, const int32_t& length);
    virtual void releaseNote(MidiEvent& event);
    virtual void allocateVoice(MidiEvent& event);
    virtual void onPolyPressure(MidiEvent&) {}
    virtual void onProgramChange(MidiEvent& event);
    virtual void onChannelPressure(MidiEvent& event);
    virtual void onPitchBend(MidiEvent& event);
    virtual void receiveSysEx(MidiEvent&) {}
    virtual bool isRpnEnabled() const { return rpnEnabled_; }
    virtual void setRpnEnabled(bool enabled);
    virtual bool isNrpnEnabled() const { return nrpnEnabled_; }
    virtual void setNrpnEnabled(bool enabled);

    // Direct access for the thread that renders this engine (the audio thread, or the owner
    // while no block can run) and for tests. Other threads read a published copy instead.
    PartState& part(int32_t index) { return parts_[index & 15]; }
    const PartState& part(int32_t index) const { return parts_[index & 15]; }
    VoiceUnitBase& voice(int32_t index) { return *voices_[index]; }
    const VoiceUnitBase& voice(int32_t index) const { return *voices_[index]; }
    int32_t voiceCursor() const { return voiceCursor_; }
    int32_t voiceMask() const { return voiceMask_; }
    float levelTable(int32_t index) const { return levelTable_[index & 127]; }
    bool acceptsSysEx() const { return acceptSysEx_; }
    void setAcceptSysEx(bool accept) { acceptSysEx_ = accept; }
    uint32_t receivePortMask() const { return receivePortMask_; }
    void setReceivePortMask(uint32_t mask) { receivePortMask_ = mask; }
    int32_t maxPartMode() const { return maxPartMode_; }

    /// The controller-121 handler (also the editor's "Reset All Controller", sent as that
    /// controller). The rendering thread.
    void resetAllControllers(int32_t channel);
    /// Stores a part's bend range without telling any voice. The rendering thread, applying
    /// an edit.
    void setPartBendRange(int32_t channel, int32_t semitones);

protected:
    /// The three-pass round-robin search; moves the cursor onto the voice found.
    /// Returns the voice index, or -1 (cursor unchanged) when no voice can be taken.
    int32_t findVoiceForNote();
    /// Sends the voice that the last note on took to its part's output pair.
    void routeAllocatedVoice();
    /// Renders every sounding voice up to frame p. Audio thread.
    void renderVoicesTo(BlockContext& context, int32_t p) noexcept;
    /// Installs a new pool table; the derived class owns the voice objects.
    void setVoiceTable(std::unique_ptr<VoiceUnitBase*[]> table, int32_t count);

    std::unique_ptr<float[]> levelTable_;
    uint32_t receivePortMask_ = 0xFFFF;
    bool acceptSysEx_ = false;
    uint8_t manufacturerId_ = 0x7D;
    uint8_t deviceId_ = 0x10;
    uint8_t modelId_ = 0;
    float sampleRate_ = kDefaultSampleRate;
    float masterTune_;
    float masterVolume_;
    PartState parts_[kPartCount];
    int32_t maxPartMode_ = 0;
    int32_t voiceCount_ = kDefaultVoices;
    std::unique_ptr<VoiceUnitBase*[]> voices_;
    int32_t voiceCursor_ = 0;
    int32_t voiceMask_ = kDefaultVoices - 1;
    int32_t allocatedVoice_ = -1;  ///< voice taken by the last allocation, -1 for none
    MidiEvent scratchEvent_;
    ControllerHandler controllerHandlers_[kControllerCount];
    ParameterHandler parameterHandlers_[kParameterHandlerCount];
    bool rpnEnabled_ = true;
    bool nrpnEnabled_ = false;

private:
    void fillHandlerTables();
    void dataEntry(const MidiEvent& e, int32_t value, int32_t keepMask, int32_t step);

    // Controller handlers.
    void storeController(const MidiEvent& e);
    void ignoreController(const MidiEvent& e);
    void onModulation(const MidiEvent& e);
    void onDataEntryMsb(const MidiEvent& e);
    void onVolume(const MidiEvent& e);
    void onPan(const MidiEvent& e);
    void onExpression(const MidiEvent& e);
    void onDataEntryLsb(const MidiEvent& e);
    void onDataIncrement(const MidiEvent& e);
    void onDataDecrement(const MidiEvent& e);
    void onNrpnLsb(const MidiEvent& e);
    void onNrpnMsb(const MidiEvent& e);
    void onRpnLsb(const MidiEvent& e);
    void onRpnMsb(const MidiEvent& e);
    void onAllSoundOff(const MidiEvent& e);
    void onResetAllControllers(const MidiEvent& e);
    void onAllNotesOff(const MidiEvent& e);

    // Parameter handlers.
    void ignoreParameter(int32_t channel, int32_t value, int32_t keepMask, int32_t step);
    void onBendSensitivity(int32_t channel, int32_t value, int32_t keepMask, int32_t step);
    void onMasterVolumeParameter(int32_t channel, int32_t value, int32_t keepMask, int32_t step);
    void onPartDefaultModeParameter(int32_t channel, int32_t value, int32_t keepMask, int32_t step);
    void onPartModeParameter(int32_t channel, int32_t value, int32_t keepMask, int32_t step);

    void selectParameter(PartState& p, bool nrpn);
};

}  // namespace velt::corvane::synth
