// The editor at "Huge": a whole open (frame, layout, 87 controls, live values
// shown) and close, with the skin of the size already built as after the first
// open of a process; and one idle step with nothing changed. The first open of a
// process, which decodes and scales the pictures, is measured separately at each size.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "editor/ADEditor.h"
#include "editor/SkinBitmapSet.h"
#include "plugin/UISizeSetting.h"
#include "plugin/VstXSynth.h"

namespace {

constexpr uint8_t kSmall = 0, kMedium = 1, kLarge = 2, kHuge = 3;

intptr_t quietHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

// A plug-in with its editor, the registry stand-in in a folder of its own.
struct BenchPlugin {
    explicit BenchPlugin(uint8_t size = kHuge) {
        char pattern[] = "/tmp/quilm-editor-bench-XXXXXX";
        folder = mkdtemp(pattern) != nullptr ? pattern : "/tmp";
        setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
        writeUISizeSetting(size);
        synth = new VstXSynth(&quietHost, &ADEditor::make);
        editor = dynamic_cast<ADEditor*>(synth->getEditor());
        editor->setFramePlatform(VSTGUI::PlatformType::kHeadless);
    }
    ~BenchPlugin() {
        AEffect* e = synth->getAeffect();
        e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    std::string folder;
    VstXSynth* synth = nullptr;
    ADEditor* editor = nullptr;
};

void* parentWindow() { return reinterpret_cast<void*>(static_cast<uintptr_t>(0x4a11)); }

void BM_EditorOpenCloseHuge(benchmark::State& state) {
    BenchPlugin plugin;
    plugin.editor->open(parentWindow());  // the size's skin is built once per process
    plugin.editor->close();
    for (auto _ : state) {
        const bool opened = plugin.editor->open(parentWindow());
        benchmark::DoNotOptimize(opened);
        plugin.editor->close();
    }
}
BENCHMARK(BM_EditorOpenCloseHuge)->Unit(benchmark::kMillisecond);

void BM_EditorOpenHuge(benchmark::State& state) {
    BenchPlugin plugin;
    plugin.editor->open(parentWindow());
    plugin.editor->close();
    for (auto _ : state) {
        const bool opened = plugin.editor->open(parentWindow());
        benchmark::DoNotOptimize(opened);
        state.PauseTiming();
        plugin.editor->close();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_EditorOpenHuge)->Unit(benchmark::kMillisecond);

// The first open of a process at a size: a plug-in whose skin set is taken up anew.
void firstOpen(benchmark::State& state, uint8_t size) {
    for (auto _ : state) {
        state.PauseTiming();
        auto* plugin = new BenchPlugin(size);  // knows the window size, decodes nothing
        state.ResumeTiming();
        plugin->editor->open(parentWindow());  // decodes and scales every picture of the size
        state.PauseTiming();
        delete plugin;
        state.ResumeTiming();
    }
}

void BM_EditorFirstOpenSmall(benchmark::State& state) { firstOpen(state, kSmall); }
void BM_EditorFirstOpenMedium(benchmark::State& state) { firstOpen(state, kMedium); }
void BM_EditorFirstOpenLarge(benchmark::State& state) { firstOpen(state, kLarge); }
void BM_EditorFirstOpenHuge(benchmark::State& state) { firstOpen(state, kHuge); }
BENCHMARK(BM_EditorFirstOpenSmall)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_EditorFirstOpenMedium)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_EditorFirstOpenLarge)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_EditorFirstOpenHuge)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_EditorIdleNothingChangedHuge(benchmark::State& state) {
    BenchPlugin plugin;
    plugin.editor->open(parentWindow());
    plugin.editor->idle();  // the first paint of the whole frame
    plugin.editor->idle();
    for (auto _ : state) plugin.editor->idle();
    plugin.editor->close();
}
BENCHMARK(BM_EditorIdleNothingChangedHuge)->Unit(benchmark::kMicrosecond);

}  // namespace
