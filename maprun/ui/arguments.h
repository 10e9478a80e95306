#pragma once
// The runtime takes exactly one thing on its command line: the map file.
#include <QString>

#include <functional>
#include <optional>
#include <string>

namespace maprun {

using ErrorBox = std::function<void(const QString& caption, const QString& text)>;

// The map argument with the bytes the system gave it (a file name need not be
// valid UTF-8). Shows "Needs a .map file as a parameter " and gives nothing
// when the first argument is missing or empty.
std::optional<std::string> MapArgument(int argc, char** argv, const ErrorBox& box);

} // namespace maprun
