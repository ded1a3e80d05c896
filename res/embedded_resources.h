#pragma once

#include "base/resource_source.h"

// Resources compiled into the program from res/ at build time.
class EmbeddedResources final : public ResourceSource {
public:
    std::span<const std::byte> Find(std::string_view type, int id) const override;
};

// The generated table behind EmbeddedResources.
struct EmbeddedResource {
    const char* type;
    int id;
    const unsigned char* data;
    std::size_t size;
};
extern const EmbeddedResource kEmbeddedResources[];
extern const std::size_t kEmbeddedResourceCount;
