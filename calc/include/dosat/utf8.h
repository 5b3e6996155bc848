#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// UTF-8, as the program's texts are held: one code point read or written at a time.
namespace dosat::utf8 {

/// What Decode gives for a malformed or overlong sequence, or a surrogate.
inline constexpr char32_t kInvalid = 0xFFFFFFFF;

/// Decodes one code point at text[pos] and advances pos past it; kInvalid where the
/// bytes there are not one.
char32_t Decode(std::string_view text, std::size_t& pos);

/// Appends the UTF-8 form of the code point cp to out.
void Append(std::string& out, char32_t cp);

}  // namespace dosat::utf8
