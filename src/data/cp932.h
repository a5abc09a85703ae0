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

}  // namespace mitoran
