// Small builders for the messages the JACK tests play.
#pragma once

#include <cstdint>
#include <vector>

#include "tests/jack/jack_test_clients.h"

namespace velt::corvane::testing {

inline TimedMidi midi3(int64_t frame, int status, int data1, int data2) {
    return TimedMidi{
        frame, {static_cast<uint8_t>(status), static_cast<uint8_t>(data1), static_cast<uint8_t>(data2)}};
}
inline TimedMidi noteOn(int64_t frame, int channel, int key, int velocity = 100) {
    return midi3(frame, 0x90 | channel, key, velocity);
}
inline TimedMidi noteOff(int64_t frame, int channel, int key) {
    return midi3(frame, 0x80 | channel, key, 0);
}
inline TimedMidi controlChange(int64_t frame, int channel, int number, int value) {
    return midi3(frame, 0xB0 | channel, number, value);
}
inline TimedMidi programChange(int64_t frame, int channel, int program) {
    return TimedMidi{frame, {static_cast<uint8_t>(0xC0 | channel), static_cast<uint8_t>(program)}};
}

}  // namespace velt::corvane::testing
