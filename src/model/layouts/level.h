#pragma once
// Shoot'em-up Level data record (type 8): 16 + 40 * n bytes, the background map, n wave entries
// in descending order of their Y map position, then the level's sound pair.
#include <cstddef>
#include <cstdint>

namespace qb::layout::level {

constexpr std::size_t kBackgroundMap = 0;  // u32: Background map (type 6), low 16 bits
constexpr std::size_t kEntryCount = 4;     // i32: n, the number of wave entries
constexpr std::size_t kEntries = 8;        // n x 40-byte wave entries
constexpr std::size_t kEntrySize = 40;
constexpr std::size_t kFixedBytes = 16;    // map, count and the sound pair behind the entries
constexpr std::size_t kNewSize = 48;       // a new item: 48 zero bytes

// Offsets that depend on the entry count (64-bit so that a stored count cannot overflow them).
constexpr std::uint64_t EntryOffset(std::uint64_t index) { return kEntries + kEntrySize * index; }
constexpr std::uint64_t SoundOffset(std::uint64_t entryCount) { return EntryOffset(entryCount); }  // sound pair
constexpr std::uint64_t SizeFor(std::uint64_t entryCount) { return kFixedBytes + kEntrySize * entryCount; }

// Wave entry fields, relative to the entry.
namespace entry {
constexpr std::size_t kEnemyCount = 0;    // i32: enemies in the wave
constexpr std::size_t kSubject = 4;       // u32: Enemies data ID, or Bonus data ID + kBonusBase
constexpr std::size_t kMapX = 8;          // i32: pixels from the left of the map
constexpr std::size_t kMapY = 12;         // i32: pixels from the bottom of the map
constexpr std::size_t kScreenX = 16;      // i32: always 0
constexpr std::size_t kScreenY = 20;      // i32: a map Y coordinate
constexpr std::size_t kMirrorX = 24;      // u32: mirror X animation, 1/0
constexpr std::size_t kShots = 28;        // u32: kNoShots, kOneShot, kContinuousShots
constexpr std::size_t kShotTimeout = 32;  // i32: milliseconds
constexpr std::size_t kEnemyDistance = 36;  // i32: milliseconds between two enemies of the wave
static_assert(kEnemyDistance + 4 == kEntrySize);

constexpr std::uint32_t kBonusBase = 65536;  // a subject of 65536 or more is a bonus entry
constexpr std::uint32_t kNoShots = 0, kOneShot = 1, kContinuousShots = 2;
constexpr std::int32_t kResetShotTimeout = 5000;
constexpr std::int32_t kResetEnemyDistance = 1000;
} // namespace entry

static_assert(SizeFor(0) == kFixedBytes);
static_assert(SizeFor(3) == 136);

} // namespace qb::layout::level
