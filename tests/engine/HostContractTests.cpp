#include "EngineTestHelpers.h"

#include <gtest/gtest.h>

namespace
{
const EngineSettings everyStage { 70.0f, 80.0f, 3.0f, 60.0f, false };

EngineSettings withOversampling (EngineSettings settings, bool enabled)
{
    settings.oversampling = enabled;
    return settings;
}

void expectEqualChannel (const juce::AudioBuffer<float>& actual, int actualChannel, const juce::AudioBuffer<float>& expected, int expectedChannel)
{
    ASSERT_EQ (actual.getNumSamples(), expected.getNumSamples());

    for (int i = 0; i < actual.getNumSamples(); ++i)
        ASSERT_EQ (actual.getSample (actualChannel, i), expected.getSample (expectedChannel, i)) << "sample " << i;
}

class HostContract : public ::testing::TestWithParam<bool>
{
};
} // namespace

// A host that hands over more than it announced gets the same sound as if it had kept its word.
TEST_P (HostContract, LongerBlockThanAnnouncedSoundsLikeAnnouncedBlocks)
{
    const auto settings = withOversampling (everyStage, GetParam());
    const auto input = makeNoise (2, 1000);

    SaturatorAudioProcessor engine;
    prepareEngine (engine, juce::AudioChannelSet::stereo(), 48000.0, 256);
    applySettings (engine, settings);
    auto oneLongBlock = input;
    processInBlocks (engine, oneLongBlock, 1000);

    SaturatorAudioProcessor reference;
    prepareEngine (reference, juce::AudioChannelSet::stereo(), 48000.0, 256);
    applySettings (reference, settings);
    auto announcedBlocks = input;
    processInBlocks (reference, announcedBlocks, 256);

    expectEqualChannel (oneLongBlock, 0, announcedBlocks, 0);
    expectEqualChannel (oneLongBlock, 1, announcedBlocks, 1);
}

// Preparing again forgets every bit of history, so the engine sounds like a new one.
TEST_P (HostContract, ReleasedAndPreparedAgainSoundsLikeANewEngine)
{
    const auto settings = withOversampling (everyStage, GetParam());

    SaturatorAudioProcessor engine;
    prepareEngine (engine, juce::AudioChannelSet::stereo(), 48000.0, 512);
    applySettings (engine, settings);
    auto history = makeNoise (2, 4096, 0.9f, 7);
    processInBlocks (engine, history, 512);

    engine.releaseResources();
    prepareEngine (engine, juce::AudioChannelSet::mono(), 96000.0, 128);

    SaturatorAudioProcessor fresh;
    prepareEngine (fresh, juce::AudioChannelSet::mono(), 96000.0, 128);
    applySettings (fresh, settings);

    const auto input = makeNoise (1, 2000);
    auto reprepared = input;
    processInBlocks (engine, reprepared, 128);
    auto expected = input;
    processInBlocks (fresh, expected, 128);

    expectEqualChannel (reprepared, 0, expected, 0);
}

// Channels the layout does not have are silenced; the layout's own are processed as usual.
TEST_P (HostContract, ExtraChannelsAreClearedAndTheRestProcessed)
{
    const auto settings = withOversampling (everyStage, GetParam());
    const auto input = makeNoise (4, 1024);
    const auto fourChannels = processWithNewEngine (juce::AudioChannelSet::stereo(), settings, input);

    juce::AudioBuffer<float> firstTwo (2, 1024);
    firstTwo.copyFrom (0, 0, input, 0, 0, 1024);
    firstTwo.copyFrom (1, 0, input, 1, 0, 1024);
    const auto twoChannels = processWithNewEngine (juce::AudioChannelSet::stereo(), settings, firstTwo);

    expectEqualChannel (fourChannels, 0, twoChannels, 0);
    expectEqualChannel (fourChannels, 1, twoChannels, 1);
    EXPECT_EQ (fourChannels.getMagnitude (2, 0, 1024), 0.0f);
    EXPECT_EQ (fourChannels.getMagnitude (3, 0, 1024), 0.0f);
}

// A mono buffer handed to a stereo engine is processed like the mono layout's one channel.
TEST_P (HostContract, FewerChannelsThanPreparedAreProcessedAlone)
{
    const auto settings = withOversampling (everyStage, GetParam());
    const auto input = makeNoise (1, 1024);
    const auto fromStereo = processWithNewEngine (juce::AudioChannelSet::stereo(), settings, input);
    const auto fromMono = processWithNewEngine (juce::AudioChannelSet::mono(), settings, input);

    expectEqualChannel (fromStereo, 0, fromMono, 0);
}

// A NaN or infinity from upstream counts as silence; otherwise it would live on in the
// compressor's and the oversampler's memory and every later block would come out NaN.
TEST_P (HostContract, NonFiniteInputSoundsLikeSilenceAndLeavesNoTrace)
{
    const auto settings = withOversampling (everyStage, GetParam());
    const auto clean = makeNoise (2, 4096);

    auto broken = clean;
    broken.setSample (0, 5, std::numeric_limits<float>::quiet_NaN());
    broken.setSample (1, 9, std::numeric_limits<float>::infinity());
    broken.setSample (1, 700, -std::numeric_limits<float>::infinity());

    auto silenced = clean;
    silenced.setSample (0, 5, 0.0f);
    silenced.setSample (1, 9, 0.0f);
    silenced.setSample (1, 700, 0.0f);

    const auto fromBroken = processWithNewEngine (juce::AudioChannelSet::stereo(), settings, broken);
    const auto fromSilenced = processWithNewEngine (juce::AudioChannelSet::stereo(), settings, silenced);

    expectEqualChannel (fromBroken, 0, fromSilenced, 0);
    expectEqualChannel (fromBroken, 1, fromSilenced, 1);
}

INSTANTIATE_TEST_SUITE_P (Engine, HostContract, ::testing::Bool(), [] (const auto& caseInfo)
                          { return caseInfo.param ? "Oversampled" : "HostRate"; });

// Nothing is sized before prepareToPlay, so the audio goes back as it came.
TEST (HostContractUnprepared, BlockBeforePreparationIsLeftUntouched)
{
    SaturatorAudioProcessor engine;
    applySettings (engine, withOversampling (everyStage, true));

    const auto input = makeNoise (2, 300);
    auto output = input;
    processInBlocks (engine, output, 300);

    expectEqualChannel (output, 0, input, 0);
    expectEqualChannel (output, 1, input, 1);
}
