// svgatest run SCRIPT OUT.png: runs a script of library calls, one a line,
// writes what the monitor then shows as a PNG, and prints the device record,
// the window's real moves, the 2D engine's commands and the values of the
// script's rgb lines as one JSON object. The library does not clip: as its
// caller, this command refuses coordinates, pages and banks outside the mode
// before calling.
#include "command.h"
#include "script.h"
#include "vidlib32/vidlib32.h"

#include "pcemu/accel.h"
#include "pcemu/image.h"
#include "pcemu/machine.h"

#include <nlohmann/json.hpp>

#include <cstring>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <sstream>

namespace svgatest {
namespace {

using json = nlohmann::ordered_json;

constexpr int kGlyphWidth = 8, kGlyphHeight = 16;

std::string Hex(int64_t value) {
    std::ostringstream out;
    out << "0x" << std::hex << std::uppercase << value;
    return out.str();
}

// The guest (flat 32-bit) address of a library pointer into the emulated
// PC, the form every run prints alike; null for other values.
json GuestAddress(const void* pointer) {
    std::optional<uint32_t> guest = pcemu::TheMachine().linearOf(pointer);
    return guest ? json(*guest) : json(nullptr);
}

json DescribeRecord(const SV_DeviceInfo& d) {
    // pageOrigin is an offset in banked modes and an address in linear ones.
    json origin = GuestAddress(reinterpret_cast<const void*>(d.pageOrigin));
    if (origin.is_null()) origin = static_cast<int64_t>(d.pageOrigin);
    return {
        {"version", d.version},
        {"lastX", d.lastX},
        {"lastY", d.lastY},
        {"colorMax", d.colorMax},
        {"colorDefault", d.colorDefault},
        {"lastPage", d.lastPage},
        {"lineBytes", d.lineBytes},
        {"pixelBits", d.pixelBits},
        {"pixelBytes", d.pixelBytes},
        {"memoryKB", d.memoryKB},
        {"linearBase", d.linearBase},
        {"currentBank", d.currentBank},
        {"canVirtualize", d.canVirtualize},
        {"hasMultiBuffer", d.hasMultiBuffer},
        {"hasVirtualScroll", d.hasVirtualScroll},
        {"hasWideDac", d.hasWideDac},
        {"hasAccel2D", d.hasAccel2D},
        {"hasHwCursor", d.hasHwCursor},
        {"virtualActive", d.virtualActive},
        {"frameMemory", GuestAddress(d.frameMemory)},
        {"pageOrigin", origin},
        {"pageBank", d.pageBank},
        {"redMask", d.redMask},
        {"greenMask", d.greenMask},
        {"blueMask", d.blueMask},
        {"redPosition", d.redPosition},
        {"redLoss", d.redLoss},
        {"greenPosition", d.greenPosition},
        {"greenLoss", d.greenLoss},
        {"bluePosition", d.bluePosition},
        {"blueLoss", d.blueLoss},
    };
}

// The state of a run: the device record, whether a graphics mode is set,
// the values of rgb lines, the window's moves so far.
class ScriptRun {
public:
    explicit ScriptRun(SV_DeviceInfo& device)
        : device_(device), startMoves_(pcemu::TheMachine().adapter().windowMoves()) {}

    // Runs one line; empty on success, else why the line cannot run.
    std::string run(const std::vector<Token>& tokens);

    json report() const {
        json out = DescribeRecord(device_);
        out["bankSwitches"] = pcemu::TheMachine().adapter().windowMoves() - startMoves_;
        out["engineCommands"] = pcemu::TheMachine().adapter().accelerator().commands();
        out["rgb"] = rgb_;
        return out;
    }

private:
    using Handler = std::string (ScriptRun::*)(const std::vector<Token>&);
    struct Form {
        const char* shape; // token kinds after the command word (ShapeOf)
        const char* usage;
        bool needsGraphics;
        Handler handler;
    };
    static const std::map<std::string, Form>& Forms();

    std::string setMode(const std::vector<Token>& t);
    std::string setVirtualMode(const std::vector<Token>& t);
    std::string restore(const std::vector<Token>&) {
        SV_restoreMode();
        graphics_ = false;
        return {};
    }
    std::string clear(const std::vector<Token>& t) {
        SV_clear(Colour(t[0]));
        return {};
    }
    std::string pixel(const std::vector<Token>& t);
    std::string line(const std::vector<Token>& t);
    std::string text(const std::vector<Token>& t);
    std::string rgb(const std::vector<Token>& t);
    std::string palette(const std::vector<Token>& t);
    std::string active(const std::vector<Token>& t);
    std::string visual(const std::vector<Token>& t);
    std::string start(const std::vector<Token>& t);
    std::string bank(const std::vector<Token>& t);

    static uint32_t Colour(const Token& t) { return static_cast<uint32_t>(t.number); }
    std::string outside(int64_t x, int64_t y) const;
    std::string page(const Token& t) const;

    SV_DeviceInfo& device_;
    uint64_t startMoves_;
    bool graphics_ = false;
    json rgb_ = json::array();
};

const std::map<std::string, ScriptRun::Form>& ScriptRun::Forms() {
    static const std::map<std::string, Form> forms = {
        {"mode", {"N", "mode M [wide] [virtual]", false, &ScriptRun::setMode}},
        {"vmode", {"NNN", "vmode M VX VY", false, &ScriptRun::setVirtualMode}},
        {"restore", {"", "restore", false, &ScriptRun::restore}},
        {"clear", {"N", "clear C", true, &ScriptRun::clear}},
        {"pixel", {"NNN", "pixel X Y C", true, &ScriptRun::pixel}},
        {"line", {"NNNNN", "line X1 Y1 X2 Y2 C", true, &ScriptRun::line}},
        {"text", {"NNTN", "text X Y \"TEXT\" C", true, &ScriptRun::text}},
        {"rgb", {"NNN", "rgb R G B", true, &ScriptRun::rgb}},
        {"palette",
         {"NNN", "palette START COUNT MAX default | R,G,B ...", false, &ScriptRun::palette}},
        {"active", {"N", "active P", true, &ScriptRun::active}},
        {"visual", {"NN", "visual P WAIT", true, &ScriptRun::visual}},
        {"start", {"NNN", "start X Y WAIT", true, &ScriptRun::start}},
        {"bank", {"N", "bank B", true, &ScriptRun::bank}},
    };
    return forms;
}

std::string ScriptRun::run(const std::vector<Token>& tokens) {
    if (tokens.front().kind != Token::Kind::Word) return "a line starts with a command word";
    auto form = Forms().find(tokens.front().text);
    if (form == Forms().end()) return "unknown command " + tokens.front().text;
    std::vector<Token> args(tokens.begin() + 1, tokens.end());
    std::string shape = ShapeOf(args);
    // mode and palette take more after their numbers; their handlers check it.
    bool open = form->first == "mode" || form->first == "palette";
    if (open ? shape.compare(0, std::strlen(form->second.shape), form->second.shape) != 0
             : shape != form->second.shape)
        return "expected " + std::string(form->second.usage);
    if (form->second.needsGraphics && !graphics_) return "no graphics mode is set";
    return (this->*form->second.handler)(args);
}

std::string ScriptRun::setMode(const std::vector<Token>& t) {
    int32_t wide = 0, virtualBuffer = 0;
    for (size_t i = 1; i < t.size(); ++i) {
        if (t[i].kind == Token::Kind::Word && t[i].text == "wide")
            wide = 1;
        else if (t[i].kind == Token::Kind::Word && t[i].text == "virtual")
            virtualBuffer = 1;
        else
            return "expected mode M [wide] [virtual]";
    }
    if (t[0].number < 0 || t[0].number > 0xFFFF) return "mode " + Hex(t[0].number) + " is no mode";
    if (!SV_setMode(static_cast<int32_t>(t[0].number), wide, virtualBuffer, 1))
        return "mode " + Hex(t[0].number) + " cannot be set";
    graphics_ = true;
    return {};
}

std::string ScriptRun::setVirtualMode(const std::vector<Token>& t) {
    if (t[0].number < 0 || t[0].number > 0xFFFF) return "mode " + Hex(t[0].number) + " is no mode";
    for (int i = 1; i < 3; ++i)
        if (t[i].number < 1 || t[i].number > 0x7FFF) return "virtual size out of range";
    if (!SV_setVirtualMode(static_cast<int32_t>(t[0].number), static_cast<int32_t>(t[1].number),
                           static_cast<int32_t>(t[2].number), 0, 0, 1))
        return "mode " + Hex(t[0].number) + " cannot be set with a virtual screen";
    graphics_ = true;
    return {};
}

std::string ScriptRun::outside(int64_t x, int64_t y) const {
    if (x >= 0 && y >= 0 && x <= device_.lastX && y <= device_.lastY) return {};
    return "(" + std::to_string(x) + ", " + std::to_string(y) + ") lies outside the " +
           std::to_string(device_.lastX + 1) + " x " + std::to_string(device_.lastY + 1) + " mode";
}

std::string ScriptRun::pixel(const std::vector<Token>& t) {
    if (std::string why = outside(t[0].number, t[1].number); !why.empty()) return why;
    SV_putPixel(static_cast<int32_t>(t[0].number), static_cast<int32_t>(t[1].number), Colour(t[2]));
    return {};
}

std::string ScriptRun::line(const std::vector<Token>& t) {
    for (int end = 0; end < 4; end += 2)
        if (std::string why = outside(t[end].number, t[end + 1].number); !why.empty()) return why;
    SV_line(static_cast<int32_t>(t[0].number), static_cast<int32_t>(t[1].number),
            static_cast<int32_t>(t[2].number), static_cast<int32_t>(t[3].number), Colour(t[4]));
    return {};
}

std::string ScriptRun::text(const std::vector<Token>& t) {
    const std::string& bytes = t[2].text;
    if (bytes.find('\0') != std::string::npos) return "text holds a zero byte";
    int64_t x = t[0].number, y = t[1].number;
    int64_t width = kGlyphWidth * static_cast<int64_t>(bytes.size());
    if (std::string why = outside(x, y); !why.empty()) return why;
    if (!bytes.empty())
        if (std::string why = outside(x + width - 1, y + kGlyphHeight - 1); !why.empty())
            return "the text's end " + why;
    SV_writeText(static_cast<int32_t>(x), static_cast<int32_t>(y), bytes.c_str(), Colour(t[3]));
    return {};
}

std::string ScriptRun::rgb(const std::vector<Token>& t) {
    rgb_.push_back(SV_rgbColor(Colour(t[0]), Colour(t[1]), Colour(t[2])));
    return {};
}

std::string ScriptRun::palette(const std::vector<Token>& t) {
    int64_t first = t[0].number, count = t[1].number, most = t[2].number;
    if (first < 0 || first > 255) return "palette start " + std::to_string(first) + " is no entry";
    if (count < 0 || first + count > 256) return "palette entries past entry 255";
    if (most < -1 || most > 256) return "MAX is -1 or 0 to 256";
    std::vector<Token> rest(t.begin() + 3, t.end());
    const void* block = nullptr;
    std::vector<uint8_t> entries(256 * 4, 0);
    if (ShapeOf(rest) == "W" && rest[0].text == "default") {
        block = SV_getDefPalette();
    } else if (ShapeOf(rest) == std::string(static_cast<size_t>(count), 'C')) {
        for (int64_t i = 0; i < count; ++i) {
            for (int k = 0; k < 3; ++k) {
                int64_t v = rest[static_cast<size_t>(i)].rgb[static_cast<size_t>(k)];
                if (v < 0 || v > 255) return "colour components are 0 to 255";
                entries[static_cast<size_t>(4 * (first + i) + 2 - k)] = static_cast<uint8_t>(v);
            }
        }
        block = entries.data();
    } else {
        return "expected palette START COUNT MAX default, or COUNT colours R,G,B";
    }
    SV_setPalette(static_cast<int32_t>(first), static_cast<int32_t>(count), block,
                  static_cast<int32_t>(most));
    return {};
}

std::string ScriptRun::page(const Token& t) const {
    if (t.number >= 0 && t.number <= device_.lastPage) return {};
    return "page " + std::to_string(t.number) + " lies past the mode's pages 0 to " +
           std::to_string(device_.lastPage);
}

std::string ScriptRun::active(const std::vector<Token>& t) {
    if (std::string why = page(t[0]); !why.empty()) return why;
    SV_setActivePage(static_cast<int32_t>(t[0].number));
    return {};
}

std::string ScriptRun::visual(const std::vector<Token>& t) {
    if (std::string why = page(t[0]); !why.empty()) return why;
    SV_setVisualPage(static_cast<int32_t>(t[0].number), t[1].number != 0);
    return {};
}

std::string ScriptRun::start(const std::vector<Token>& t) {
    for (int i = 0; i < 2; ++i)
        if (t[i].number < 0 || t[i].number > 0xFFFF) return "display start out of range";
    SV_setDisplayStart(static_cast<int32_t>(t[0].number), static_cast<int32_t>(t[1].number),
                       t[2].number != 0);
    return {};
}

std::string ScriptRun::bank(const std::vector<Token>& t) {
    int64_t banks = device_.memoryKB / 64;
    if (t[0].number < 0 || t[0].number >= banks)
        return "bank " + std::to_string(t[0].number) + " lies past video memory's banks 0 to " +
               std::to_string(banks - 1);
    SV_setBank(static_cast<int32_t>(t[0].number));
    return {};
}

int RunScript(const Arguments& arguments) {
    if (arguments.positional.size() != 2) return Fail("usage: svgatest run SCRIPT OUT.png");
    const std::string& scriptPath = arguments.positional[0];
    const std::string& pngPath = arguments.positional[1];
    std::ifstream script(scriptPath);
    if (!script) return Fail("cannot read " + scriptPath);
    SV_DeviceInfo* device = SV_init(arguments.accel ? 1 : 0);
    if (device == nullptr) return Fail("no VBE BIOS on this PC");

    ScriptRun run(*device);
    std::string lineText, error;
    std::vector<Token> tokens;
    for (int number = 1; std::getline(script, lineText); ++number) {
        if (!Tokenize(lineText, tokens, error))
            return Fail(scriptPath + " line " + std::to_string(number) + ": " + error);
        if (tokens.empty()) continue;
        if (std::string why = run.run(tokens); !why.empty())
            return Fail(scriptPath + " line " + std::to_string(number) + ": " + why);
    }
    if (!WritePng(pngPath, pcemu::TheMachine().adapter().scanout(), &error))
        return Fail("cannot write " + pngPath + ": " + error);
    std::cout << run.report().dump(2) << '\n';
    return 0;
}

const RegisterCommand kRun{"run", "run SCRIPT OUT.png [--bios NAME] [--vram KB] [--accel]",
                           RunScript};

} // namespace
} // namespace svgatest
