// maptool encode IN.png OUT.lbm: an indexed-colour PNG written as a PBM picture,
// with the FORM length that other IFF tools expect (the bytes after the field).
#include "formats/pbm.h"
#include "maptool/arguments.h"
#include "maptool/commands.h"
#include "maptool/failure.h"
#include "maptool/png_io.h"

namespace maptool {

void Encode(const Arguments& args, std::ostream&) {
    ParsedArguments parsed = ParseArguments(args, 2, {}, {"--raw"});
    const std::string& input = parsed.positional[0];
    const std::string& output = parsed.positional[1];
    IndexedPicture picture = ReadIndexedPng(input);
    ForFile(output, [&] {
        formats::WritePbmFile(output, picture.width, picture.height, picture.pixels.data(),
                              picture.rgb.data(), picture.Colours(), !parsed.Has("--raw"),
                              formats::FormLength::FollowingBytes);
    });
}

} // namespace maptool
