#pragma once

// The state bits of an owner-drawn item (ODS_*), with the values Windows gives them.
namespace ods {
inline constexpr unsigned kSelected = 0x0001;
inline constexpr unsigned kGrayed = 0x0002;
inline constexpr unsigned kDisabled = 0x0004;
inline constexpr unsigned kChecked = 0x0008;
inline constexpr unsigned kFocus = 0x0010;
inline constexpr unsigned kDefault = 0x0020;
inline constexpr unsigned kHotLight = 0x0040;
inline constexpr unsigned kInactive = 0x0080;
inline constexpr unsigned kNoAccel = 0x0100;
}  // namespace ods
