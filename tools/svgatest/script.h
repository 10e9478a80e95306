#pragma once
// The lines of a `svgatest run` script: one library call per line, words,
// numbers (decimal or 0x-hex), quoted text with \xNN escapes and R,G,B
// colour triples; '#' outside quotes starts a comment.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace svgatest {

struct Token {
    enum class Kind : char { Number = 'N', Word = 'W', Text = 'T', Triple = 'C' };
    Kind kind = Kind::Word;
    int64_t number = 0;           // Number
    std::string text;             // Word, or the bytes of Text
    std::array<int64_t, 3> rgb{}; // Triple
};

// The tokens of one line (none for a blank or comment line). False and a
// message for a malformed line: an unterminated quote, a bad escape, a
// number out of range or a triple that is not three numbers.
bool Tokenize(std::string_view line, std::vector<Token>& out, std::string& error);

// The kinds of a line's tokens as letters ("WNNN" for "pixel 1 2 3").
std::string ShapeOf(const std::vector<Token>& tokens);

} // namespace svgatest
