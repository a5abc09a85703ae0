#include "data/cp932.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

namespace mitoran {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// iconv_open is far too slow to run per call, and a descriptor carries shift state, so each
// thread keeps its own pair and resets it before use.
class Converters {
  public:
    Converters() = default;
    Converters(const Converters&) = delete;
    Converters& operator=(const Converters&) = delete;
    ~Converters() {
        if (decoder_ != invalid()) iconv_close(decoder_);
        if (encoder_ != invalid()) iconv_close(encoder_);
    }

    iconv_t decoder() { return ready(decoder_, "UTF-8", "CP932"); }
    iconv_t encoder() { return ready(encoder_, "CP932", "UTF-8"); }

  private:
    static iconv_t invalid() { return reinterpret_cast<iconv_t>(-1); }
    static iconv_t ready(iconv_t& cd, const char* to, const char* from) {
        if (cd == invalid()) cd = iconv_open(to, from);
        if (cd != invalid()) iconv(cd, nullptr, nullptr, nullptr, nullptr);
        return cd;
    }

    iconv_t decoder_ = invalid();
    iconv_t encoder_ = invalid();
};

Converters& converters() {
    thread_local Converters instance;
    return instance;
}

// Length of the UTF-8 sequence starting at `s`, or 0 when it is not a valid one.
std::size_t utf8SequenceLength(std::string_view s) {
    if (s.empty()) return 0;
    const auto b0 = static_cast<unsigned char>(s[0]);
    if (b0 < 0x80) return 1;
    std::size_t len = 0;
    char32_t cp = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2;
        cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3;
        cp = b0 & 0x0F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4;
        cp = b0 & 0x07;
    } else {
        return 0;
    }
    if (s.size() < len) return 0;
    for (std::size_t i = 1; i < len; ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    const bool overlong = (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000);
    const bool surrogate = cp >= 0xD800 && cp <= 0xDFFF;
    if (overlong || surrogate || cp > 0x10FFFF) return 0;
    return len;
}

bool isCp932LeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Runs `cd` over `in`, appending to `out`, which starts with room for `in.size() * growth`
// bytes and grows when that is short. On a byte sequence it cannot convert it calls
// onBad(position, out), which returns how many input bytes to skip (0 stops and fails).
template <class OnBad>
bool convert(iconv_t cd, std::string_view in, std::string& out, double growth, OnBad onBad) {
    auto room = [growth](std::size_t n) { return static_cast<std::size_t>(n * growth) + 16; };
    std::size_t used = out.size();
    out.resize(used + room(in.size()));
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    while (srcLeft > 0) {
        char* dst = out.data() + used;
        std::size_t dstLeft = out.size() - used;
        const std::size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        used = static_cast<std::size_t>(dst - out.data());
        if (rc != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) {
            out.resize(used + room(srcLeft) + 16);
            continue;
        }
        out.resize(used);
        const std::size_t skip = onBad(in.size() - srcLeft, out);
        if (skip == 0) return false;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        src += skip;
        srcLeft -= skip;
        used = out.size();
        out.resize(used + room(srcLeft));
    }
    out.resize(used);
    return true;
}

void decodeCp932Into(std::string_view bytes, std::string& out) {
    iconv_t cd = converters().decoder();
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        // Without the converter only ASCII can be trusted.
        for (char c : bytes)
            if (static_cast<unsigned char>(c) < 0x80)
                out.push_back(c);
            else
                out.append(kReplacement);
        return;
    }
    // Japanese text grows by half from two bytes to three; half-width katakana and bad bytes
    // grow more, and the buffer follows when they do.
    convert(cd, bytes, out, 1.5, [&](std::size_t pos, std::string& sink) {
        sink.append(kReplacement);
        const auto b = static_cast<unsigned char>(bytes[pos]);
        // A lead byte followed by a byte of the upper trail range forms one unknown character;
        // an ASCII byte after a lead byte is kept, so a comma or quote is never swallowed.
        if (isCp932LeadByte(b) && pos + 1 < bytes.size()) {
            const auto t = static_cast<unsigned char>(bytes[pos + 1]);
            if (t >= 0x80 && t <= 0xFC) return std::size_t{2};
        }
        return std::size_t{1};
    });
}

std::string replaceAll(std::string_view text, std::string_view from, std::string_view to,
                       std::string& scratch) {
    scratch.clear();
    std::size_t pos = 0;
    for (;;) {
        const std::size_t hit = text.find(from, pos);
        if (hit == std::string_view::npos) break;
        scratch.append(text.substr(pos, hit - pos));
        scratch.append(to);
        pos = hit + from.size();
    }
    scratch.append(text.substr(pos));
    return scratch;
}

std::optional<std::string> encodeExact(std::string_view normalised, std::string* badChar) {
    iconv_t cd = converters().encoder();
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        if (badChar) *badChar = std::string(normalised.substr(0, utf8SequenceLength(normalised)));
        return std::nullopt;
    }
    std::string out;
    std::size_t badAt = std::string_view::npos;
    // Two bytes of CP932 never need more than the 2..4 bytes of their UTF-8 form.
    const bool ok = convert(cd, normalised, out, 1.0, [&](std::size_t pos, std::string&) {
        badAt = pos;
        return std::size_t{0};
    });
    if (!ok) {
        if (badChar) {
            const std::size_t len = utf8SequenceLength(normalised.substr(badAt));
            *badChar = len ? std::string(normalised.substr(badAt, len)) : std::string(kReplacement);
        }
        return std::nullopt;
    }
    return out;
}

}  // namespace

bool validUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        if (static_cast<unsigned char>(s[i]) < 0x80) {
            ++i;
            continue;
        }
        const std::size_t len = utf8SequenceLength(s.substr(i));
        if (len == 0) return false;
        i += len;
    }
    return true;
}

std::string normaliseForCp932(std::string_view utf8) {
    struct Pair {
        std::string_view from, to;
    };
    static constexpr Pair kPairs[] = {
        {"\u301C", "\uFF5E"},  // WAVE DASH -> FULLWIDTH TILDE
        {"\u2212", "\uFF0D"},  // MINUS SIGN -> FULLWIDTH HYPHEN-MINUS
        {"\u2016", "\u2225"},  // DOUBLE VERTICAL LINE -> PARALLEL TO
        {"\u00A2", "\uFFE0"},  // CENT SIGN -> FULLWIDTH CENT SIGN
        {"\u00A3", "\uFFE1"},  // POUND SIGN -> FULLWIDTH POUND SIGN
        {"\u00AC", "\uFFE2"},  // NOT SIGN -> FULLWIDTH NOT SIGN
    };
    std::string text(utf8);
    std::string scratch;
    for (const Pair& p : kPairs)
        if (text.find(p.from) != std::string::npos) text = replaceAll(text, p.from, p.to, scratch);
    return text;
}

std::optional<std::string> encodeCp932(std::string_view utf8, std::string* badChar) {
    const std::string normalised = normaliseForCp932(utf8);
    auto bytes = encodeExact(normalised, badChar);
    if (!bytes) return std::nullopt;
    // glibc maps a few characters onto bytes that read back as another character (YEN SIGN
    // becomes 0x5C, a backslash); storing those would change the user's text, so refuse them.
    if (decodeCp932(*bytes) == normalised) return bytes;
    std::size_t pos = 0;
    while (pos < normalised.size()) {
        std::size_t len = utf8SequenceLength(std::string_view(normalised).substr(pos));
        if (len == 0) len = 1;
        const std::string_view one = std::string_view(normalised).substr(pos, len);
        const auto single = encodeExact(one, nullptr);
        if (!single || decodeCp932(*single) != one) {
            if (badChar) *badChar = std::string(one);
            return std::nullopt;
        }
        pos += len;
    }
    if (badChar) badChar->clear();
    return std::nullopt;
}

bool canEncodeCp932(std::string_view utf8) { return encodeCp932(utf8).has_value(); }

std::string decodeCp932(std::string_view bytes) {
    std::string out;
    decodeCp932Into(bytes, out);
    return out;
}

void decodeDataFilePart(std::string_view bytes, bool utf8Marked, std::string& out) {
    out.clear();
    if (!utf8Marked) {
        decodeCp932Into(bytes, out);
        return;
    }
    // The mark says an editor saved the file as UTF-8; records the program appended since are
    // still CP932, so each line is taken as UTF-8 only when it is valid UTF-8.
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find('\n', pos);
        end = end == std::string_view::npos ? bytes.size() : end + 1;
        const std::string_view line = bytes.substr(pos, end - pos);
        if (validUtf8(line))
            out.append(line);
        else
            decodeCp932Into(line, out);
        pos = end;
    }
}

namespace {

bool validCp932(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80 || (b >= 0xA1 && b <= 0xDF)) continue;
        if (!isCp932LeadByte(b) || i + 1 == bytes.size()) return false;
        const auto t = static_cast<unsigned char>(bytes[++i]);
        if (t < 0x40 || t == 0x7F || t > 0xFC) return false;
    }
    return true;
}

bool holdsJapanese(std::string_view utf8) {
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t len = utf8SequenceLength(utf8.substr(i));
        if (len == 3) {
            const auto b0 = static_cast<unsigned char>(utf8[i]);
            const auto b1 = static_cast<unsigned char>(utf8[i + 1]);
            const auto b2 = static_cast<unsigned char>(utf8[i + 2]);
            const char32_t cp = ((b0 & 0x0Fu) << 12) | ((b1 & 0x3Fu) << 6) | (b2 & 0x3Fu);
            if ((cp >= 0x3000 && cp <= 0x30FF) || (cp >= 0x3400 && cp <= 0x9FFF) ||
                (cp >= 0xF900 && cp <= 0xFAFF) || (cp >= 0xFF01 && cp <= 0xFFEF))
                return true;
        }
        i += len ? len : 1;
    }
    return false;
}

}  // namespace

DataEncoding detectDataEncoding(std::string_view bytes) {
    if (hasUtf8Mark(bytes)) return DataEncoding::Utf8Marked;
    bool beyondAscii = false;
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) {
            beyondAscii = true;
            break;
        }
    if (!beyondAscii || !validUtf8(bytes)) return DataEncoding::Cp932;
    if (holdsJapanese(bytes) || !validCp932(bytes)) return DataEncoding::Utf8;
    return DataEncoding::Cp932;
}

std::string decodeDataFile(std::string_view bytes) {
    if (detectDataEncoding(bytes) == DataEncoding::Utf8) return std::string(bytes);
    const bool marked = hasUtf8Mark(bytes);
    if (marked) bytes.remove_prefix(3);
    std::string out;
    decodeDataFilePart(bytes, marked, out);
    return out;
}

bool hasUtf8Mark(std::string_view bytes) {
    return bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF";
}

}  // namespace mitoran
