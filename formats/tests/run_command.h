#pragma once
// Test support: runs a shell command line with its standard output and error
// captured, for tests of the command-line programs.
#include "formats/tests/scratch_dir.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>

namespace testing_support {

struct CommandResult {
    int code = -1; // the exit code; -1 when the command did not exit
    std::string out, err;
};

// The text of a file, empty when it cannot be read.
inline std::string FileText(const std::filesystem::path& p) {
    const std::vector<uint8_t> bytes = FileBytes(p);
    return {bytes.begin(), bytes.end()};
}

// Runs `command` with its output and error text caught in two files in
// `scratch`, which exists. Redirections apply to the command's last part,
// so `command` may start with "cd DIR && " or "ulimit ...; ".
inline CommandResult RunCommand(const std::string& command, const std::filesystem::path& scratch) {
    const auto out = scratch / "command.out", err = scratch / "command.err";
    const int status =
        std::system((command + " >'" + out.string() + "' 2>'" + err.string() + "'").c_str());
    CommandResult result{WIFEXITED(status) ? WEXITSTATUS(status) : -1, FileText(out),
                         FileText(err)};
    std::error_code ec;
    std::filesystem::remove(out, ec);
    std::filesystem::remove(err, ec);
    return result;
}

} // namespace testing_support
