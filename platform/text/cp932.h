// Internal to the text module: one-character code-page-932 decoding.
#pragma once

namespace plat {

// Decodes the character at text[0] (n > 0 bytes available) and stores in *used how many
// bytes it took (1 or 2). Invalid bytes give U+FFFD.
char32_t DecodeOneCp932(const unsigned char* text, int n, int* used);

}  // namespace plat
