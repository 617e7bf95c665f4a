#include "utf16_text.h"

#include <algorithm>
#include <cstdint>

namespace vst3host {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

void appendUtf8(std::string& out, char32_t code) {
    const auto byte = [&out](char32_t bits) { out.push_back(static_cast<char>(static_cast<std::uint8_t>(bits))); };
    if (code < 0x80) {
        byte(code);
    } else if (code < 0x800) {
        byte(0xC0 | code >> 6);
        byte(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        byte(0xE0 | code >> 12);
        byte(0x80 | (code >> 6 & 0x3F));
        byte(0x80 | (code & 0x3F));
    } else {
        byte(0xF0 | code >> 18);
        byte(0x80 | (code >> 12 & 0x3F));
        byte(0x80 | (code >> 6 & 0x3F));
        byte(0x80 | (code & 0x3F));
    }
}

// The next character of utf8 from at, which moves past it; U+FFFD for a
// byte that starts no well-formed sequence.
char32_t nextCharacter(std::string_view utf8, std::size_t& at) {
    const auto lead = static_cast<std::uint8_t>(utf8[at++]);
    if (lead < 0x80) return lead;
    int trailing = -1;
    if (lead >= 0xC2 && lead < 0xE0) trailing = 1;
    if (lead >= 0xE0 && lead < 0xF0) trailing = 2;
    if (lead >= 0xF0 && lead < 0xF5) trailing = 3;
    if (trailing < 0 || at + static_cast<std::size_t>(trailing) > utf8.size()) return kReplacement;
    char32_t code = lead & (0x3F >> trailing);
    for (int i = 0; i < trailing; ++i) {
        const auto next = static_cast<std::uint8_t>(utf8[at]);
        if ((next & 0xC0) != 0x80) return kReplacement;
        code = code << 6 | (next & 0x3F);
        ++at;
    }
    const char32_t smallest = trailing == 1 ? 0x80 : trailing == 2 ? 0x800 : 0x10000;
    if (code < smallest || code > 0x10FFFF || isHighSurrogate(code) || isLowSurrogate(code)) return kReplacement;
    return code;
}

}  // namespace

std::string utf8Of(const vst3::char16* text, std::size_t capacity) {
    std::string out;
    if (text == nullptr) return out;
    for (std::size_t i = 0; i < capacity && text[i] != u'\0'; ++i) {
        const char32_t unit = text[i];
        if (isHighSurrogate(unit) && i + 1 < capacity && isLowSurrogate(text[i + 1])) {
            appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (static_cast<char32_t>(text[i + 1]) - 0xDC00));
            ++i;
        } else {
            appendUtf8(out, isHighSurrogate(unit) || isLowSurrogate(unit) ? kReplacement : unit);
        }
    }
    return out;
}

std::u16string utf16Of(std::string_view utf8) {
    std::u16string out;
    for (std::size_t at = 0; at < utf8.size();) {
        const char32_t code = nextCharacter(utf8, at);
        if (code >= 0x10000) {
            out.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(code));
        }
    }
    return out;
}

void writeUtf16(std::string_view utf8, vst3::char16* out, std::size_t capacity) {
    if (capacity == 0) return;
    std::u16string text = utf16Of(utf8);
    std::size_t length = std::min(text.size(), capacity - 1);
    // A character is never cut in half.
    if (length > 0 && length < text.size() && isHighSurrogate(text[length - 1])) --length;
    std::copy_n(text.begin(), length, out);
    std::fill(out + length, out + capacity, u'\0');
}

}  // namespace vst3host
