#pragma once
// A Wine prefix's machine registry file system.reg, in Wine's text format: a
// "WINE REGISTRY Version 2" line, then one "[Key\\Path] time" section per key with
// its values as "name"="text", str(2):"text", dword:hex or hex:bytes.

#include <cstdint>
#include <string>
#include <vector>

namespace demo {

struct RegistryValue {
    enum class Type { String, ExpandString, Dword, Binary };
    std::string name;  // empty: the key's default value, written as @
    Type type = Type::String;
    std::u16string text;  // String and ExpandString
    std::uint32_t dword = 0;
    std::vector<std::uint8_t> binary;
};

struct RegistryKey {
    std::string path;  // with single backslashes, relative to HKEY_LOCAL_MACHINE
    std::uint32_t modified = 0;  // seconds since 1970, written after the key
    std::vector<RegistryValue> values;
};

struct RegistryFile {
    bool win64 = false;  // "#arch=win64"; otherwise a 32-bit prefix
    std::vector<RegistryKey> keys;
};

RegistryValue StringValue(std::string name, std::string_view ascii);

std::string WriteSystemReg(const RegistryFile& file);

}  // namespace demo
