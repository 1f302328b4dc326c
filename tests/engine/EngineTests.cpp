#include "engine/SaturatorAudioProcessor.h"

#include <gtest/gtest.h>

TEST (Engine, NewEngineReportsNoLatencyAndSilence)
{
    SaturatorAudioProcessor engine;
    EXPECT_EQ (engine.getLatencySamples(), 0);
    EXPECT_EQ (engine.inputRmsLevel.load(), -100.0f);
}
