// Forward-only reading of a text in chunks, so that the import looks at each
// line start through a window of bounded length and never holds a whole file.
#pragma once

#include <cstddef>
#include <fstream>
#include <string>

namespace velt::corvane::presetfiles {

/// A forward-only supplier of text bytes.
class TextSource {
public:
    virtual ~TextSource() = default;
    /// Copies up to capacity bytes into dst; 0 means the text has ended.
    virtual size_t read(char* dst, size_t capacity) = 0;
};

/// The bytes of a string in memory; the string must outlive the source.
class StringTextSource final : public TextSource {
public:
    explicit StringTextSource(const std::string& text) : text_(text) {}
    size_t read(char* dst, size_t capacity) override;

private:
    const std::string& text_;
    size_t position_ = 0;
};

/// The bytes of an open file stream (no line-end translation beyond the stream's own).
class StreamTextSource final : public TextSource {
public:
    explicit StreamTextSource(std::ifstream& stream) : stream_(stream) {}
    size_t read(char* dst, size_t capacity) override;

private:
    std::ifstream& stream_;
};

/// A cursor over a source that keeps only the bytes still to be looked at:
/// memory stays within the largest look plus one read chunk.
class LineWindow {
public:
    explicit LineWindow(TextSource& source) : source_(source) {}

    /// Makes up to count bytes from the cursor visible and returns how many are;
    /// fewer only where the text ends.
    size_t look(size_t count);
    /// Bytes visible from the cursor without reading more.
    size_t visible() const { return buffer_.size() - head_; }
    /// The byte at the cursor; valid until the next look.
    const char* data() const { return buffer_.data() + head_; }
    /// Moves the cursor forward by count visible bytes (clamped to what is visible).
    void skip(size_t count);
    /// Moves the cursor past spaces and tabs.
    void skipBlanks();
    /// Moves the cursor just past the next line feed; false when the text ends first.
    bool nextLine();

private:
    static constexpr size_t kChunkBytes = 64 * 1024;

    TextSource& source_;
    std::string buffer_;
    size_t head_ = 0;
    bool ended_ = false;
};

}  // namespace velt::corvane::presetfiles
