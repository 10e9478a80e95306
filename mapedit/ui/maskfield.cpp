#include "mapedit/ui/maskfield.h"

namespace mapedit::ui {

std::string MaskText(int32_t value) {
    std::string digits = std::to_string(value);
    if (digits.size() < size_t(kMaskWidth))
        digits.insert(0, size_t(kMaskWidth) - digits.size(), ' ');
    return digits;
}

std::optional<std::string> NormalizeMaskInput(std::string_view text) {
    std::string kept;
    for (char c : text) {
        if (c == ' ') continue;
        const bool digit = c >= '0' && c <= '9';
        const bool sign = c == '-' || c == '+';
        // Only the first position of the mask takes a sign.
        if (!digit && !(sign && kept.empty())) return std::nullopt;
        kept += c;
    }
    if (kept.size() > size_t(kMaskWidth)) return std::nullopt;
    kept.insert(0, size_t(kMaskWidth) - kept.size(), ' ');
    return kept;
}

} // namespace mapedit::ui
