#pragma once
// The optional-sound pair: an enabled flag followed by the ID of an Audio data item (type 5).
#include <cstddef>

namespace qb::layout::sound_pair {

constexpr std::size_t kSize = 8;
constexpr std::size_t kEnabled = 0;  // u32: 1 play the sound, 0 not
constexpr std::size_t kSoundId = 4;  // u32: Audio data item ID (the picker keeps all 32 bits)

} // namespace qb::layout::sound_pair
