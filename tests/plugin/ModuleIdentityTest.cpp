// Quilm.so as a host first sees it: entries, exported names, the AEffect record,
// names, texts, capabilities and pins.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

#include "ModuleHost.h"
#include "plugin/vst/ERect.h"
#include "plugin/vst/VstPinProperties.h"

namespace {

// Names that the module's dynamic symbol table defines for others to use.
std::set<std::string> exportedNames(const std::string& path) {
    std::set<std::string> names;
    FILE* pipe = popen(("nm -D --defined-only --format=just-symbols " + path).c_str(), "r");
    char name[256];
    while (pipe != nullptr && std::fscanf(pipe, "%255s", name) == 1) names.insert(name);
    if (pipe != nullptr) pclose(pipe);
    return names;
}

}  // namespace

// Hosts scan plug-ins in headless helper processes: nothing up to the editor's opening
// may need an X server, so the entries are tried without a display.
class ModuleEntry : public ::testing::TestWithParam<const char*> {};

TEST_P(ModuleEntry, IsOneOfFourAndGivesAPluginOnlyToAHostWithAVersion) {
    ScopedSettingsFolder settings;
    const char* display = std::getenv("DISPLAY");
    const std::string saved = display != nullptr ? display : "";
    unsetenv("DISPLAY");
    EXPECT_EQ(exportedNames(quilmModulePath()), (std::set<std::string>{"VSTPluginMain", "main", "Main", "MAIN"}));
    for (intptr_t version : {2400, 0}) {
        PluginHost host;
        host.settings.versionAnswer = version;
        std::string error;
        EXPECT_EQ(host.load(quilmModulePath(), error, GetParam()), version != 0) << error;
        EXPECT_EQ(host.callCount(audioMasterVersion), 1);
        host.start();
        EXPECT_EQ(host.dispatchText(effGetEffectName), version != 0 ? "Quilm" : "");
        host.process(64);
    }
    if (display != nullptr) setenv("DISPLAY", saved.c_str(), 1);
}

INSTANTIATE_TEST_SUITE_P(Entries, ModuleEntry, ::testing::Values("VSTPluginMain", "main", "Main", "MAIN"),
                         [](const auto& info) { return std::string(info.param); });

// A host's scan reads the editor-size setting: whatever stands there, it returns at once
// (a FIFO used to block it for good) and a setting that is no file means "Medium".
TEST(ModuleSetting, ScanReturnsWhateverStandsAtTheSizeSetting) {
    struct Case {
        const char* what;
        std::function<int(const std::string& value)> make;
        int32_t width;
    };
    const Case cases[] = {
        {"fifo", [](const std::string& value) { return mkfifo(value.c_str(), 0600); }, 1000},
        {"file", [](const std::string& value) { return std::ofstream(value) << '\x02' ? 0 : -1; }, 1500},
    };
    for (const Case& c : cases) {
        ScopedSettingsFolder settings;
        const std::string folder = settings.path() + "/Corvane Audio/Quilm";
        std::filesystem::create_directories(folder);
        ASSERT_EQ(c.make(folder + "/uisize"), 0) << c.what;
        alarm(20);  // seconds; a scan that hangs ends the test
        PluginHost host;
        std::string error;
        ASSERT_TRUE(host.load(quilmModulePath(), error)) << error;
        ERect* rect = nullptr;
        EXPECT_EQ(host.dispatch(effEditGetRect, 0, 0, &rect), 1);
        ASSERT_NE(rect, nullptr);
        EXPECT_EQ(rect->right - rect->left, c.width) << c.what;
        alarm(0);
    }
}

TEST_F(ModuleTest, RecordAndAnswersIdentifyTheInstrument) {
    AEffect* e = host->effect();
    EXPECT_EQ(e->magic, 0x56737450);
    EXPECT_EQ(e->uniqueID, 0x51554C4D);  // 'QULM'
    EXPECT_EQ(e->version, 1);
    EXPECT_EQ(e->numInputs, 0);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_EQ(e->numPrograms, 128);
    EXPECT_EQ(e->numParams, 82);
    EXPECT_EQ(e->flags, effFlagsCanReplacing | effFlagsIsSynth | effFlagsHasEditor);  // no chunks
    EXPECT_EQ(e->ioRatio, 1.0f);
    EXPECT_EQ(e->initialDelay, 0);
    EXPECT_TRUE(e->processReplacing != nullptr && e->processDoubleReplacing != nullptr && e->process != nullptr);
    EXPECT_EQ(host->dispatchText(effGetEffectName), "Quilm");
    EXPECT_EQ(host->dispatchText(effGetProductString), "Quilm");
    EXPECT_EQ(host->dispatchText(effGetVendorString), "Corvane Audio");
    void* chunk = nullptr;
    struct Case {
        int32_t opcode;
        intptr_t answer;
        int32_t index = 0;
        void* ptr = nullptr;
    };
    const Case cases[] = {{effGetVendorVersion, 1},   {effGetVstVersion, 2400},   {effGetPlugCategory, kPlugCategSynth},
                          {effIdentify, 0x4E764566},  {effGetTailSize, 0},        {effGetProgram, 0},
                          {effGetChunk, 0, 0, &chunk}, {effSetChunk, 0, 0, &chunk}, {effEditOpen, 0},  // no window
                          {effEditClose, 0},          {effEditIdle, 0},           {effGetSpeakerArrangement, 0},
                          {effGetNumProgramCategories, 0}, {effGetErrorText, 0}, {effGetInputProperties, 0, 0, &chunk}};
    for (const Case& c : cases) EXPECT_EQ(host->dispatch(c.opcode, c.index, 0, c.ptr), c.answer) << c.opcode;
    ERect* rect = nullptr;
    EXPECT_EQ(host->dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_GT(rect->right, rect->left);
    EXPECT_GT(rect->bottom, rect->top);
    // Processing asks for the time once per block, and nothing else of the host's.
    for (int i = 0; i < 5; ++i) block({});
    EXPECT_EQ(host->callCount(audioMasterGetTime), 5);
    EXPECT_EQ(host->callCount(audioMasterAutomate), 0);
    EXPECT_EQ(host->callCount(audioMasterWantMidi), 0);
    EXPECT_EQ(host->callCount(audioMasterGetVendorString), 1);  // once, at effOpen
}

TEST_F(ModuleTest, CanDoAndOutputPins) {
    const std::pair<const char*, intptr_t> texts[] = {
        {"receiveVstEvents", 1},   {"receiveVstMidiEvent", 1}, {"ReceiveVstEvents", -1}, {"receiveVstEvents ", -1},
        {"", -1},                  {"sendVstEvents", -1},      {"bypass", -1},           {"receiveVstTimeInfo", -1}};
    for (const auto& [text, answer] : texts) {
        std::string copy = text;
        EXPECT_EQ(host->dispatch(effCanDo, 0, 0, copy.data()), answer) << '"' << text << '"';
    }
    for (int32_t pin : {0, 1, 2, -1, 1000}) {
        VstPinProperties props{};
        props.arrangementType = 77;  // left as the host gave it
        EXPECT_EQ(host->dispatch(effGetOutputProperties, pin, 0, &props), pin == 0 || pin == 1 ? 1 : 0) << pin;
        EXPECT_STREQ(props.label, pin == 0 ? "Vstx 1" : pin == 1 ? "Vstx 2" : "");
        EXPECT_EQ(props.flags, pin == 0 || pin == 1 ? kVstPinIsActive | kVstPinIsStereo : 0);
        EXPECT_EQ(props.arrangementType, 77);
    }
}

TEST_F(ModuleTest, ParameterAndProgramTextsFitTheHostsBuffers) {
    const std::pair<int32_t, const char*> names[] = {
        {0, "Osc1-C"},   {3, "Level/RM"}, {4, "LFO Rate"},  {16, "Flt-Cut"},   {28, "Osc-Routing"}, {46, "Ch-Rate"},
        {59, "-"},       {62, "SharedFilt"}, {72, "Modwheel"}, {81, "AT-Osc3"}, {86, ""},           {200, ""}};
    for (const auto& [index, name] : names) EXPECT_EQ(host->dispatchText(effGetParamName, index), name) << index;
    host->setParameter(3, 0.25f);
    EXPECT_EQ(host->dispatchText(effGetParamDisplay, 3), "0.250000");
    EXPECT_EQ(host->dispatchText(effGetParamDisplay, 28), "2.000000");  // Osc-Routing of program 0
    EXPECT_EQ(host->dispatchText(effGetParamDisplay, -1), "");
    host->setParameter(5, 123456.0f);  // a host may set any finite value
    // Each answer fits the interface's buffer: 8 characters and a NUL for labels and
    // displays, 12 bytes for parameter names, 24 for program names.
    const std::pair<int32_t, std::size_t> limits[] = {{effGetParamLabel, 9},  {effGetParamDisplay, 9},
                                                      {effGetParamName, 12},  {effGetProgramName, 24},
                                                      {effGetProgramNameIndexed, 24}};
    for (const auto& [opcode, limit] : limits) {
        for (int32_t index = -1; index < 130; ++index) {
            char buffer[64];
            std::memset(buffer, 0x55, sizeof(buffer));
            host->dispatch(opcode, index, 0, buffer);
            EXPECT_EQ(buffer[limit], 0x55) << opcode << " " << index;
            const bool answered = opcode != effGetProgramNameIndexed || (index >= 0 && index < 128);
            EXPECT_EQ(std::memchr(buffer, '\0', limit) != nullptr, answered) << opcode << " " << index;
            if (opcode == effGetParamLabel) {
                EXPECT_STREQ(buffer, "Unknown ");
            } else if (opcode == effGetParamName && index >= 0 && index < 82) {
                EXPECT_GT(std::strlen(buffer), 0u) << index;
            }
        }
    }
    EXPECT_EQ(host->dispatchText(effGetProgramName), "Finest Art");
    char name[64] = {};
    EXPECT_EQ(host->dispatch(effGetProgramNameIndexed, 127, 0, name), 1);
    EXPECT_STREQ(name, "Init Patch");
    EXPECT_EQ(host->dispatch(effGetProgramNameIndexed, 128, 0, name), 0);
    char rename[] = "My Pad";
    host->dispatch(effSetProgramName, 0, 0, rename);
    EXPECT_EQ(host->dispatchText(effGetProgramName), "My Pad");
    EXPECT_EQ(host->dispatch(effGetProgramNameIndexed, 0, 0, name), 1);
    EXPECT_STREQ(name, "My Pad");
}
