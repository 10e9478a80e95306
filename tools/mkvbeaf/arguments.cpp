#include "arguments.h"

namespace mkvbeaf {

const char kUsage[] =
    "usage: mkvbeaf [OPTIONS] OUTPUT\n"
    "Writes a VBE/AF driver image (VBEAF.DRV) for the emulated adapter's 2D engine.\n"
    "\n"
    "  --no-drawline        leave out DrawLine\n"
    "  --no-direct-access   leave out EnableDirectAccess and DisableDirectAccess\n"
    "  --no-setbank32       leave out the SetBank32 code\n"
    "  --broken=KIND        write a faulty image; KIND is one of\n"
    "                         no-terminator  no zero byte after the signature\n"
    "                         old-version    Version 0x0090\n"
    "                         init-fails     InitDriver reports missing hardware\n"
    "  -h, --help           show this text\n";

Arguments ParseArguments(const std::vector<std::string>& args) {
    Arguments a;
    const std::string broken = "--broken=";
    for (const std::string& arg : args) {
        if (arg == "-h" || arg == "--help") {
            a.help = true;
        } else if (arg == "--no-drawline") {
            a.image.drawLine = false;
        } else if (arg == "--no-direct-access") {
            a.image.directAccess = false;
        } else if (arg == "--no-setbank32") {
            a.image.setBank32 = false;
        } else if (arg.starts_with(broken)) {
            std::string kind = arg.substr(broken.size());
            if (kind == "no-terminator")
                a.image.fault = Fault::NoTerminator;
            else if (kind == "old-version")
                a.image.fault = Fault::OldVersion;
            else if (kind == "init-fails")
                a.image.fault = Fault::InitFails;
            else
                a.error = "unknown kind of broken image: " + kind;
        } else if (arg.size() > 1 && arg[0] == '-') {
            a.error = "unknown option: " + arg;
        } else if (!a.output.empty()) {
            a.error = "more than one output file: " + arg;
        } else {
            a.output = arg;
        }
        if (!a.error.empty()) return a;
    }
    if (!a.help && a.output.empty()) a.error = "no output file given (see --help)";
    return a;
}

} // namespace mkvbeaf
