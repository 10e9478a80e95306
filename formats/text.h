#pragma once
// Short-text helpers shared by the tile set parser, the map writer and the
// attribute mask field. Texts hold at most 255 8-bit characters.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace formats {

inline constexpr size_t kMaxShortText = 255;

// Cuts a text to the 255 characters a short text can hold.
std::string ShortText(std::string_view s);

std::string LeftStr(std::string_view s, int n);
std::string RightStr(std::string_view s, int n);
// `set` lists the characters of a character set.
std::string BeforeFirst(std::string_view s, std::string_view set);
std::string BeforeLast(std::string_view s, std::string_view set);
std::string AfterFirst(std::string_view s, std::string_view set);
void RemoveSpaces(std::string& s);
void UpperCaseStr(std::string& s);
// The n-th space-separated word, counted from 1; empty when s has fewer words.
std::string GetWord(std::string_view s, int n);
int RoundUpToTen(int a);

// Directory of the running program, without a trailing separator.
std::string ProgramDir();
std::string StripPrefix(std::string_view path, std::string_view dir);
std::string RelativeToProgramDir(std::string_view path);
std::string DirOf(std::string_view path);

using PaletteEntryCallback =
    std::function<void(int index, uint8_t red, uint8_t green, uint8_t blue)>;
void ForEachPaletteEntry(const uint8_t (&palette)[768], const PaletteEntryCallback& callback);

// Decimal integer conversion as the tile set readers need it: optional sign,
// digits, surrounding spaces allowed; anything else raises EConvertError.
int StrToInt(std::string_view s);

} // namespace formats
