#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "base/resource_source.h"

// Resources held in memory, keyed by type and id.
class FakeResources final : public ResourceSource {
public:
    void Add(std::string type, int id, std::vector<std::byte> bytes) {
        m_items[{std::move(type), id}] = std::move(bytes);
    }
    // Adds an RCDATA resource made of little-endian 16-bit words.
    void AddWords(int id, const std::vector<std::uint16_t>& words) {
        std::vector<std::byte> bytes;
        for (std::uint16_t w : words) {
            bytes.push_back(static_cast<std::byte>(w & 0xFF));
            bytes.push_back(static_cast<std::byte>(w >> 8));
        }
        Add(std::string(kResourceTypeRcData), id, std::move(bytes));
    }
    std::span<const std::byte> Find(std::string_view type, int id) const override {
        auto it = m_items.find({std::string(type), id});
        if (it == m_items.end()) return {};
        return it->second;
    }

private:
    std::map<std::pair<std::string, int>, std::vector<std::byte>> m_items;
};
