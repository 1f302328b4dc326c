#include "BufferChecks.h"
#include "engine/EngineTestHelpers.h"

#include <gtest/gtest.h>

namespace
{
struct RateCase
{
    double sampleRate;
    bool crushRuns; // false where 8 kHz is not below Nyquist
};

class CrushAtSampleRate : public ::testing::TestWithParam<RateCase>
{
};

juce::AudioBuffer<float> processAt (double sampleRate, float crush)
{
    SaturatorAudioProcessor engine;
    prepareEngine (engine, juce::AudioChannelSet::stereo(), sampleRate, 512);
    applySettings (engine, { 0.0f, crush, 0.0f, 100.0f, false });

    // A second of noise: long enough for an unstable filter to run away.
    auto signal = makeNoise (2, (int) sampleRate, 0.9f);
    processInBlocks (engine, signal, 512);
    return signal;
}

} // namespace

// Below 16 kHz the 8 kHz peak filter's poles leave the unit circle, and at 16 kHz they sit
// on it; there the crush stage stays out of the way rather than blow up the output.
TEST_P (CrushAtSampleRate, OutputStaysFiniteAndTheStageRunsOnlyBelowNyquist)
{
    const auto& c = GetParam();
    const auto crushed = processAt (c.sampleRate, 100.0f);

    ASSERT_TRUE (allFinite (crushed));
    EXPECT_EQ (! sameSamples (crushed, processAt (c.sampleRate, 0.0f)), c.crushRuns);
}

INSTANTIATE_TEST_SUITE_P (Robustness,
                          CrushAtSampleRate,
                          ::testing::Values (RateCase { 8000.0, false },
                                             RateCase { 11025.0, false },
                                             RateCase { 12000.0, false },
                                             RateCase { 16000.0, false },
                                             RateCase { 16001.0, true },
                                             RateCase { 22050.0, true }),
                          [] (const auto& caseInfo)
                          { return std::to_string ((int) caseInfo.param.sampleRate) + "Hz"; });
