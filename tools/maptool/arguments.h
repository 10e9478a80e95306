#pragma once
// Splits a subcommand's arguments into positional ones and options. Options
// start with "--"; valued options take the next argument or "=value".
#include "maptool/commands.h"

#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <string_view>

namespace maptool {

struct ParsedArguments {
    std::vector<std::string> positional;
    std::map<std::string, std::string> values; // valued options by name ("--as")
    std::set<std::string> flags;               // flags that were given ("--raw")

    std::string Value(const std::string& name, const std::string& fallback) const;
    bool Has(const std::string& flag) const { return flags.count(flag) != 0; }
};

// Raises UsageError for an unknown option, a valued option without a value, a
// flag given a value, or a count of positional arguments other than `positional`.
ParsedArguments ParseArguments(const Arguments& args, size_t positional,
                               std::initializer_list<std::string_view> valued,
                               std::initializer_list<std::string_view> flags = {});

} // namespace maptool
