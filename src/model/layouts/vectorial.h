#pragma once
// Vectorial animation record (type 11): 16 + 8 * n bytes, a movement path of n vectors.
#include <cstddef>
#include <cstdint>

namespace qb::layout::vectorial {

constexpr std::size_t kType = 0;         // u32: kFromTop..kSecondAnimation
constexpr std::size_t kScale = 4;        // i32: percent, 100 = no scale
constexpr std::size_t kVectorCount = 8;  // u32: n
constexpr std::size_t kVectors = 12;     // n x 8-byte vectors in drawing order, then a zero word
constexpr std::size_t kVectorSize = 8;
constexpr std::size_t kFixedBytes = 16;
constexpr std::size_t kNewSize = kFixedBytes;
constexpr std::int32_t kNewScale = 150;

constexpr std::uint64_t VectorOffset(std::uint64_t index) { return kVectors + kVectorSize * index; }
constexpr std::uint64_t SizeFor(std::uint64_t vectorCount) { return kFixedBytes + kVectorSize * vectorCount; }

namespace vector {
constexpr std::size_t kSpeed = 0;  // u32: speed of the leg ending here, low 16 bits only
constexpr std::size_t kPoint = 4;  // u32: x * 65536 + y, pixels of the 320 x 320 area
constexpr std::uint32_t MakePoint(std::uint32_t x, std::uint32_t y) { return (x << 16) + y; }
static_assert(MakePoint(100, 250) == 6553850);
} // namespace vector

// kType values and where each path starts.
constexpr std::uint32_t kFromTop = 0;           // (160, 0)
constexpr std::uint32_t kFromLeft = 1;          // (0, 160), right if mirrored
constexpr std::uint32_t kFromBottom = 2;        // (160, 319)
constexpr std::uint32_t kTowardsPlayer = 3;     // (160, 160), exactly one vector
constexpr std::uint32_t kSecondAnimation = 4;   // (160, 160): second animation (monster) or fire
constexpr std::uint32_t kTypeCount = 5;

} // namespace qb::layout::vectorial
