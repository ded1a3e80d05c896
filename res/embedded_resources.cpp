#include "res/embedded_resources.h"

std::span<const std::byte> EmbeddedResources::Find(std::string_view type, int id) const {
    for (std::size_t i = 0; i < kEmbeddedResourceCount; ++i) {
        const EmbeddedResource& r = kEmbeddedResources[i];
        if (r.id == id && type == r.type) {
            return {reinterpret_cast<const std::byte*>(r.data), r.size};
        }
    }
    return {};
}
