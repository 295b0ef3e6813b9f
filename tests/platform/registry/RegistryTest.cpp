#include "platform/headless/HeadlessRegistry.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace Platform;

namespace {

constexpr const char* kKey = "SOFTWARE\\Hollowmere\\Moorglen";

struct Stored {
    bool ok;
    uint32_t type;
    std::vector<uint8_t> data;
};

Stored Query(Registry& registry, const RegistryKey& key, const std::string& name, uint32_t room = 64)
{
    Stored result{};
    std::vector<uint8_t> buffer(room, 0xEE);
    uint32_t length = room;
    result.ok = registry.QueryValue(key, name, &result.type, buffer.data(), &length);
    if (result.ok)
        result.data.assign(buffer.begin(), buffer.begin() + length);
    return result;
}

TEST(Registry, RoundTripsDwordStringAndBinaryExactly)
{
    HeadlessRegistry registry;
    RegistryKey key;
    ASSERT_TRUE(registry.CreateKey(kKey, key));
    uint8_t dword[4] = {85, 0, 0, 0};
    const char text[] = "1:30";
    uint8_t binary[5] = {0, 1, 0xFF, 0x80, 0};
    ASSERT_TRUE(registry.SetValue(key, "MusicVolume", REG_DWORD, dword, 4));
    ASSERT_TRUE(registry.SetValue(key, "DemoJumpTime", REG_SZ, reinterpret_cast<const uint8_t*>(text), 4));
    ASSERT_TRUE(registry.SetValue(key, "WithTerminator", REG_SZ, reinterpret_cast<const uint8_t*>(text), 5));
    ASSERT_TRUE(registry.SetValue(key, "Blob", REG_BINARY, binary, 5));
    ASSERT_TRUE(registry.SetValue(key, "Odd", 77, binary, 0));

    Stored got = Query(registry, key, "MusicVolume");
    EXPECT_TRUE(got.ok);
    EXPECT_EQ(got.type, REG_DWORD);
    EXPECT_EQ(got.data, std::vector<uint8_t>(dword, dword + 4));
    EXPECT_EQ(Query(registry, key, "DemoJumpTime").data.size(), 4u);
    EXPECT_EQ(Query(registry, key, "WithTerminator").data, std::vector<uint8_t>(text, text + 5));
    EXPECT_EQ(Query(registry, key, "Blob").data, std::vector<uint8_t>(binary, binary + 5));
    Stored odd = Query(registry, key, "Odd");
    EXPECT_TRUE(odd.ok);
    EXPECT_EQ(odd.type, 77u);
    EXPECT_TRUE(odd.data.empty());
}

TEST(Registry, PathsAndNamesIgnoreLetterCaseAndKeepTheirStoredCase)
{
    HeadlessRegistry registry;
    RegistryKey key;
    registry.CreateKey(kKey, key);
    uint8_t one[4] = {1, 0, 0, 0};
    registry.SetValue(key, "ScreenMode", REG_DWORD, one, 4);
    RegistryKey other;
    ASSERT_TRUE(registry.OpenKey("software\\HOLLOWMERE\\moorglen", other));
    EXPECT_TRUE(Query(registry, other, "SCREENMODE").ok);
    uint8_t zero[4] = {};
    registry.SetValue(other, "screenmode", REG_DWORD, zero, 4);
    RegistryStore store = registry.Snapshot();
    const RegistryValue* value = store.FindValue(kKey, "ScreenMode");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->name, "ScreenMode");
    EXPECT_EQ(value->data, std::vector<uint8_t>(4, 0));
    EXPECT_EQ(store.Keys().size(), 4u); // the root and three levels
}

TEST(Registry, OpeningAMissingKeyFailsAndCreateMakesEveryLevel)
{
    HeadlessRegistry registry;
    RegistryKey key;
    EXPECT_FALSE(registry.OpenKey("SOFTWARE\\Hollowmere", key));
    EXPECT_FALSE(key.open);
    ASSERT_TRUE(registry.CreateKey("SOFTWARE\\Hollowmere\\Moorglen\\Test3D", key));
    for (const char* level : {"SOFTWARE", "SOFTWARE\\Hollowmere", "SOFTWARE\\Hollowmere\\Moorglen"}) {
        RegistryKey opened;
        EXPECT_TRUE(registry.OpenKey(level, opened)) << level;
    }
    EXPECT_FALSE(Query(registry, key, "Missing").ok);
    EXPECT_FALSE(registry.DeleteValue(key, "Missing"));
    RegistryKey closed;
    EXPECT_FALSE(registry.SetValue(closed, "x", REG_DWORD, nullptr, 0));
}

TEST(Registry, TooSmallABufferFailsReportsTheSizeAndLeavesTheBufferAlone)
{
    HeadlessRegistry registry;
    RegistryKey key;
    registry.CreateKey(kKey, key);
    uint8_t eight[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    registry.SetValue(key, "Eight", REG_BINARY, eight, 8);
    uint8_t buffer[4] = {9, 9, 9, 9};
    uint32_t length = 4;
    uint32_t type = 0;
    EXPECT_FALSE(registry.QueryValue(key, "Eight", &type, buffer, &length));
    EXPECT_EQ(length, 8u);
    EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + 4), std::vector<uint8_t>(4, 9));
    // Asking with no buffer gives the size.
    length = 0;
    EXPECT_TRUE(registry.QueryValue(key, "Eight", &type, nullptr, &length));
    EXPECT_EQ(length, 8u);
    EXPECT_EQ(type, REG_BINARY);
}

TEST(Registry, DeleteAndTheFailingSetSwitch)
{
    HeadlessRegistry registry;
    RegistryKey key;
    registry.CreateKey(kKey, key);
    uint8_t one[4] = {1, 0, 0, 0};
    registry.SetValue(key, "Is3D", REG_DWORD, one, 4);
    registry.FailNextSet();
    EXPECT_FALSE(registry.SetValue(key, "Muted", REG_DWORD, one, 4));
    EXPECT_FALSE(Query(registry, key, "Muted").ok);
    EXPECT_TRUE(registry.SetValue(key, "Muted", REG_DWORD, one, 4));
    EXPECT_TRUE(registry.DeleteValue(key, "IS3D"));
    EXPECT_FALSE(Query(registry, key, "Is3D").ok);
}

} // namespace
