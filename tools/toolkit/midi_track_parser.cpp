#include "tools/toolkit/midi_track_parser.h"

#include <algorithm>
#include <cstdio>

namespace velt::corvane::tools {

namespace {

std::string hexByte(uint8_t b) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", b);
    return text;
}

/// A cursor over one track's bytes that never moves past its end.
class TrackCursor {
public:
    TrackCursor(const uint8_t* data, size_t length, size_t fileOffset)
        : data_(data), length_(length), fileOffset_(fileOffset) {}

    bool atEnd() const { return pos_ >= length_; }
    size_t remaining() const { return length_ - pos_; }
    size_t fileOffset() const { return fileOffset_ + pos_; }
    const uint8_t* here() const { return data_ + pos_; }

    bool readByte(uint8_t& b) {
        if (pos_ >= length_) return false;
        b = data_[pos_++];
        return true;
    }

    void skip(size_t n) { pos_ += std::min(n, remaining()); }

    /// A variable-length quantity of at most 4 bytes (28 bits).
    bool readVlq(uint32_t& value, std::string& error) {
        value = 0;
        for (int i = 0; i < 4; ++i) {
            uint8_t b = 0;
            if (!readByte(b)) {
                error = "truncated variable-length quantity" + where();
                return false;
            }
            value = (value << 7) | (b & 0x7Fu);
            if ((b & 0x80) == 0) return true;
        }
        error = "variable-length quantity longer than 4 bytes" + where();
        return false;
    }

    std::string where() const { return " at byte " + std::to_string(fileOffset()); }

private:
    const uint8_t* data_;
    size_t length_;
    size_t fileOffset_;
    size_t pos_ = 0;
};

/// Data bytes of a channel message: 2, except program change and channel pressure.
int dataBytesOf(uint8_t status) {
    const uint8_t kind = status & 0xF0;
    return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

/// A SysEx message gathered from an F0 packet and any F7 continuations.
class SysExAssembler {
public:
    bool open() const { return open_; }

    /// Starts a message with the bytes after F0; an unfinished one is dropped.
    void start() {
        open_ = true;
        length_ = 0;
    }

    /// Appends a packet; true when it closes the message (ends with F7).
    bool append(const uint8_t* bytes, size_t n) {
        const size_t take = std::min(n, kSongSysExLimit - length_);
        std::copy(bytes, bytes + take, bytes_ + length_);
        length_ += take;
        return n > 0 && bytes[n - 1] == 0xF7;
    }

    /// Moves the finished message into the song as an event at tick.
    bool finish(uint64_t tick, uint16_t track, TrackParseOutput& out, std::string& error) {
        open_ = false;
        if (out.sysExBytes.size() + length_ > UINT32_MAX) {
            error = "too much SysEx data";
            return false;
        }
        SongEvent e;
        e.tick = tick;
        e.track = track;
        e.status = 0xF0;
        e.sysExOffset = static_cast<uint32_t>(out.sysExBytes.size());
        e.sysExLength = static_cast<uint16_t>(length_);
        out.sysExBytes.insert(out.sysExBytes.end(), bytes_, bytes_ + length_);
        out.events.push_back(e);
        return true;
    }

private:
    uint8_t bytes_[kSongSysExLimit];
    size_t length_ = 0;
    bool open_ = false;
};

/// Reads a length-prefixed payload; false when it runs past the track.
bool readPayload(TrackCursor& cursor, const uint8_t*& bytes, size_t& n, const char* what,
                 std::string& error) {
    uint32_t length = 0;
    if (!cursor.readVlq(length, error)) return false;
    if (length > cursor.remaining()) {
        error = std::string(what) + " of " + std::to_string(length) +
                " bytes runs past the end of the track" + cursor.where();
        return false;
    }
    bytes = cursor.here();
    n = length;
    cursor.skip(length);
    return true;
}

bool parseMeta(TrackCursor& cursor, uint64_t tick, TrackParseOutput& out, bool& endOfTrack,
               std::string& error) {
    uint8_t type = 0;
    if (!cursor.readByte(type)) {
        error = "truncated meta event" + cursor.where();
        return false;
    }
    const size_t start = cursor.fileOffset();
    const uint8_t* bytes = nullptr;
    size_t n = 0;
    if (!readPayload(cursor, bytes, n, "meta event", error)) return false;
    if (type == 0x2F) {
        endOfTrack = true;
    } else if (type == 0x51) {
        if (n != 3) {
            error = "tempo event of " + std::to_string(n) + " bytes (3 expected) at byte " +
                    std::to_string(start);
            return false;
        }
        const uint32_t micros = (uint32_t{bytes[0]} << 16) | (uint32_t{bytes[1]} << 8) | uint32_t{bytes[2]};
        if (micros == 0) {
            error = "tempo of 0 microseconds per quarter note at byte " + std::to_string(start);
            return false;
        }
        out.tempoMap.push_back(TempoChange{tick, micros});
    }
    // Other meta events (names, markers, signatures) carry nothing to render.
    return true;
}

}  // namespace

bool parseTrack(const uint8_t* data, size_t length, size_t fileOffset, uint16_t track, TrackParseOutput& out,
                std::string& error) {
    TrackCursor cursor(data, length, fileOffset);
    SysExAssembler sysEx;
    uint64_t tick = 0;
    uint8_t runningStatus = 0;
    bool endOfTrack = false;
    // A track that stops at its chunk end without an end-of-track event is accepted.
    while (!endOfTrack && !cursor.atEnd()) {
        uint32_t delta = 0;
        if (!cursor.readVlq(delta, error)) return false;
        tick += delta;
        out.endTick = std::max(out.endTick, tick);
        const size_t eventOffset = cursor.fileOffset();
        uint8_t first = 0;
        if (!cursor.readByte(first)) {
            error = "track ends after a delta time" + cursor.where();
            return false;
        }
        if (first == 0xFF) {
            if (!parseMeta(cursor, tick, out, endOfTrack, error)) return false;
            continue;
        }
        if (first == 0xF0 || first == 0xF7) {
            const uint8_t* bytes = nullptr;
            size_t n = 0;
            if (!readPayload(cursor, bytes, n, "SysEx event", error)) return false;
            bool closes = false;
            if (first == 0xF0) {
                sysEx.start();
                closes = sysEx.append(bytes, n);
            } else if (sysEx.open()) {
                closes = sysEx.append(bytes, n);
            } else if (n > 0 && bytes[0] == 0xF0) {
                // An escaped packet that itself starts a message.
                sysEx.start();
                closes = sysEx.append(bytes + 1, n - 1);
            }
            // Any other F7 packet escapes bytes that are no SysEx message: nothing to play.
            if (closes && !sysEx.finish(tick, track, out, error)) return false;
            continue;
        }
        uint8_t status = first;
        int have = 0;
        uint8_t values[2] = {0, 0};
        if (first < 0x80) {
            if (runningStatus == 0) {
                error =
                    "running status without a previous status byte at byte " + std::to_string(eventOffset);
                return false;
            }
            status = runningStatus;
            values[0] = first;
            have = 1;
        } else if (first >= 0xF0) {
            error = "unexpected status byte " + hexByte(first) + " at byte " + std::to_string(eventOffset);
            return false;
        }
        const int needed = dataBytesOf(status);
        for (; have < needed; ++have) {
            if (!cursor.readByte(values[have])) {
                error = "truncated channel message at byte " + std::to_string(eventOffset);
                return false;
            }
            if (values[have] >= 0x80) {
                error = "data byte " + hexByte(values[have]) + " in a channel message at byte " +
                        std::to_string(cursor.fileOffset() - 1);
                return false;
            }
        }
        // Meta and SysEx events leave running status as it was, as most writers expect.
        runningStatus = status;
        SongEvent e;
        e.tick = tick;
        e.track = track;
        e.status = status;
        e.data1 = values[0];
        e.data2 = values[1];
        out.events.push_back(e);
    }
    // A message still waiting for its closing F7 here never ended: it is dropped.
    return true;
}

}  // namespace velt::corvane::tools
