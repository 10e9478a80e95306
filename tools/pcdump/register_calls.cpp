#include "register_calls.h"

#include "pcdump.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdio>

namespace pcdump {
namespace {

struct Field {
    const char* name;
    int bits;  // 32, 16, 8
    int shift; // 8 for the high byte registers
    uint32_t pcemu::CpuRegs::*reg;
};

const std::array<Field, 22> kGeneral = {{
    {"EAX", 32, 0, &pcemu::CpuRegs::eax}, {"EBX", 32, 0, &pcemu::CpuRegs::ebx},
    {"ECX", 32, 0, &pcemu::CpuRegs::ecx}, {"EDX", 32, 0, &pcemu::CpuRegs::edx},
    {"ESI", 32, 0, &pcemu::CpuRegs::esi}, {"EDI", 32, 0, &pcemu::CpuRegs::edi},
    {"EBP", 32, 0, &pcemu::CpuRegs::ebp}, {"AX", 16, 0, &pcemu::CpuRegs::eax},
    {"BX", 16, 0, &pcemu::CpuRegs::ebx},  {"CX", 16, 0, &pcemu::CpuRegs::ecx},
    {"DX", 16, 0, &pcemu::CpuRegs::edx},  {"SI", 16, 0, &pcemu::CpuRegs::esi},
    {"DI", 16, 0, &pcemu::CpuRegs::edi},  {"BP", 16, 0, &pcemu::CpuRegs::ebp},
    {"AL", 8, 0, &pcemu::CpuRegs::eax},   {"AH", 8, 8, &pcemu::CpuRegs::eax},
    {"BL", 8, 0, &pcemu::CpuRegs::ebx},   {"BH", 8, 8, &pcemu::CpuRegs::ebx},
    {"CL", 8, 0, &pcemu::CpuRegs::ecx},   {"CH", 8, 8, &pcemu::CpuRegs::ecx},
    {"DL", 8, 0, &pcemu::CpuRegs::edx},   {"DH", 8, 8, &pcemu::CpuRegs::edx},
}};

uint32_t ParseHex(const std::string& text, int bits, const std::string& call) {
    std::string digits = text;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X'))
        digits.erase(0, 2);
    uint64_t v = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v, 16);
    if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size() ||
        (bits < 32 && v >> bits) || v > 0xFFFFFFFFu)
        throw Failure("bad value '" + text + "' in " + call);
    return static_cast<uint32_t>(v);
}

} // namespace

RegisterCall ParseRegisterCall(const std::string& text) {
    RegisterCall call;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t comma = text.find(',', pos);
        std::string item =
            text.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos);
        pos = comma == std::string::npos ? text.size() + 1 : comma + 1;
        size_t eq = item.find('=');
        if (eq == std::string::npos)
            throw Failure("'" + item + "' in " + text + " is not REGISTER=VALUE");
        std::string name = item.substr(0, eq);
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        std::string value = item.substr(eq + 1);
        auto field = std::find_if(kGeneral.begin(), kGeneral.end(),
                                  [&](const Field& f) { return name == f.name; });
        if (field != kGeneral.end()) {
            uint32_t v = ParseHex(value, field->bits, text);
            uint32_t mask = (field->bits == 32 ? 0xFFFFFFFFu : (1u << field->bits) - 1)
                            << field->shift;
            uint32_t& reg = call.regs.*(field->reg);
            reg = (reg & ~mask) | (v << field->shift);
            if (name == "DI" || name == "EDI") call.setsDi = true;
            continue;
        }
        uint16_t seg = static_cast<uint16_t>(ParseHex(value, 16, text));
        if (name == "DS")
            call.regs.ds = seg;
        else if (name == "ES")
            call.regs.es = seg, call.setsEs = true;
        else if (name == "FS")
            call.regs.fs = seg;
        else if (name == "GS")
            call.regs.gs = seg;
        else
            throw Failure("unknown register '" + name + "' in " + text);
    }
    return call;
}

std::string FormatRegisters(const pcemu::CpuRegs& r) {
    char buf[160];
    std::snprintf(buf, sizeof buf,
                  "AX=%04X BX=%04X CX=%04X DX=%04X SI=%04X DI=%04X BP=%04X DS=%04X ES=%04X CF=%d",
                  r.ax(), r.bx(), r.cx(), r.dx(), r.si(), r.di(), r.ebp & 0xFFFF, r.ds, r.es,
                  r.carry() ? 1 : 0);
    return buf;
}

} // namespace pcdump
