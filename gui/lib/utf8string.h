#pragma once
#include <cstring>
#include <string>
#include <utility>

namespace VSTGUI {

/** A byte string meant as UTF-8; any bytes are kept as they are. */
class UTF8String {
public:
    UTF8String() = default;
    UTF8String(const char* s) : str_(s ? s : "") {}
    UTF8String(std::string s) : str_(std::move(s)) {}

    const std::string& getString() const { return str_; }
    const char* data() const { return str_.c_str(); }
    const char* get() const { return str_.c_str(); }
    size_t getByteCount() const { return str_.size(); }
    bool empty() const { return str_.empty(); }
    operator const char*() const { return str_.c_str(); }

    bool operator==(const UTF8String& o) const { return str_ == o.str_; }
    bool operator!=(const UTF8String& o) const { return str_ != o.str_; }
    bool operator==(const char* o) const { return str_ == (o ? o : ""); }
    bool operator!=(const char* o) const { return !(*this == o); }
    bool operator==(const std::string& o) const { return str_ == o; }
    bool operator!=(const std::string& o) const { return str_ != o; }

private:
    std::string str_;
};

}  // namespace VSTGUI
