#pragma once

#include <cstddef>
#include <span>
#include <string_view>

inline constexpr std::string_view kResourceTypeRcData = "RCDATA";
inline constexpr std::string_view kResourceTypeGif = "GIF";

// The program's own resources (melody, banner, ...). The bytes stay valid for the process's life.
class ResourceSource {
public:
    virtual ~ResourceSource() = default;
    // Returns an empty span when the resource does not exist.
    virtual std::span<const std::byte> Find(std::string_view type, int id) const = 0;
};
