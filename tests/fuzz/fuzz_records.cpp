// One fuzz target per file type, chosen at build time; each feeds raw file bytes through the
// same decode-then-parse path the readers use.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "data/cp932.h"
#include "data/data_files.h"

namespace {

template <class Loaded>
void touch(const Loaded& loaded) {
    // Reading every field makes the sanitizers look at everything the parser produced.
    volatile std::size_t sink = loaded.records.size() + static_cast<std::size_t>(loaded.skipped);
    (void)sink;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = mitoran::decodeCp932(bytes);
#if defined(FUZZ_ITEM_LIST)
    touch(mitoran::parseItemList(text));
#elif defined(FUZZ_HISTORY)
    auto loaded = mitoran::parseHistory(text);
    for (const auto& r : loaded.records) {
        // Every accepted record must carry a real calendar date.
        if (!r.day.ok()) __builtin_trap();
    }
    touch(loaded);
#elif defined(FUZZ_SETTINGS)
    touch(mitoran::parseSettings(text));
#elif defined(FUZZ_PLAY_SETTINGS)
    touch(mitoran::parsePlaySettings(text));
#elif defined(FUZZ_QUICK)
    touch(mitoran::parseQuickHistory(text));
#elif defined(FUZZ_CP932)
    // What decodes must encode back without a refusal, except the replacement character.
    if (text.find("\xEF\xBF\xBD") == std::string::npos && !mitoran::encodeCp932(text))
        __builtin_trap();
#endif
    return 0;
}
