// Quilm.so as a host first sees it: entries, exported names, the AEffect record,
// names, texts, capabilities and pins.
#include <elf.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <set>

#include "ModuleHost.h"
#include "plugin/vst/ERect.h"
#include "plugin/vst/VstPinProperties.h"

namespace {

// Names that the module's dynamic symbol table defines for others to use.
std::set<std::string> exportedNames(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::set<std::string> names;
    if (bytes.size() < sizeof(Elf64_Ehdr)) return names;
    const auto* header = reinterpret_cast<const Elf64_Ehdr*>(bytes.data());
    const auto* sections = reinterpret_cast<const Elf64_Shdr*>(bytes.data() + header->e_shoff);
    for (int i = 0; i < header->e_shnum; ++i) {
        if (sections[i].sh_type != SHT_DYNSYM) continue;
        const Elf64_Shdr& strings = sections[sections[i].sh_link];
        const auto* symbols = reinterpret_cast<const Elf64_Sym*>(bytes.data() + sections[i].sh_offset);
        std::size_t count = sections[i].sh_size / sizeof(Elf64_Sym);
        for (std::size_t s = 0; s < count; ++s) {
            const Elf64_Sym& symbol = symbols[s];
            int binding = ELF64_ST_BIND(symbol.st_info);
            if (symbol.st_shndx == SHN_UNDEF || (binding != STB_GLOBAL && binding != STB_WEAK)) continue;
            names.insert(bytes.data() + strings.sh_offset + symbol.st_name);
        }
    }
    return names;
}

}  // namespace

TEST(ModuleExports, ExactlyTheFourEntries) {
    EXPECT_EQ(exportedNames(quilmModulePath()), (std::set<std::string>{"VSTPluginMain", "main", "Main", "MAIN"}));
}

TEST(ModuleScan, ConstructsAndAnswersWithoutADisplay) {
    // Hosts scan plug-ins in headless helper processes: nothing up to the
    // editor's opening may need an X server.
    ScopedSettingsFolder settings;
    const char* display = std::getenv("DISPLAY");
    std::string saved = display != nullptr ? display : "";
    unsetenv("DISPLAY");
    {
        PluginHost host;
        std::string error;
        EXPECT_TRUE(host.load(quilmModulePath(), error)) << error;
        host.start();
        EXPECT_EQ(host.dispatchText(effGetEffectName), "Quilm");
        host.process(64);
    }
    if (display != nullptr) setenv("DISPLAY", saved.c_str(), 1);
}

class ModuleEntry : public ::testing::TestWithParam<const char*> {
protected:
    ScopedSettingsFolder settings;
};

TEST_P(ModuleEntry, GivesAPluginToAVersion2400Host) {
    PluginHost host;
    std::string error;
    ASSERT_TRUE(host.load(quilmModulePath(), error, GetParam())) << error;
    EXPECT_EQ(host.effect()->magic, kEffectMagic);
    EXPECT_EQ(host.callCount(audioMasterVersion), 1);
}

TEST_P(ModuleEntry, GivesNothingToAHostAnsweringVersionZero) {
    PluginHost host;
    host.settings.versionAnswer = 0;
    std::string error;
    EXPECT_FALSE(host.load(quilmModulePath(), error, GetParam()));
    EXPECT_EQ(host.effect(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Entries, ModuleEntry, ::testing::Values("VSTPluginMain", "main", "Main", "MAIN"),
                         [](const auto& info) { return std::string(info.param) + std::to_string(info.index); });

TEST_F(ModuleTest, RecordIdentifiesTheInstrument) {
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
    EXPECT_NE(e->processReplacing, nullptr);
    EXPECT_NE(e->processDoubleReplacing, nullptr);
    EXPECT_NE(e->process, nullptr);
}

TEST_F(ModuleTest, IdentityQueries) {
    EXPECT_EQ(host->dispatchText(effGetEffectName), "Quilm");
    EXPECT_EQ(host->dispatchText(effGetProductString), "Quilm");
    EXPECT_EQ(host->dispatchText(effGetVendorString), "Corvane Audio");
    EXPECT_EQ(host->dispatch(effGetVendorVersion), 1);
    EXPECT_EQ(host->dispatch(effGetVstVersion), 2400);
    EXPECT_EQ(host->dispatch(effGetPlugCategory), kPlugCategSynth);
    EXPECT_EQ(host->dispatch(effIdentify), 0x4E764566);
    EXPECT_EQ(host->dispatch(effGetTailSize), 0);
    EXPECT_EQ(host->dispatch(effGetProgram), 0);
}

TEST_F(ModuleTest, CanDoAnswersOnlyTheTwoEventStrings) {
    struct Case {
        const char* text;
        intptr_t answer;
    };
    const Case cases[] = {{"receiveVstEvents", 1},   {"receiveVstMidiEvent", 1}, {"ReceiveVstEvents", -1},
                          {"receiveVstEvents ", -1}, {"", -1},                   {"sendVstEvents", -1},
                          {"bypass", -1},            {"receiveVstTimeInfo", -1}};
    for (const Case& c : cases) {
        char text[64];
        std::strcpy(text, c.text);
        EXPECT_EQ(host->dispatch(effCanDo, 0, 0, text), c.answer) << '"' << c.text << '"';
    }
}

TEST_F(ModuleTest, OutputPinsAreTwoActiveStereoPins) {
    for (int32_t pin = 0; pin < 2; ++pin) {
        VstPinProperties props{};
        props.arrangementType = 77;  // left as the host gave it
        ASSERT_EQ(host->dispatch(effGetOutputProperties, pin, 0, &props), 1);
        EXPECT_STREQ(props.label, pin == 0 ? "Vstx 1" : "Vstx 2");
        EXPECT_EQ(props.flags, kVstPinIsActive | kVstPinIsStereo);
        EXPECT_EQ(props.arrangementType, 77);
    }
    for (int32_t pin : {2, -1, 1000}) {
        VstPinProperties props{};
        EXPECT_EQ(host->dispatch(effGetOutputProperties, pin, 0, &props), 0);
        EXPECT_EQ(props.label[0], '\0');
    }
    VstPinProperties input{};
    EXPECT_EQ(host->dispatch(effGetInputProperties, 0, 0, &input), 0);
}

TEST_F(ModuleTest, ParameterNamesLabelsAndDisplays) {
    struct Case {
        int32_t index;
        const char* name;
    };
    const Case cases[] = {{0, "Osc1-C"},      {3, "Level/RM"}, {4, "LFO Rate"},    {16, "Flt-Cut"},
                          {28, "Osc-Routing"}, {46, "Ch-Rate"}, {59, "-"},           {62, "SharedFilt"},
                          {72, "Modwheel"},    {81, "AT-Osc3"}, {86, ""},            {200, ""}};
    for (const Case& c : cases) {
        EXPECT_EQ(host->dispatchText(effGetParamName, c.index), c.name) << c.index;
        EXPECT_EQ(host->dispatchText(effGetParamLabel, c.index), "Unknown ") << c.index;
    }
    for (int32_t i = 0; i < 82; ++i) {
        std::string name = host->dispatchText(effGetParamName, i);
        EXPECT_FALSE(name.empty()) << i;
        EXPECT_LE(name.size(), 11u) << i;
    }
    host->setParameter(3, 0.25f);
    EXPECT_EQ(host->dispatchText(effGetParamDisplay, 3), "0.250000");
    host->setParameter(3, 0.5f);
    EXPECT_EQ(host->dispatchText(effGetParamDisplay, 3), "0.500000");
    EXPECT_EQ(host->dispatchText(effGetParamDisplay, 28), "2.000000");  // Osc-Routing of program 0
    EXPECT_EQ(host->dispatchText(effGetParamDisplay, -1), "");
}

TEST_F(ModuleTest, HostTextBuffersAreNeverOverrun) {
    // Each answer must fit the interface's buffer: 8 characters and a NUL for
    // labels and displays, 24 bytes for program names, 12 for parameter names.
    struct Case {
        int32_t opcode;
        std::size_t limit;
    };
    host->setParameter(5, 123456.0f);  // a host may set any finite value
    for (const Case c : {Case{effGetParamLabel, 9}, Case{effGetParamDisplay, 9}, Case{effGetParamName, 12}}) {
        for (int32_t index = 0; index < 92; ++index) {
            char buffer[64];
            std::memset(buffer, 0x55, sizeof(buffer));
            host->dispatch(c.opcode, index, 0, buffer);
            EXPECT_EQ(buffer[c.limit], 0x55) << c.opcode << " " << index;
            EXPECT_NE(std::memchr(buffer, '\0', c.limit), nullptr) << c.opcode << " " << index;
        }
    }
    char longName[64];
    std::memset(longName, 'x', sizeof(longName));
    longName[63] = '\0';
    host->dispatch(effSetProgramName, 0, 0, longName);
    char buffer[64];
    std::memset(buffer, 0x55, sizeof(buffer));
    host->dispatch(effGetProgramName, 0, 0, buffer);
    EXPECT_EQ(std::string(buffer), std::string(23, 'x'));
    EXPECT_EQ(buffer[24], 0x55);
    std::memset(buffer, 0x55, sizeof(buffer));
    EXPECT_EQ(host->dispatch(effGetProgramNameIndexed, 0, 0, buffer), 1);
    EXPECT_EQ(buffer[24], 0x55);
}

TEST_F(ModuleTest, ProgramNamesComeFromTheBank) {
    EXPECT_EQ(host->dispatchText(effGetProgramName), "Finest Art");
    char name[64] = {};
    EXPECT_EQ(host->dispatch(effGetProgramNameIndexed, 127, 0, name), 1);
    EXPECT_STREQ(name, "Init Patch");
    EXPECT_EQ(host->dispatch(effGetProgramNameIndexed, 128, 0, name), 0);
    EXPECT_EQ(host->dispatch(effGetProgramNameIndexed, -1, 0, name), 0);
    char rename[] = "My Pad";
    host->dispatch(effSetProgramName, 0, 0, rename);
    EXPECT_EQ(host->dispatchText(effGetProgramName), "My Pad");
    EXPECT_EQ(host->dispatch(effGetProgramNameIndexed, 0, 0, name), 1);
    EXPECT_STREQ(name, "My Pad");
}

TEST_F(ModuleTest, OffersNoChunksAndAnEditorOfTheStoredSize) {
    void* data = nullptr;
    EXPECT_EQ(host->dispatch(effGetChunk, 0, 0, &data), 0);
    EXPECT_EQ(host->dispatch(effSetChunk, 0, 16, &data), 0);
    ERect* rect = nullptr;
    EXPECT_EQ(host->dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_GT(rect->right, rect->left);
    EXPECT_GT(rect->bottom, rect->top);
    EXPECT_EQ(host->dispatch(effEditOpen, 0, 0, nullptr), 0);  // no window to open in
    EXPECT_EQ(host->dispatch(effEditClose), 0);
    EXPECT_EQ(host->dispatch(effEditIdle), 0);
    EXPECT_EQ(host->dispatch(effEditKeyDown, 'a', 0, nullptr, 3.9f), 0);
    EXPECT_EQ(host->dispatch(effGetSpeakerArrangement), 0);
    EXPECT_EQ(host->dispatch(effGetNumProgramCategories), 0);
    EXPECT_EQ(host->dispatch(effGetErrorText), 0);
}

TEST_F(ModuleTest, ProcessingAskedForTheTimeOncePerBlock) {
    for (int i = 0; i < 5; ++i) block({});
    EXPECT_EQ(host->callCount(audioMasterGetTime), 5);
    EXPECT_EQ(host->callCount(audioMasterAutomate), 0);  // the plug-in never automates
    EXPECT_EQ(host->callCount(audioMasterWantMidi), 0);  // resume asks for nothing
    EXPECT_EQ(host->callCount(audioMasterGetVendorString), 1);  // once, at effOpen
}
