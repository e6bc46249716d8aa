// The registry commands on the real registry of the Wine prefix: root codes, the path split at its
// last real backslash (never a GBK trail byte), which value types are read and how each argument
// type is stored. Every check reads the registry back with the platform's own calls.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/commands/command_arguments.h"

namespace ruvelto::testing {
namespace {

// 籠 and 淺 end in the byte 0x5C, the backslash.
const std::string kCage = "\xBB\x5C";
const std::string kShallow = "\x9C\x5C";
const std::string kForbidRepeat = "\xBD\xFB\xD6\xB9\xD6\xD8\xB8\xB4\xD4\xCB\xD0\xD0";  // 禁止重复运行

struct Stored {
    bool found = false;
    DWORD type = REG_NONE;
    std::vector<uint8_t> data;
};

Stored Query(HKEY root, const std::string& key, const std::string& value) {
    Stored s;
    HKEY k;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return s;
    DWORD size = 0;
    if (RegQueryValueExA(k, value.c_str(), nullptr, &s.type, nullptr, &size) == ERROR_SUCCESS) {
        s.data.resize(size);
        s.found = RegQueryValueExA(k, value.c_str(), nullptr, &s.type, s.data.data(), &size) == ERROR_SUCCESS;
    }
    RegCloseKey(k);
    return s;
}

std::vector<uint8_t> DwordBytes(uint32_t v) { return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}; }

class RegistryCommands : public ::testing::Test {
protected:
    void SetUp() override { Remove(); }
    void TearDown() override { Remove(); }
    void Remove() {
        RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, key.c_str());
        RegDeleteValueA(HKEY_CURRENT_USER, rootValue.c_str());
    }
    void Set(HKEY root, const std::string& subkey, const std::string& value, DWORD type, const std::vector<uint8_t>& data) {
        HKEY k;
        ASSERT_EQ(RegCreateKeyA(root, subkey.c_str(), &k), ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExA(k, value.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size())), ERROR_SUCCESS);
        RegCloseKey(k);
    }
    bool Exists(int32_t root, const std::string& path) {
        const ValueRecord r = CallCore(kRegistryItemExists, {Int(root), args.Text(path)});
        EXPECT_EQ(r.type, kTypeBool);
        return r.lo != 0;
    }
    ValueRecord Write(int32_t root, const std::string& path, ValueRecord value) {
        return CallCore(kWriteRegistryItem, {Int(root), args.Text(path), value});
    }

    const std::string key = "Software\\RuveltoTests-" + std::to_string(GetCurrentProcessId());
    const std::string rootValue = "RuveltoTestValue-" + std::to_string(GetCurrentProcessId());
    ArgumentStore args;
};

TEST_F(RegistryCommands, ExistsOnlyForAValueOfAnyTypeNotForAKeyAlone) {
    Set(HKEY_LOCAL_MACHINE, key + "\\Quillar", "Path", REG_SZ, {'C', 0});
    Set(HKEY_LOCAL_MACHINE, key + "\\Quillar", "Empty", REG_BINARY, {});
    Set(HKEY_LOCAL_MACHINE, key + "\\Tessaline", "Other", REG_DWORD, DwordBytes(1));
    EXPECT_TRUE(Exists(4, key + "\\Quillar\\Path"));
    EXPECT_TRUE(Exists(4, key + "\\Quillar\\Empty"));
    EXPECT_FALSE(Exists(4, key + "\\Tessaline\\Path"));  // the key is there, the value is not
    EXPECT_FALSE(Exists(4, key + "\\Missing\\Path"));
    EXPECT_FALSE(Exists(3, key + "\\Quillar\\Path"));    // another root
    EXPECT_FALSE(Exists(4, key + "\\Quillar\\"));        // no default value was set
    Set(HKEY_LOCAL_MACHINE, key + "\\Quillar", "", REG_SZ, {0});
    EXPECT_TRUE(Exists(4, key + "\\Quillar\\"));
}

TEST_F(RegistryCommands, ReadIntAcceptsOnlyDwordValues) {
    Set(HKEY_CURRENT_USER, key, "Dword", REG_DWORD, DwordBytes(1234));
    Set(HKEY_CURRENT_USER, key, "Negative", REG_DWORD, DwordBytes(0xFFFFFFFE));
    Set(HKEY_CURRENT_USER, key, "Digits", REG_SZ, {'1', '2', '3', '4', 0});
    Set(HKEY_CURRENT_USER, key, "Binary", REG_BINARY, DwordBytes(1234));
    Set(HKEY_CURRENT_USER, key, "Long", REG_DWORD, {1, 2, 3, 4, 5, 6, 7, 8});  // a malformed DWORD
    struct Case {
        std::string value;
        int32_t withDefault, withoutDefault;
    };
    const Case cases[] = {
        {"Dword", 1234, 1234}, {"Negative", -2, -2}, {"Digits", 77, 0},
        {"Binary", 77, 0},     {"Long", 77, 0},      {"Missing", 77, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        const ValueRecord given = CallCore(kReadIntRegistryItem, {Int(3), args.Text(key + "\\" + c.value), Int(77)});
        EXPECT_EQ(given.type, kTypeInt);
        EXPECT_EQ(static_cast<int32_t>(given.lo), c.withDefault);
        EXPECT_EQ(static_cast<int32_t>(CallCore(kReadIntRegistryItem, {Int(3), args.Text(key + "\\" + c.value)}).lo),
                  c.withoutDefault);
    }
    EXPECT_EQ(static_cast<int32_t>(CallCore(kReadIntRegistryItem, {Int(3), args.Text(key + "\\Missing\\X"), Int(-5)}).lo), -5);
}

TEST_F(RegistryCommands, WriteStoresEachValueTypeInItsForm) {
    struct Case {
        const char* name;
        ValueRecord value;
        DWORD type;
        std::vector<uint8_t> data;
    };
    const std::string gbk = kForbidRepeat;
    const Case cases[] = {
        {"int", Int(0x12345678), REG_DWORD, DwordBytes(0x12345678)},
        {"negative int", Int(-3), REG_DWORD, DwordBytes(0xFFFFFFFD)},
        {"float 2.9", Float(2.9f), REG_DWORD, DwordBytes(2)},  // truncated toward zero
        {"double -2.9", Real(-2.9), REG_DWORD, DwordBytes(0xFFFFFFFE)},
        {"byte", ValueRecord{200, 0, kTypeByte}, REG_DWORD, DwordBytes(200)},
        {"short", ValueRecord{0xFFFF, 0, kTypeShort}, REG_DWORD, DwordBytes(0xFFFFFFFF)},
        {"long", ValueRecord{5, 0, kTypeLong}, REG_DWORD, DwordBytes(5)},
        {"text", args.Text(gbk), REG_SZ, std::vector<uint8_t>(gbk.c_str(), gbk.c_str() + gbk.size() + 1)},
        {"empty text", ValueRecord{0, 0, kTypeText}, REG_SZ, {0}},
        {"byte set", args.Bytes({0, 1, 0xFF}), REG_BINARY, {0, 1, 0xFF}},
        {"empty byte set", args.Bytes({}), REG_BINARY, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ValueRecord r = Write(3, key + "\\Values\\" + c.name, c.value);
        EXPECT_EQ(r.type, kTypeBool);
        EXPECT_EQ(r.lo, 1u);
        const Stored s = Query(HKEY_CURRENT_USER, key + "\\Values", c.name);
        ASSERT_TRUE(s.found);
        EXPECT_EQ(s.type, c.type);
        EXPECT_EQ(s.data, c.data);
    }
    // Types without a stored form store nothing, not even the key.
    for (ValueRecord value : {Bool(true), Bool(false), Real(44259.5, kTypeDateTime), ValueRecord{}}) {
        EXPECT_EQ(Write(3, key + "\\Refused\\Value", value).lo, 0u);
        EXPECT_EQ(Write(3, key + "\\Values\\int", value).lo, 0u);
    }
    EXPECT_FALSE(Query(HKEY_CURRENT_USER, key + "\\Refused", "Value").found);
    HKEY k;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, (key + "\\Refused").c_str(), 0, KEY_READ, &k), ERROR_SUCCESS);
    EXPECT_EQ(Query(HKEY_CURRENT_USER, key + "\\Values", "int").data, DwordBytes(0x12345678));
}

TEST_F(RegistryCommands, RootCodesSelectTheRootAndAnyOtherNumberTheCurrentUser) {
    struct Case {
        int32_t code;
        HKEY root;
    };
    const Case cases[] = {
        {1, HKEY_CLASSES_ROOT}, {2, HKEY_CURRENT_CONFIG}, {3, HKEY_CURRENT_USER}, {4, HKEY_LOCAL_MACHINE},
        {5, HKEY_USERS},        {0, HKEY_CURRENT_USER},   {9, HKEY_CURRENT_USER}, {-1, HKEY_CURRENT_USER},
    };
    const std::string sub = "RuveltoRootTest-" + std::to_string(GetCurrentProcessId());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        ASSERT_EQ(Write(c.code, sub + "\\Value", Int(c.code)).lo, 1u);
        EXPECT_EQ(Query(c.root, sub, "Value").data, DwordBytes(c.code));
        EXPECT_TRUE(Exists(c.code, sub + "\\Value"));
        EXPECT_EQ(static_cast<int32_t>(CallCore(kReadIntRegistryItem, {Int(c.code), args.Text(sub + "\\Value")}).lo), c.code);
        RegDeleteTreeA(c.root, sub.c_str());
    }
}

TEST_F(RegistryCommands, APathWithoutBackslashNamesAValueDirectlyUnderTheRoot) {
    ASSERT_EQ(Write(3, rootValue, Int(31)).lo, 1u);
    EXPECT_EQ(Query(HKEY_CURRENT_USER, "", rootValue).data, DwordBytes(31));
    EXPECT_TRUE(Exists(3, rootValue));
    EXPECT_EQ(CallCore(kReadIntRegistryItem, {Int(3), args.Text(rootValue)}).lo, 31u);
}

TEST_F(RegistryCommands, GbkTrailBytesThatAreBackslashesDoNotSplitThePath) {
    // Key ...\籠, value 淺: both names end in 0x5C, and only the lone backslash between them splits.
    const std::string path = key + "\\" + kCage + "\\" + kShallow;
    ASSERT_EQ(Write(3, path, Int(9)).lo, 1u);
    EXPECT_EQ(Query(HKEY_CURRENT_USER, key + "\\" + kCage, kShallow).data, DwordBytes(9));
    EXPECT_TRUE(Exists(3, path));
    EXPECT_EQ(CallCore(kReadIntRegistryItem, {Int(3), args.Text(path)}).lo, 9u);
    // A value name whose last byte is a trail byte: "key\淺" is value 淺, not key "key\<lead>".
    ASSERT_EQ(Write(3, key + "\\" + kShallow, args.Text("v")).lo, 1u);
    EXPECT_TRUE(Query(HKEY_CURRENT_USER, key, kShallow).found);
}

TEST_F(RegistryCommands, TheSingleInstanceKeysDefaultValueRoundTrips) {
    // The guard's own path: a GBK key and an empty tag after its last backslash.
    const std::string path = key + "\\ruanjian\\" + kForbidRepeat + "\\";
    EXPECT_EQ(CallCore(kReadIntRegistryItem, {Int(3), args.Text(path)}).lo, 0u);
    ASSERT_EQ(Write(3, path, Int(0x00010ABC)).lo, 1u);
    EXPECT_EQ(Query(HKEY_CURRENT_USER, key + "\\ruanjian\\" + kForbidRepeat, "").data, DwordBytes(0x00010ABC));
    EXPECT_EQ(CallCore(kReadIntRegistryItem, {Int(3), args.Text(path)}).lo, 0x00010ABCu);
}

}  // namespace
}  // namespace ruvelto::testing
