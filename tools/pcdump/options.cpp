#include "options.h"

#include "pcdump.h"

#include <charconv>

namespace pcdump {

Options ParseOptions(const std::vector<std::string>& args, bool allowPng) {
    Options options;
    options.config = pcemu::MachineConfig::FromEnvironment();
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw Failure(a + " needs a value");
            return args[++i];
        };
        if (a == "--bios") {
            options.config.bios = value();
        } else if (a == "--vram") {
            const std::string& v = value();
            uint32_t kb = 0;
            auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), kb);
            if (ec != std::errc() || end != v.data() + v.size())
                throw Failure("--vram takes KB, not " + v);
            options.config.vramKB = kb;
        } else if (a == "--png" && allowPng) {
            options.png = value();
        } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
            throw Failure("unknown option " + a);
        } else {
            options.positional.push_back(a);
        }
    }
    return options;
}

std::unique_ptr<pcemu::Machine> BuildMachine(const Options& options) {
    pcemu::MachineOrError made = pcemu::Machine::Create(options.config);
    if (!made) throw Failure(made.error);
    return std::move(made.machine);
}

} // namespace pcdump
