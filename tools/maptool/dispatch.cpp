#include "maptool/commands.h"
#include "maptool/failure.h"

#include <ostream>

namespace maptool {

namespace {

constexpr Command kCommands[] = {
    {"info", "FILE [--pretty]", "describe a map, picture, tile set or tile palette as JSON", Info},
    {"decode", "PICTURE OUT.png [--as editor|image|stream]",
     "decode a PBM picture into an indexed-colour PNG", Decode},
    {"encode", "IN.png OUT.lbm [--raw]", "encode an indexed-colour PNG as a PBM picture", Encode},
    {"dump", "MAP [--as editor|runtime]", "list every cell of a map, one line per cell", Dump},
    {"render", "MAP OUT.png [--pos X,Y|auto] [--ticks N] [--hires] [--overview] [--assets DIR]",
     "draw one frame of the runtime's game on the map (or the whole map) into an indexed-colour "
     "PNG",
     Render},
    {"fullscreen", "MAP OUTDIR [--hires] [--frames N] [--keys KEYS] [--assets DIR] [--bios NAME]",
     "run the game fullscreen on the emulated PC without a screen, writing each frame's scanout "
     "and what the run did",
     Fullscreen},
};

// Error texts come from files and the system; keep the report on one line.
std::string OneLine(std::string text) {
    for (char& ch : text) {
        if (ch == '\n' || ch == '\r') ch = ' ';
    }
    return text;
}

std::string CommandNames() {
    std::string names;
    for (const Command& c : kCommands)
        names += (names.empty() ? "" : "|") + std::string(c.name);
    return names;
}

void PrintHelp(std::ostream& out) {
    out << "usage: maptool {" << CommandNames() << "} ...\n";
    for (const Command& c : kCommands) {
        out << "  maptool " << c.name << ' ' << c.usage << "\n      " << c.summary << '\n';
    }
}

} // namespace

std::span<const Command> Commands() {
    return kCommands;
}

int RunMapTool(const Arguments& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << "maptool: usage: maptool {" << CommandNames() << "} ... (maptool --help)\n";
        return 1;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintHelp(out);
        return 0;
    }
    for (const Command& c : kCommands) {
        if (args[0] != c.name) continue;
        try {
            c.run(Arguments(args.begin() + 1, args.end()), out);
            out.flush();
            return 0;
        } catch (const UsageError& e) {
            err << "maptool: " << OneLine(e.what()) << " (usage: maptool " << c.name << ' '
                << c.usage << ")\n";
        } catch (const std::exception& e) {
            err << "maptool: " << OneLine(e.what()) << '\n';
        }
        return 1;
    }
    err << "maptool: unknown command \"" << OneLine(args[0]) << "\" (commands: " << CommandNames()
        << ")\n";
    return 1;
}

} // namespace maptool
