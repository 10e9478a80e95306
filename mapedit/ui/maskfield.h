#pragma once
// The argument field "!#999": an optional digit or sign followed by up to three
// optional digits, right-aligned in four positions with leading blanks.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mapedit::ui {

inline constexpr int kMaskWidth = 4;

// The field's text for a value: "   0", "  42", "-999".
std::string MaskText(int32_t value);

// The text the field holds after an edit: the characters typed (blanks
// anywhere are dropped), right-aligned in four positions; nothing when the
// mask does not accept them (a sign after a digit, more than four characters,
// anything but digits, signs and blanks).
std::optional<std::string> NormalizeMaskInput(std::string_view text);

} // namespace mapedit::ui
