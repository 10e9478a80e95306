// maptool render MAP OUT.png: one frame of the runtime's game, drawn headless
// and written with its colours as an indexed PNG; or, with --overview, the
// whole map.
#include "maprun/core/render.h"
#include "maptool/arguments.h"
#include "maptool/commands.h"
#include "maptool/failure.h"
#include "maptool/png_io.h"

#include "formats/text.h"

#include <ostream>

namespace maptool {

namespace {

// The overview's longest side, in pixels.
constexpr int kOverviewMaxSide = 4096;

maprun::TPoint ParsePosition(const std::string& text) {
    std::string x = formats::BeforeFirst(text, ",");
    std::string y = formats::AfterFirst(text, ",");
    try {
        return {formats::StrToInt(x), formats::StrToInt(y)};
    } catch (const formats::FormatError&) {
        throw UsageError("--pos needs X,Y in whole pixels, not \"" + text + "\"");
    }
}

IndexedPicture ToPicture(maprun::RenderedFrame frame) {
    IndexedPicture picture;
    picture.width = frame.Width;
    picture.height = frame.Height;
    picture.pixels = std::move(frame.Pixels);
    picture.rgb.assign(frame.Colors.begin(), frame.Colors.end());
    return picture;
}

} // namespace

void Render(const Arguments& args, std::ostream& out) {
    ParsedArguments parsed =
        ParseArguments(args, 2, {"--pos", "--ticks", "--assets"}, {"--hires", "--overview"});
    const std::string& map = parsed.positional[0];
    const std::string& png = parsed.positional[1];
    const std::filesystem::path assets = parsed.Value("--assets", "");

    if (parsed.Has("--overview")) {
        if (parsed.values.count("--pos") || parsed.values.count("--ticks") || parsed.Has("--hires"))
            throw UsageError(
                "--overview draws the whole map: --pos, --ticks and --hires do not apply");
        maprun::RenderedOverview overview = maprun::RenderOverview(map, assets, kOverviewMaxSide);
        if (overview.Frame.Pixels.empty()) throw Failure(map + ": the map has no cells to draw");
        const int width = overview.Frame.Width, height = overview.Frame.Height;
        WriteIndexedPng(png, ToPicture(std::move(overview.Frame)));
        out << png << ": " << width << " x " << height << ", the whole map";
        if (overview.Scale > 1) out << " at 1/" << overview.Scale;
        out << '\n';
        return;
    }

    maprun::RenderOptions options;
    if (parsed.values.count("--pos")) {
        const std::string& pos = parsed.values.at("--pos");
        if (pos == "auto")
            options.MostVaried = true;
        else
            options.Centre = ParsePosition(pos);
    }
    if (parsed.values.count("--ticks")) {
        try {
            options.Ticks = formats::StrToInt(parsed.values.at("--ticks"));
        } catch (const formats::FormatError&) {
            throw UsageError("--ticks needs a whole number");
        }
        if (options.Ticks < 0) throw UsageError("--ticks cannot be negative");
    }
    options.HiRes = parsed.Has("--hires");
    maprun::RenderedFrame frame = maprun::RenderFrame(map, assets, options);
    const int width = frame.Width, height = frame.Height;
    WriteIndexedPng(png, ToPicture(std::move(frame)));
    out << png << ": " << width << " x " << height << '\n';
}

} // namespace maptool
