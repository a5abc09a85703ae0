#pragma once
// File names are looked up ignoring the case of Latin letters and nothing else (項目一覧.TXT finds
// 項目一覧.txt, while full-width letters and kana stay as they are); every comparison of names that
// must agree with that lookup uses these.
#include <string>
#include <string_view>

namespace mitoran {

inline char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string lowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = lowerAscii(c);
    return out;
}

// Latin letters compared without regard to case; every other byte exactly.
inline bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

}  // namespace mitoran
