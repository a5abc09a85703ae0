#pragma once
// Pieces of the Japanese messages the file layer gives back.
#include <initializer_list>
#include <string>
#include <string_view>

namespace mitoran {

// Builds a message from pieces (GCC 12 warns falsely about "literal" + std::string).
inline std::string joinTexts(std::initializer_list<std::string_view> parts) {
    std::string out;
    for (std::string_view p : parts) out.append(p);
    return out;
}

// A file or item name as messages quote it: 「name」.
inline std::string quoted(std::string_view name) { return joinTexts({"「", name, "」"}); }

}  // namespace mitoran
