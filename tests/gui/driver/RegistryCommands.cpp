#include "RegistryCommands.h"

#include <windows.h>

#include <cstdio>
#include <sstream>
#include <vector>


namespace {

std::string Hex(const std::vector<unsigned char>& bytes) {
    std::string out;
    char pair[3];
    for (unsigned char b : bytes) {
        std::snprintf(pair, sizeof pair, "%02x", b);
        out += pair;
    }
    return out;
}

// "-" stands for no bytes at all.
bool FromHex(const std::string& text, std::vector<unsigned char>& bytes) {
    if (text == "-") return true;
    if (text.size() % 2) return false;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        unsigned value = 0;
        if (std::sscanf(text.c_str() + i, "%2x", &value) != 1) return false;
        bytes.push_back(static_cast<unsigned char>(value));
    }
    return true;
}

// "regget <key> <value>": "ok <type> <hex bytes>", or "error missing". Read
// through the ANSI function, as the program reads it.
std::string Get(const std::string& path, const std::string& name) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "error missing key";
    DWORD type = 0;
    DWORD size = 0;
    LONG result = RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size);
    std::vector<unsigned char> bytes(size);
    if (result == ERROR_SUCCESS && size)
        result = RegQueryValueExA(key, name.c_str(), nullptr, &type, bytes.data(), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) return "error missing";
    bytes.resize(size);
    return "ok " + std::to_string(type) + " " + Hex(bytes);
}

// "regset <key> <type> <hex bytes> <value>": stores raw bytes under any type,
// through the ANSI function, so that a text is stored as the program reads it.
std::string Set(const std::string& path, const std::string& name, DWORD type,
                const std::string& hex) {
    std::vector<unsigned char> bytes;
    if (!FromHex(hex, bytes)) return "error bad hex";
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return "error cannot create key";
    LONG result = RegSetValueExA(key, name.c_str(), 0, type, bytes.data(),
                                 static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? "ok" : "error cannot set";
}

// "regdel <key>": removes the key with everything below it; a missing key
// is fine.
std::string Delete(const std::string& path) {
    LONG result = RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
    if (result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND) {
        RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str());
        return "ok";
    }
    return "error " + std::to_string(result);
}

}  // namespace

bool IsRegistryCommand(const std::string& verb) {
    return verb == "regget" || verb == "regset" || verb == "regdel";
}

// The key path holds no blank; the value name, last, may.
std::string RunRegistryCommand(const std::string& verb, const std::string& arguments) {
    std::istringstream in(arguments);
    std::string path;
    in >> path;
    if (verb == "regdel") return Delete(path);
    DWORD type = 0;
    std::string hex;
    if (verb == "regset") in >> type >> hex;
    std::string name;
    std::getline(in >> std::ws, name);
    if (verb == "regget") return Get(path, name);
    return Set(path, name, type, hex);
}
