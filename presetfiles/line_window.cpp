#include "presetfiles/line_window.h"

#include <cstring>

namespace velt::corvane::presetfiles {

size_t StringTextSource::read(char* dst, size_t capacity) {
    const size_t remaining = text_.size() - position_;
    const size_t n = remaining < capacity ? remaining : capacity;
    std::memcpy(dst, text_.data() + position_, n);
    position_ += n;
    return n;
}

size_t StreamTextSource::read(char* dst, size_t capacity) {
    if (!stream_) return 0;
    stream_.read(dst, static_cast<std::streamsize>(capacity));
    const std::streamsize n = stream_.gcount();
    return n > 0 ? static_cast<size_t>(n) : 0;
}

size_t LineWindow::look(size_t count) {
    if (visible() < count && !ended_) {
        // Drop what lies behind the cursor first, so the buffer never grows with the text.
        buffer_.erase(0, head_);
        head_ = 0;
        while (buffer_.size() < count && !ended_) {
            const size_t old = buffer_.size();
            buffer_.resize(old + kChunkBytes);
            const size_t n = source_.read(&buffer_[old], kChunkBytes);
            buffer_.resize(old + n);
            if (n == 0) ended_ = true;
        }
    }
    const size_t v = visible();
    return v < count ? v : count;
}

void LineWindow::skip(size_t count) {
    const size_t v = visible();
    head_ += count < v ? count : v;
}

void LineWindow::skipBlanks() {
    while (visible() > 0 || look(1) > 0) {
        const char* p = data();
        const size_t v = visible();
        size_t i = 0;
        while (i < v && (p[i] == ' ' || p[i] == '\t')) ++i;
        skip(i);
        if (i < v) return;
    }
}

bool LineWindow::nextLine() {
    while (visible() > 0 || look(1) > 0) {
        const char* p = data();
        const size_t v = visible();
        const void* feed = std::memchr(p, '\n', v);
        if (feed != nullptr) {
            skip(static_cast<size_t>(static_cast<const char*>(feed) - p) + 1);
            return true;
        }
        skip(v);
    }
    return false;
}

}  // namespace velt::corvane::presetfiles
