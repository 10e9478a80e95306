#include "maptool/fullscreen_options.h"

#include "maptool/arguments.h"
#include "maptool/failure.h"

#include "formats/errors.h"
#include "formats/text.h"

namespace maptool {

FullscreenOptions ParseFullscreenOptions(const Arguments& args) {
    ParsedArguments parsed =
        ParseArguments(args, 2, {"--frames", "--keys", "--assets", "--bios"}, {"--hires"});
    FullscreenOptions options;
    options.map = parsed.positional[0];
    options.outDir = parsed.positional[1];
    options.hiRes = parsed.Has("--hires");
    options.assets = parsed.Value("--assets", "");
    options.bios = parsed.Value("--bios", options.bios);
    if (options.bios.empty()) throw UsageError("--bios needs a name");
    if (parsed.values.count("--frames")) {
        try {
            options.frames = formats::StrToInt(parsed.values.at("--frames"));
        } catch (const formats::FormatError&) {
            throw UsageError("--frames needs a whole number");
        }
        if (options.frames < 1 || options.frames > kMaxFullscreenFrames)
            throw UsageError("--frames takes 1 to " + std::to_string(kMaxFullscreenFrames));
    }
    if (parsed.values.count("--keys")) {
        options.keys.clear();
        const std::string& list = parsed.values.at("--keys");
        size_t start = 0;
        for (;;) {
            const size_t comma = list.find(',', start);
            options.keys.push_back(list.substr(start, comma - start));
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
    }
    return options;
}

} // namespace maptool
