// The editor of Quilm.so in a real X11 window: quilm-render --gui-test hosts it as
// a desktop host does and drives it with XTEST (a knob drag changes its parameter,
// a program chosen from the menu loads, an on-screen key sounds, every size is
// chosen from the options menu) and writes a screenshot of each size. It runs on a
// virtual display of its own, big enough for "Huge"; without xvfb-run it skips.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

bool haveProgram(const char* name) {
    const std::string command = std::string("command -v ") + name + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

// Runs a shell command; its output and exit status.
int run(const std::string& command, std::string& output) {
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return -1;
    std::array<char, 512> buffer{};
    while (fgets(buffer.data(), static_cast<int>(buffer.size()), pipe) != nullptr) output += buffer.data();
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(EditorWindow, HostedInAnX11WindowAndDrivenWithXTest) {
    if (!haveProgram("xvfb-run")) GTEST_SKIP() << "no xvfb-run: no virtual display to open the editor on";
    const std::filesystem::path shots = QUILM_EDITOR_SHOT_DIR;
    std::error_code ignored;
    std::filesystem::remove_all(shots, ignored);
    std::filesystem::create_directories(shots);
    char pattern[] = "/tmp/quilm-editor-window-XXXXXX";
    const char* settings = mkdtemp(pattern);
    ASSERT_NE(settings, nullptr);

    // Its own settings folder: the editor starts at the default size, "Medium". Under
    // LeakSanitizer the host process keeps fontconfig's caches, which the module leaves alone.
    const char* lsan = std::getenv("LSAN_OPTIONS");
    const std::string leakOptions = std::string(lsan != nullptr ? lsan : "") + (lsan != nullptr && *lsan ? ":" : "") +
                                    "suppressions=" QUILM_EDITOR_LSAN_SUPPRESSIONS;
    const std::string command = std::string("LSAN_OPTIONS='") + leakOptions + "' XDG_CONFIG_HOME=" + settings +
                                " xvfb-run -a -s '-screen 0 2400x1600x24' '" QUILM_RENDER_PATH "' '" QUILM_MODULE_PATH
                                "' --gui-test '" + shots.string() + "'";
    std::string output;
    const int status = run(command, output);
    std::filesystem::remove_all(settings, ignored);
    std::printf("%s", output.c_str());
    if (status == 77) GTEST_SKIP() << "the virtual display did not start";
    EXPECT_EQ(status, 0) << output;
    for (const char* size : {"Small", "Medium", "Large", "Huge"}) {
        const std::filesystem::path shot = shots / (std::string("editor-") + size + ".png");
        EXPECT_TRUE(std::filesystem::exists(shot)) << shot;
        if (std::filesystem::exists(shot)) {
            EXPECT_GT(std::filesystem::file_size(shot), 10000u) << shot;
        }
    }
    const std::string medium = (shots / "editor-Medium.png").string();
    RecordProperty("screenshot", medium);
    std::printf("Medium screenshot: %s\n", medium.c_str());
}

}  // namespace
