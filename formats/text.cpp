#include "formats/text.h"

#include "formats/errors.h"

#include <climits>
#include <filesystem>
#include <unistd.h>

namespace formats {

std::string ShortText(std::string_view s) {
    return std::string(s.substr(0, kMaxShortText));
}

std::string LeftStr(std::string_view s, int n) {
    if (n <= 0) return {};
    return std::string(s.substr(0, static_cast<size_t>(n)));
}

std::string RightStr(std::string_view s, int n) {
    if (n <= 0) return {};
    size_t k = std::min(static_cast<size_t>(n), s.size());
    return std::string(s.substr(s.size() - k));
}

std::string BeforeFirst(std::string_view s, std::string_view set) {
    size_t p = s.find_first_of(set);
    return std::string(p == std::string_view::npos ? s : s.substr(0, p));
}

std::string BeforeLast(std::string_view s, std::string_view set) {
    size_t p = s.find_last_of(set);
    return p == std::string_view::npos ? std::string() : std::string(s.substr(0, p));
}

std::string AfterFirst(std::string_view s, std::string_view set) {
    size_t p = s.find_first_of(set);
    return p == std::string_view::npos ? std::string() : std::string(s.substr(p + 1));
}

void RemoveSpaces(std::string& s) {
    std::erase(s, ' ');
}

void UpperCaseStr(std::string& s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
}

std::string GetWord(std::string_view s, int n) {
    int count = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == ' ' || (i > 0 && s[i - 1] != ' ')) continue;
        if (++count < n) continue;
        size_t end = i;
        while (end < s.size() && s[end] != ' ' && s[end] != '\r' && s[end] != '\v')
            ++end;
        return std::string(s.substr(i, end - i));
    }
    return {};
}

int RoundUpToTen(int a) {
    return ((a + 9) / 10) * 10;
}

std::string ProgramDir() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return std::filesystem::current_path(ec).string();
    return exe.parent_path().string();
}

// Only a whole directory is stripped: "C:\GAME" is no prefix of "C:\GAMES\A.TIL".
std::string StripPrefix(std::string_view path, std::string_view dir) {
    if (path.size() > dir.size() && path.substr(0, dir.size()) == dir &&
        (path[dir.size()] == '\\' || path[dir.size()] == '/')) {
        return std::string(path.substr(dir.size() + 1));
    }
    return std::string(path);
}

std::string RelativeToProgramDir(std::string_view path) {
    return StripPrefix(path, ProgramDir());
}

std::string DirOf(std::string_view path) {
    return BeforeLast(path, "\\");
}

void ForEachPaletteEntry(const uint8_t (&palette)[768], const PaletteEntryCallback& callback) {
    for (int i = 0; i < 256; ++i)
        callback(i, palette[3 * i], palette[3 * i + 1], palette[3 * i + 2]);
}

int StrToInt(std::string_view s) {
    auto fail = [&] {
        return EConvertError("'" + std::string(s) + "' is not a valid integer value");
    };
    size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    if (i >= s.size() || s[i] < '0' || s[i] > '9') throw fail();
    long long value = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        value = value * 10 + (s[i++] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) throw fail();
    }
    while (i < s.size() && s[i] == ' ')
        ++i;
    if (i != s.size()) throw fail();
    if (negative) value = -value;
    if (value > INT_MAX || value < INT_MIN) throw fail();
    return static_cast<int>(value);
}

} // namespace formats
