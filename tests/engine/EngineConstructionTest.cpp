#include <gtest/gtest.h>

#include "engine/Dravenor.h"

TEST(EngineConstruction, FreshEngineHasDefaults)
{
    Dravenor engine;
    EXPECT_EQ(engine.voiceCount, 12);
    EXPECT_EQ(engine.bendRange, 3);
    EXPECT_EQ(engine.currentProgram, 0);
    EXPECT_EQ(engine.numParams, 92);
    EXPECT_FLOAT_EQ(engine.values[kTagPitchWheel], 0.5f);
    EXPECT_FLOAT_EQ(engine.sampleRate, 44100.0f);
}
