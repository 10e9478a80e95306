#include "script.h"

#include <cctype>
#include <charconv>

namespace svgatest {
namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// A whole token as a number: an optional minus, then 0x and hex digits or
// decimal digits; magnitudes up to 2^32.
bool ParseNumber(std::string_view s, int64_t& value) {
    bool negative = !s.empty() && s.front() == '-';
    if (negative) s.remove_prefix(1);
    int base = 10;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    }
    uint64_t magnitude = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), magnitude, base);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size() || magnitude > 0x100000000u)
        return false;
    value = negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// Reads a quoted text starting at line[at] == '"'; `at` ends after the
// closing quote.
bool ReadText(std::string_view line, size_t& at, std::string& bytes, std::string& error) {
    for (++at; at < line.size(); ++at) {
        char c = line[at];
        if (c == '"') {
            ++at;
            return true;
        }
        if (c != '\\') {
            bytes += c;
            continue;
        }
        if (++at >= line.size()) break;
        char e = line[at];
        if (e == '\\' || e == '"') {
            bytes += e;
        } else if (e == 'x' && at + 2 < line.size() && HexDigit(line[at + 1]) >= 0 &&
                   HexDigit(line[at + 2]) >= 0) {
            bytes += static_cast<char>(HexDigit(line[at + 1]) * 16 + HexDigit(line[at + 2]));
            at += 2;
        } else {
            error = "unknown escape in text (\\xNN, \\\\ and \\\" are known)";
            return false;
        }
    }
    error = "text without its closing quote";
    return false;
}

bool ReadTriple(std::string_view word, Token& token, std::string& error) {
    size_t first = word.find(','), second = word.find(',', first + 1);
    if (second == std::string_view::npos || word.find(',', second + 1) != std::string_view::npos ||
        !ParseNumber(word.substr(0, first), token.rgb[0]) ||
        !ParseNumber(word.substr(first + 1, second - first - 1), token.rgb[1]) ||
        !ParseNumber(word.substr(second + 1), token.rgb[2])) {
        error = "colour " + std::string(word) + " is not R,G,B";
        return false;
    }
    token.kind = Token::Kind::Triple;
    return true;
}

} // namespace

bool Tokenize(std::string_view line, std::vector<Token>& out, std::string& error) {
    out.clear();
    size_t at = 0;
    while (at < line.size()) {
        if (IsSpace(line[at])) {
            ++at;
            continue;
        }
        if (line[at] == '#') break;
        Token token;
        token.kind = Token::Kind::Word;
        if (line[at] == '"') {
            token.kind = Token::Kind::Text;
            if (!ReadText(line, at, token.text, error)) return false;
            out.push_back(std::move(token));
            continue;
        }
        size_t end = at;
        while (end < line.size() && !IsSpace(line[end]) && line[end] != '#' && line[end] != '"')
            ++end;
        std::string_view word = line.substr(at, end - at);
        at = end;
        if (word.find(',') != std::string_view::npos) {
            if (!ReadTriple(word, token, error)) return false;
        } else if (std::isdigit(static_cast<unsigned char>(word[0])) || word[0] == '-') {
            if (!ParseNumber(word, token.number)) {
                error = "not a number: " + std::string(word);
                return false;
            }
            token.kind = Token::Kind::Number;
        } else {
            token.text = word;
        }
        out.push_back(std::move(token));
    }
    return true;
}

std::string ShapeOf(const std::vector<Token>& tokens) {
    std::string shape;
    for (const Token& token : tokens)
        shape += static_cast<char>(token.kind);
    return shape;
}

} // namespace svgatest
