#pragma once
// Conversion between the program's UTF-8 text and the CP932 (Windows Shift_JIS) bytes of its files.
#include <optional>
#include <string>
#include <string_view>

namespace mitoran {

// Maps the characters a Linux input method produces for what CP932 holds under another code point
// (WAVE DASH, MINUS SIGN, DOUBLE VERTICAL LINE, CENT, POUND, NOT) onto the CP932 ones.
std::string normaliseForCp932(std::string_view utf8);

// Encodes after normalising. Returns nothing when some character has no CP932 form; `badChar`
// then receives that character (UTF-8) so the caller can name it. Never substitutes.
std::optional<std::string> encodeCp932(std::string_view utf8, std::string* badChar = nullptr);

// True when encodeCp932 would succeed.
bool canEncodeCp932(std::string_view utf8);

// Decodes CP932 bytes; a byte sequence that is not CP932 becomes U+FFFD and decoding goes on.
std::string decodeCp932(std::string_view bytes);

// Decodes the bytes of a data file. They are CP932; after a UTF-8 byte-order mark (an editor saved
// the file as UTF-8) each line that is valid UTF-8 is taken as it is and every other line, such as
// a record appended since, as CP932. The mark itself is dropped.
std::string decodeDataFile(std::string_view bytes);

// How the bytes of a data file are written. The program writes CP932; an editor may have saved
// the file as UTF-8, with the byte-order mark (Utf8Marked) or without it (Utf8).
enum class DataEncoding { Cp932, Utf8Marked, Utf8 };

// Without the mark, the bytes are taken as UTF-8 when they hold a byte above ASCII, are valid
// UTF-8 throughout, and either are not valid CP932 or read as UTF-8 hold a Japanese character
// (kana, kanji, full-width forms). CP932 text almost never passes: the second byte of most
// Japanese characters is a byte UTF-8 never allows there, and every history record holds 年.
// It fails for CP932 text that happens to form valid UTF-8 with a Japanese reading (a few
// kanji pairs whose bytes line up; half-width katakana alone never reads as Japanese UTF-8),
// and for UTF-8 text that is also valid CP932 but holds only non-Japanese letters (é, ü).
DataEncoding detectDataEncoding(std::string_view bytes);

// True when `s` is well-formed UTF-8 throughout (no overlong forms, surrogates or stray bytes).
bool validUtf8(std::string_view s);

// True when the bytes begin with a UTF-8 byte-order mark.
bool hasUtf8Mark(std::string_view bytes);

// Decodes a piece of a data file that ends at a line break (or at the end of the file), for
// readers that take a long file piece by piece. `out` is replaced and its buffer reused;
// `utf8Marked` tells that the file began with the mark (already removed from `bytes`).
void decodeDataFilePart(std::string_view bytes, bool utf8Marked, std::string& out);

}  // namespace mitoran
