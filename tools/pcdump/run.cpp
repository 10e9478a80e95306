#include "options.h"
#include "pcdump.h"
#include "register_calls.h"
#include "vbe_query.h"

#include <cstring>

namespace pcdump {
namespace {

constexpr const char* kUsage =
    "usage: pcdump info [--bios NAME] [--vram KB]\n"
    "       pcdump int10 [--bios NAME] [--vram KB] CALL... [--png OUT.png]\n"
    "CALL is a list of registers such as AX=4F02,BX=4101 (hexadecimal). Unless a\n"
    "call sets ES or DI, ES:DI points at a 4 KB buffer that holds \"VBE2\" and\n"
    "zeros before each call.";

void Info(const std::vector<std::string>& args, std::ostream& out) {
    Options options = ParseOptions(args, false);
    if (!options.positional.empty())
        throw Failure("info takes no argument " + options.positional[0]);
    auto pc = BuildMachine(options);
    out << DescribeVbe(*pc).dump(2) << "\n";
}

void Int10(const std::vector<std::string>& args, std::ostream& out) {
    Options options = ParseOptions(args, true);
    if (options.positional.empty()) throw Failure("int10 needs at least one call such as AX=0013");
    std::vector<RegisterCall> calls;
    for (const std::string& text : options.positional)
        calls.push_back(ParseRegisterCall(text));
    auto pc = BuildMachine(options);
    constexpr uint32_t kBufferSize = 4096;
    auto buffer = pc->allocReal(kBufferSize);
    if (!buffer) throw Failure("no conventional memory for the call buffer");
    for (size_t i = 0; i < calls.size(); ++i) {
        pcemu::CpuRegs regs = calls[i].regs;
        if (!calls[i].setsEs) regs.es = *buffer;
        if (!calls[i].setsDi) regs.setDi(0);
        uint8_t* data = pc->hostPointer(uint32_t{*buffer} << 4);
        std::memset(data, 0, kBufferSize);
        std::memcpy(data, "VBE2", 4);
        pcemu::RunResult r = pc->int86(0x10, regs);
        if (!r.ok())
            throw Failure("call " + std::to_string(i + 1) + " (" + options.positional[i] +
                          "): " + r.message);
        out << options.positional[i] << ": " << FormatRegisters(regs) << " (" << r.instructions
            << " instructions)\n";
    }
    if (!options.png.empty()) {
        std::string error;
        if (!pcemu::WritePng(options.png, pc->adapter().scanout(), &error)) throw Failure(error);
    }
}

} // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    try {
        if (args.empty()) throw Failure(kUsage);
        std::vector<std::string> rest(args.begin() + 1, args.end());
        if (args[0] == "info")
            Info(rest, out);
        else if (args[0] == "int10")
            Int10(rest, out);
        else if (args[0] == "--help" || args[0] == "help")
            out << kUsage << "\n";
        else
            throw Failure("unknown command '" + args[0] + "' (info, int10)");
        return 0;
    } catch (const std::exception& e) {
        std::string message = e.what();
        if (size_t nl = message.find('\n'); nl != std::string::npos && args.empty())
            message = "no command; " + message.substr(0, nl);
        err << "pcdump: " << message << "\n";
        return 1;
    }
}

} // namespace pcdump
