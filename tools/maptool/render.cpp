// maptool render MAP OUT.png: one frame of the runtime's game, drawn headless
// and written with its colours as an indexed PNG.
#include "maprun/core/render.h"
#include "maptool/arguments.h"
#include "maptool/commands.h"
#include "maptool/failure.h"
#include "maptool/png_io.h"

#include "formats/text.h"

#include <ostream>

namespace maptool {

namespace {

maprun::TPoint ParsePosition(const std::string& text) {
    std::string x = formats::BeforeFirst(text, ",");
    std::string y = formats::AfterFirst(text, ",");
    try {
        return {formats::StrToInt(x), formats::StrToInt(y)};
    } catch (const formats::FormatError&) {
        throw UsageError("--pos needs X,Y in whole pixels, not \"" + text + "\"");
    }
}

} // namespace

void Render(const Arguments& args, std::ostream& out) {
    ParsedArguments parsed = ParseArguments(args, 2, {"--pos", "--ticks", "--assets"}, {"--hires"});
    maprun::RenderOptions options;
    if (parsed.values.count("--pos")) options.Centre = ParsePosition(parsed.values.at("--pos"));
    if (parsed.values.count("--ticks")) {
        try {
            options.Ticks = formats::StrToInt(parsed.values.at("--ticks"));
        } catch (const formats::FormatError&) {
            throw UsageError("--ticks needs a whole number");
        }
        if (options.Ticks < 0) throw UsageError("--ticks cannot be negative");
    }
    options.HiRes = parsed.Has("--hires");
    const std::string& map = parsed.positional[0];
    std::filesystem::path assets = parsed.Value("--assets", "");

    maprun::RenderedFrame frame = maprun::RenderFrame(map, assets, options);
    IndexedPicture picture;
    picture.width = frame.Width;
    picture.height = frame.Height;
    picture.pixels = std::move(frame.Pixels);
    picture.rgb.assign(frame.Colors.begin(), frame.Colors.end());
    WriteIndexedPng(parsed.positional[1], picture);
    out << parsed.positional[1] << ": " << frame.Width << " x " << frame.Height << '\n';
}

} // namespace maptool
