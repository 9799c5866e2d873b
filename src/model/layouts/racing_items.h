#pragma once
// Racing game items: Tracks data (type 108) and Vehicle data (type 109) records.
#include <cstddef>
#include <cstdint>

#include "model/layouts/sprite_frame.h"

namespace qb::layout {

namespace track {
constexpr std::size_t kSize = 1016;
constexpr std::size_t kBackgroundMap = 0;  // u32: background map (type 6), low 16 bits
constexpr std::size_t kMaxLapTime = 4;     // i32: seconds (hidden)
constexpr std::size_t kMarkerCount = 8;    // i32: markers used, 0..50
constexpr std::size_t kMarkers = 12;       // 50 x 20-byte markers in list order
constexpr std::size_t kMarkerSlots = 50;
constexpr std::size_t kMarkerSize = 20;
constexpr std::size_t kLapCount = 1012;    // i32: number of laps to drive
constexpr std::int32_t kNewMaxLapTime = 120;
static_assert(kMarkers + kMarkerSlots * kMarkerSize == kLapCount);
static_assert(kLapCount + 4 == kSize);

namespace marker {
constexpr std::size_t kOrientation = 0;  // u16: kHorizontal or kVertical
constexpr std::size_t kKind = 2;         // u16: kStartLine, kBoxEnterExit, kBoxStartPosition
constexpr std::size_t kStartX = 4;       // i32: map pixels
constexpr std::size_t kStartY = 8;       // i32: map pixels counted upward from the bottom
constexpr std::size_t kEndX = 12;        // i32: used by horizontal markers
constexpr std::size_t kEndY = 16;        // i32: used by vertical markers
constexpr std::uint16_t kHorizontal = 0, kVertical = 1;
constexpr std::uint16_t kStartLine = 0, kBoxEnterExit = 1, kBoxStartPosition = 2;
} // namespace marker
} // namespace track

namespace car {
constexpr std::size_t kSize = 248;
constexpr std::size_t kSprites = 0;               // 24 sprite frames
constexpr std::size_t kSpriteSlots = 24;
constexpr std::size_t kSoundEnabled = 192;        // u32: one flag for the four sounds, 1/0
constexpr std::size_t kStopSound = 196;           // u32: Audio data (type 5), low 16 bits
constexpr std::size_t kAccelerationSound = 200;   // u32: Audio data
constexpr std::size_t kDecelerationSound = 204;   // u32: Audio data
constexpr std::size_t kMaxSpeed = 208;            // i32
constexpr std::size_t kAcceleration = 212;        // i32
constexpr std::size_t kWakePlusSpeed = 216;       // i32
constexpr std::size_t kRoadFriction = 220;        // i32: percent
constexpr std::size_t kOffRoadFriction = 224;     // i32: percent
constexpr std::size_t kCollisionRadius = 228;     // i32
constexpr std::size_t kCurveSound = 232;          // u32: Audio data
constexpr std::size_t kRotationDelay = 236;       // i32: frames
constexpr std::size_t kCurveGrip = 240;           // i32
constexpr std::size_t kGrassAcceleration = 244;   // i32
constexpr std::int32_t kNewMaxSpeed = 120, kNewAcceleration = 20, kNewWakePlusSpeed = 6,
                       kNewRoadFriction = 10, kNewOffRoadFriction = 50;
static_assert(kSprites + kSpriteSlots * sprite_frame::kSize == kSoundEnabled);
static_assert(kGrassAcceleration + 4 == kSize);
} // namespace car

} // namespace qb::layout
