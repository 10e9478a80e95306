#include "maptool/arguments.h"

#include "maptool/failure.h"

#include <algorithm>

namespace maptool {

namespace {

bool Listed(std::initializer_list<std::string_view> names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

} // namespace

std::string ParsedArguments::Value(const std::string& name, const std::string& fallback) const {
    auto it = values.find(name);
    return it == values.end() ? fallback : it->second;
}

ParsedArguments ParseArguments(const Arguments& args, size_t positional,
                               std::initializer_list<std::string_view> valued,
                               std::initializer_list<std::string_view> flags) {
    ParsedArguments parsed;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
            parsed.positional.push_back(arg);
            continue;
        }
        size_t equals = arg.find('=');
        std::string name = arg.substr(0, equals);
        if (Listed(valued, name)) {
            if (equals != std::string::npos) {
                parsed.values[name] = arg.substr(equals + 1);
            } else if (i + 1 < args.size()) {
                parsed.values[name] = args[++i];
            } else {
                throw UsageError(name + " needs a value");
            }
        } else if (Listed(flags, name)) {
            if (equals != std::string::npos) throw UsageError(name + " takes no value");
            parsed.flags.insert(name);
        } else {
            throw UsageError("unknown option " + name);
        }
    }
    if (parsed.positional.size() != positional) {
        throw UsageError(parsed.positional.size() < positional ? "missing arguments"
                                                               : "too many arguments");
    }
    return parsed;
}

} // namespace maptool
