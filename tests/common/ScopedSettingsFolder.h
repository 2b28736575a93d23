#pragma once
// Test helper shared by the plug-in and editor tests. Single-threaded.

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

// Gives the test its own empty settings folder, so the registry stand-in in the
// module never reads or writes the real one; the previous one is back afterwards.
class ScopedSettingsFolder {
public:
    ScopedSettingsFolder() {
        char pattern[] = "/tmp/quilm-test-settings-XXXXXX";
        if (mkdtemp(pattern) == nullptr) std::abort();  // never fall back to a folder that is not ours
        folder_ = pattern;
        const char* old = std::getenv("XDG_CONFIG_HOME");
        hadOld_ = old != nullptr;
        if (hadOld_) old_ = old;
        setenv("XDG_CONFIG_HOME", folder_.c_str(), 1);
    }
    ~ScopedSettingsFolder() {
        hadOld_ ? setenv("XDG_CONFIG_HOME", old_.c_str(), 1) : unsetenv("XDG_CONFIG_HOME");
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    const std::string& path() const { return folder_; }

private:
    std::string folder_, old_;
    bool hadOld_ = false;
};
