#include "rules/notation/shown_text.h"

std::string shown_character(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= ' ' && byte < 0x7F) return std::string(1, c);
    constexpr char hex[] = "0123456789ABCDEF";
    return std::string("\\x") + hex[byte >> 4] + hex[byte & 0xF];
}

std::string shown_text(std::string_view text) {
    constexpr size_t longest = 60;
    std::string out;
    for (size_t i = 0; i < text.size() && i < longest; i++) out += shown_character(text[i]);
    if (text.size() > longest) out += "...";
    return out;
}
