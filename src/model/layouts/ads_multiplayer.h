#pragma once
// Ads (type 120) and Server data / Multiplayer data (type 121) records; at most one of each per
// project.
#include <cstddef>
#include <cstdint>

#include "model/record.h"

namespace qb::layout {

namespace ads {
constexpr std::size_t kSize = 528;
constexpr std::size_t kMochiEnabled = 0;        // u32: MochiAds enabled, 1/0
constexpr std::size_t kMochiCode = 4;           // char[260]: MochiAds game code
constexpr std::size_t kYouyouwinEnabled = 264;  // u32: Youyouwin Ads enabled, 1/0
constexpr std::size_t kYouyouwinCode = 268;     // char[260]: Youyouwin Ads game code
constexpr std::size_t kCodeSize = kPathField;
static_assert(kYouyouwinCode + kCodeSize == kSize);
} // namespace ads

namespace server {
constexpr std::size_t kSize = 804;
constexpr std::size_t kMultiplayerActive = 0;  // u32: 1/0 (hidden)
constexpr std::size_t kMultiplayerAsp = 4;     // char[260]: full path of the multiplayer ASP file (hidden)
constexpr std::size_t kOpponentFont = 264;     // u32: Fonts bitmap (type 2) for the opponents' descriptions (hidden)
constexpr std::size_t kOpponentOffsetX = 268;  // i32 (hidden)
constexpr std::size_t kOpponentOffsetY = 272;  // i32 (hidden)
constexpr std::size_t kRecordsActive = 276;    // u32: online records, 1/0
constexpr std::size_t kRecordsAsp = 280;       // char[260]: full path of the records ASP file (never stored by the editor)
constexpr std::size_t kGenericManage = 540;    // u32: 1/0 (hidden)
constexpr std::size_t kRecordsId = 544;        // char[260]: ID of the game's records on the server
constexpr std::size_t kTextSize = kPathField;
constexpr std::uint32_t kNewGenericManage = 1;
static_assert(kRecordsAsp + kTextSize == kGenericManage);
static_assert(kRecordsId + kTextSize == kSize);
} // namespace server

} // namespace qb::layout
