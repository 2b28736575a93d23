#include "plugin/UISizeSetting.h"

#include "platform/Registry.h"

namespace {
constexpr const char* kSettingKey = "Software\\Corvane Audio\\Quilm\\";
constexpr const char* kSettingValue = "uisize";
constexpr uint8_t kDefaultSize = 1;  // "Medium"
}  // namespace

void readUISizeSetting(uint8_t* size) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        *size = kDefaultSize;
        return;
    }
    DWORD type = 0;
    DWORD bytes = 1;
    if (RegQueryValueExA(key, kSettingValue, nullptr, &type, size, &bytes) != ERROR_SUCCESS) *size = kDefaultSize;
    RegCloseKey(key);
}

void writeUISizeSetting(uint8_t size) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        return;
    }
    RegSetValueExA(key, kSettingValue, 0, REG_BINARY, &size, 1);
    RegCloseKey(key);
}
