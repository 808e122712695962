#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// A second reading of a typed target, written apart from the game's own to check it: a state
// machine walks the text once, and the rounding is done on the decimal digits themselves, exactly,
// with no floating point anywhere. Texts are taken to be shorter than a hundred million
// characters.
namespace exact
{

// The 16-bit target the game must take from a text, or nothing when the number does not fit.
std::optional<std::int16_t> target(std::u16string_view text);

} // namespace exact
