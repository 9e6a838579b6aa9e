// The host's IBStream as the state chunk's byte source and sink.
#pragma once

#include "host/state_chunk.h"
#include "pluginterfaces/base/ibstream.h"

namespace velt::corvane::plugin {

class StreamSource final : public state::ByteSource {
public:
    explicit StreamSource(Steinberg::IBStream* stream) : stream_(stream) {}
    /// A short read counts as a failure; the stream is never read past what was asked.
    bool read(void* dst, size_t size) override {
        if (!stream_ || size > 0x7FFFFFFF) return false;
        if (size == 0) return true;
        Steinberg::int32 got = 0;
        return stream_->read(dst, static_cast<Steinberg::int32>(size), &got) == Steinberg::kResultOk &&
               got == static_cast<Steinberg::int32>(size);
    }

private:
    Steinberg::IBStream* stream_;
};

class StreamSink final : public state::ByteSink {
public:
    explicit StreamSink(Steinberg::IBStream* stream) : stream_(stream) {}
    void write(const void* src, size_t size) override {
        if (!stream_ || size == 0) return;
        Steinberg::int32 written = 0;
        stream_->write(const_cast<void*>(src), static_cast<Steinberg::int32>(size), &written);
    }

private:
    Steinberg::IBStream* stream_;
};

}  // namespace velt::corvane::plugin
