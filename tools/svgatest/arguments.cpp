#include "arguments.h"

#include <charconv>
#include <cstring>

namespace svgatest {

std::optional<uint32_t> ParseKB(const char* text) {
    const char* end = text + std::strlen(text);
    uint32_t kb = 0;
    const auto [stop, ec] = std::from_chars(text, end, kb);
    if (ec != std::errc() || stop != end || text == end) return std::nullopt;
    return kb;
}

bool ParseArguments(const std::vector<std::string>& words, Arguments& out, std::string& error) {
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        const bool isOption = word.size() > 2 && word.compare(0, 2, "--") == 0;
        if (!isOption) {
            out.positional.push_back(word);
            continue;
        }
        if (word == "--accel") {
            out.accel = true;
            continue;
        }
        if (word != "--bios" && word != "--vram") {
            error = "unknown option " + word;
            return false;
        }
        if (i + 1 >= words.size()) {
            error = word + " needs a value";
            return false;
        }
        const std::string& value = words[++i];
        if (word == "--bios") {
            out.bios = value;
            continue;
        }
        out.vramKB = ParseKB(value.c_str());
        if (!out.vramKB) {
            error = "--vram takes a whole number of KB, not " + value;
            return false;
        }
    }
    return true;
}

} // namespace svgatest
