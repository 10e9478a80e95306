#pragma once
// How subcommands report problems: a Failure is printed as it stands, a
// UsageError together with the subcommand's usage line.
#include <stdexcept>
#include <string>

namespace maptool {

class Failure : public std::runtime_error {
public:
    explicit Failure(const std::string& message) : std::runtime_error(message) {}
};

class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

// Runs `work`; whatever the formats library (or anything else) throws becomes a
// Failure that names `file`, so the user sees which file was at fault.
[[noreturn]] void RethrowForFile(const std::string& file);

template <class Work> auto ForFile(const std::string& file, Work&& work) -> decltype(work()) {
    try {
        return work();
    } catch (...) {
        RethrowForFile(file);
    }
}

} // namespace maptool
