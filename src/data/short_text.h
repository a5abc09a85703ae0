#pragma once
// A text that keeps up to 30 bytes inside itself and only longer ones on the heap. A stored date
// ("2024年03月07日") is 17 bytes, two more than std::string keeps inline, so a history of tens
// of thousands of records and the series made from it would otherwise cost one allocation, and
// one scattered cache line, per date.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>
#include <string_view>

namespace mitoran {

class ShortText {
  public:
    static constexpr std::size_t kInline = 30;

    ShortText() noexcept { clearInline(); }
    explicit ShortText(std::string_view s) { init(s); }
    ShortText(const ShortText& other) {
        if (other.onHeap())
            init(other.view());
        else
            std::memcpy(bytes_, other.bytes_, sizeof bytes_);  // one fixed-size copy
    }
    ShortText(ShortText&& other) noexcept { steal(other); }
    ~ShortText() { release(); }

    ShortText& operator=(const ShortText& other) {
        if (this == &other) return *this;
        if (!onHeap() && !other.onHeap())
            std::memcpy(bytes_, other.bytes_, sizeof bytes_);
        else
            assign(other.view());
        return *this;
    }
    ShortText& operator=(ShortText&& other) noexcept {
        if (this != &other) {
            release();
            steal(other);
        }
        return *this;
    }
    ShortText& operator=(std::string_view s) {
        assign(s);
        return *this;
    }

    void assign(std::string_view s) {
        if (!onHeap() && s.size() <= kInline) {
            // memmove: `s` may be a part of this very text.
            if (!s.empty()) std::memmove(bytes_, s.data(), s.size());
            bytes_[kSizeAt] = static_cast<char>(s.size());
            return;
        }
        ShortText copy(s);  // built first, as `s` may point into the old heap block
        *this = std::move(copy);
    }
    void clear() noexcept {
        release();
        clearInline();
    }

    std::size_t size() const noexcept {
        return onHeap() ? heapSize() : static_cast<unsigned char>(bytes_[kSizeAt]);
    }
    bool empty() const noexcept { return size() == 0; }
    const char* data() const noexcept { return onHeap() ? heapData() : bytes_; }
    std::string_view view() const noexcept { return {data(), size()}; }
    operator std::string_view() const noexcept { return view(); }
    std::string str() const { return std::string(view()); }

    friend bool operator==(const ShortText& a, const ShortText& b) noexcept {
        return a.view() == b.view();
    }
    friend bool operator==(const ShortText& a, std::string_view b) noexcept {
        return a.view() == b;
    }
    friend auto operator<=>(const ShortText& a, const ShortText& b) noexcept {
        return a.view() <=> b.view();
    }
    friend std::ostream& operator<<(std::ostream& out, const ShortText& t) {
        return out << t.view();
    }

  private:
    // Inline: the bytes, then their count in the last byte. On the heap: the pointer and the
    // size at the start, and kOnHeap in the last byte.
    static constexpr std::size_t kSizeAt = 31;
    static constexpr char kOnHeap = static_cast<char>(0xFF);

    bool onHeap() const noexcept { return bytes_[kSizeAt] == kOnHeap; }
    char* heapData() const noexcept {
        char* p;
        std::memcpy(&p, bytes_, sizeof p);
        return p;
    }
    std::size_t heapSize() const noexcept {
        std::size_t n;
        std::memcpy(&n, bytes_ + sizeof(char*), sizeof n);
        return n;
    }
    void clearInline() noexcept {
        bytes_[0] = '\0';
        bytes_[kSizeAt] = 0;
    }
    void init(std::string_view s) {
        if (s.size() <= kInline) {
            if (!s.empty()) std::memcpy(bytes_, s.data(), s.size());
            bytes_[kSizeAt] = static_cast<char>(s.size());
            return;
        }
        char* p = new char[s.size()];
        std::memcpy(p, s.data(), s.size());
        const std::size_t n = s.size();
        std::memcpy(bytes_, &p, sizeof p);
        std::memcpy(bytes_ + sizeof p, &n, sizeof n);
        bytes_[kSizeAt] = kOnHeap;
    }
    void steal(ShortText& other) noexcept {
        std::memcpy(bytes_, other.bytes_, sizeof bytes_);
        other.clearInline();
    }
    void release() noexcept {
        if (onHeap()) delete[] heapData();
    }

    alignas(8) char bytes_[32];
};

}  // namespace mitoran
