// Speed of the graphics foundation's heavy paths: scaling skin pictures for the
// editor sizes, drawing wave previews with the canvas, and bitmap text.
#include "graphics/BitmapScaling.h"
#include "graphics/CBitmapFont.h"
#include "graphics/CPixelCanvas.h"
#include "platform/MessageBoxCapture.h"
#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/coffscreencontext.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

VSTGUI::CBitmap* makePicture(int w, int h)
{
    auto* bitmap = new VSTGUI::CBitmap(w, h);
    if (VSTGUI::CBitmapPixelAccess* access = VSTGUI::CBitmapPixelAccess::create(bitmap, true))
    {
        uint8_t* p = access->getAddress();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x, p += 4)
            {
                p[0] = uint8_t(x * 7 + y);
                p[1] = uint8_t(x + y * 3);
                p[2] = uint8_t(x ^ y);
                p[3] = 255;
            }
        access->forget();
    }
    return bitmap;
}

const float kScales[4] = {0.25f, 1.0f / 3.0f, 0.5f, 0.75f};

// The 3000 x 2016 background at one editor size, sharpened.
void BM_ScaleBackground(benchmark::State& state)
{
    VSTGUI::CBitmap* source = makePicture(3000, 2016);
    const float scale = kScales[state.range(0)];
    for (auto _ : state)
    {
        VSTGUI::CBitmap* scaled = scaleBitmap(source, scale, 1, 1, true);
        benchmark::DoNotOptimize(scaled);
        scaled->forget();
    }
    state.SetLabel("scale " + std::to_string(scale));
    source->forget();
}
BENCHMARK(BM_ScaleBackground)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// The 48 x 26936 wheel strip of 91 frames.
void BM_ScaleWheelStrip(benchmark::State& state)
{
    VSTGUI::CBitmap* source = makePicture(48, 26936);
    for (auto _ : state)
    {
        VSTGUI::CBitmap* scaled = scaleBitmap(source, kScales[state.range(0)], 91, 1, true);
        benchmark::DoNotOptimize(scaled);
        scaled->forget();
    }
    source->forget();
}
BENCHMARK(BM_ScaleWheelStrip)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// 39 wave polylines of 60 points into a "Large" wave display strip, then copied back.
void BM_WavePreviewStrip(benchmark::State& state)
{
    VSTGUI::CBitmap* strip = makePicture(100, 1920);
    for (auto _ : state)
    {
        CPixelCanvas canvas(strip, 1, 1);
        canvas.lineWeight = 2;
        for (int k = 0; k < 39; ++k)
        {
            for (int i = 0; i < 60; ++i)
                canvas.pointBuffer[i] = {float(11 + i), float(10 + k * 48) + 12.0f * (1.0f + std::sin(i * 0.2f + k))};
            canvas.drawPolyline(canvas.pointBuffer.get(), 60, 236, 239, 242, 255);
        }
        canvas.copyToBitmap(strip);
    }
    strip->forget();
}
BENCHMARK(BM_WavePreviewStrip)->Unit(benchmark::kMillisecond);

// One line of bitmap text at half the picture's height.
void BM_BitmapText(benchmark::State& state)
{
    MessageBoxCapture quiet;
    // 92 glyphs of 8 columns plus their markers on a 40-row picture.
    VSTGUI::CBitmap* picture = new VSTGUI::CBitmap(92 * 9 + 4, 40);
    if (VSTGUI::CBitmapPixelAccess* access = VSTGUI::CBitmapPixelAccess::create(picture, true))
    {
        for (uint32_t y = 0; y < 40; ++y)
            for (uint32_t x = 0; x < 92 * 9; ++x)
            {
                uint8_t* p = access->getAddress() + y * access->getBytesPerRow() + 4 * x;
                const bool marker = x % 9 == 8;
                p[0] = marker ? (y == 0 ? 255 : 0) : uint8_t((x * y) % 2 ? 220 : 0);
                p[1] = marker ? 0 : p[0];
                p[2] = marker ? (y == 0 ? 255 : 0) : p[0];
                p[3] = 255;
            }
        access->forget();
    }
    CBitmapFont font;
    font.setImage(picture, 20);
    auto context = VSTGUI::COffscreenContext::create(nullptr, 300, 60);
    for (auto _ : state)
        font.drawBitmapText("Cutoff 1234.5 Hz", context, VSTGUI::CRect(10, 10, 290, 50), VSTGUI::CColor(), 1, 1.0f,
            false, false);
    picture->forget();
}
BENCHMARK(BM_BitmapText)->Unit(benchmark::kMicrosecond);

} // namespace
