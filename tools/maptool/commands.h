#pragma once
// The maptool subcommands and the table that dispatches to them. A subcommand
// takes the arguments that follow its name, writes its result to `out` and
// reports problems by throwing (failure.h); RunMapTool turns those into the one
// error line and the exit code.
#include <iosfwd>
#include <span>
#include <string>
#include <vector>

namespace maptool {

using Arguments = std::vector<std::string>;
using CommandFunction = void (*)(const Arguments& args, std::ostream& out);

struct Command {
    const char* name;
    const char* usage; // what follows the name on the command line
    const char* summary;
    CommandFunction run;
};

void Info(const Arguments& args, std::ostream& out);
void Decode(const Arguments& args, std::ostream& out);
void Encode(const Arguments& args, std::ostream& out);
void Dump(const Arguments& args, std::ostream& out);
void Render(const Arguments& args, std::ostream& out);
void Fullscreen(const Arguments& args, std::ostream& out);

// Every subcommand, in the order the help text lists them. Adding a subcommand
// means declaring its function above and adding one entry to this table.
std::span<const Command> Commands();

// The whole program on the arguments after the program name. Returns the exit
// code: 0 on success, 1 after writing one "maptool: ..." line to `err`.
int RunMapTool(const Arguments& args, std::ostream& out, std::ostream& err);

} // namespace maptool
