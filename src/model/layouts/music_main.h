#pragma once
// Music game Main parameters record (type 400): no editor uses its fields; new projects create
// it zero-filled.
#include <cstddef>

namespace qb::layout::music_main {

constexpr std::size_t kSize = 940;

} // namespace qb::layout::music_main
