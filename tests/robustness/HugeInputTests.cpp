#include "BufferChecks.h"
#include "engine/EngineTestHelpers.h"

#include <gtest/gtest.h>

namespace
{
class HugeInput : public ::testing::TestWithParam<bool>
{
};
} // namespace

// One block from a broken upstream plug-in must not leave the engine playing NaN for good,
// as it did when the waveshaper's seventh power overflowed past about +110 dBFS.
TEST_P (HugeInput, OneHugeBlockLeavesLaterBlocksFiniteAndAudible)
{
    for (const auto hugeValue : { 1.0e6f, -3.0e38f })
    {
        SaturatorAudioProcessor engine;
        prepareEngine (engine, juce::AudioChannelSet::stereo(), 48000.0, 256);
        applySettings (engine, { 100.0f, 100.0f, 30.0f, 100.0f, GetParam() });

        auto huge = makeConstant (2, 256, hugeValue);
        juce::MidiBuffer midi;
        engine.processBlock (huge, midi);
        EXPECT_TRUE (allFinite (huge)) << hugeValue;

        // The compressor ducks after such a peak and needs a while to let go again.
        auto later = makeNoise (2, 256 * 600, 0.5f);
        processInBlocks (engine, later, 256);
        EXPECT_TRUE (allFinite (later)) << hugeValue;

        const juce::AudioBuffer<float> lastBlock (later.getArrayOfWritePointers(), 2, 256 * 599, 256);
        EXPECT_GT (lastBlock.getMagnitude (0, 256), 0.1f) << hugeValue;
    }
}

INSTANTIATE_TEST_SUITE_P (Robustness, HugeInput, ::testing::Bool(), [] (const auto& caseInfo) { return caseInfo.param ? "Oversampled" : "HostRate"; });
