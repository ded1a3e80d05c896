#include "res/embedded_resources.h"

#include <gtest/gtest.h>

#include <string_view>

namespace {

std::string_view Text(std::span<const std::byte> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

TEST(EmbeddedResourcesTest, FindsEachResourceByTypeAndId) {
    const EmbeddedResources resources;
    EXPECT_TRUE(Text(resources.Find("GIF", 168)).starts_with("GIF89a"));
    EXPECT_TRUE(Text(resources.Find("BITMAP", 160)).starts_with("\x89PNG"));
    EXPECT_EQ(resources.Find("RCDATA", 139).size(), 292u) << "the test melody";
    // Two resources share id 158: the cursor's picture and its hot spot.
    EXPECT_TRUE(Text(resources.Find("CURSOR", 158)).starts_with("\x89PNG"));
    EXPECT_EQ(Text(resources.Find("HOTSPOT", 158)).substr(0, 3), "7 1");
}

TEST(EmbeddedResourcesTest, MissingTypesAndIdsFindNothing) {
    const EmbeddedResources resources;
    EXPECT_TRUE(resources.Find("GIF", 169).empty());
    EXPECT_TRUE(resources.Find("ICON", 168).empty());
    EXPECT_TRUE(resources.Find("", 139).empty());
}

}  // namespace
