#include "EngineTestHelpers.h"

#include <gtest/gtest.h>

namespace
{
struct Readings
{
    float inputRms, inputPeak, outputRms, outputPeak;
};

Readings readingsOf (const SaturatorAudioProcessor& engine)
{
    return { engine.inputRmsLevel.load(), engine.inputPeakLevel.load(), engine.outputRmsLevel.load(), engine.outputPeakLevel.load() };
}

void processOnce (SaturatorAudioProcessor& engine, juce::AudioBuffer<float>& buffer)
{
    juce::MidiBuffer midi;
    engine.processBlock (buffer, midi);
}

void expectAllReadings (const Readings& r, float expected, float tolerance)
{
    EXPECT_NEAR (r.inputRms, expected, tolerance);
    EXPECT_NEAR (r.inputPeak, expected, tolerance);
    EXPECT_NEAR (r.outputRms, expected, tolerance);
    EXPECT_NEAR (r.outputPeak, expected, tolerance);
}

struct EmptyBlockCase
{
    int numChannels;
    int numSamples;
};

void PrintTo (const EmptyBlockCase& c, std::ostream* out) { *out << c.numChannels << " channels, " << c.numSamples << " samples"; }

class EmptyBlock : public ::testing::TestWithParam<EmptyBlockCase>
{
};
} // namespace

TEST_P (EmptyBlock, ReadsSilenceAndTouchesNothing)
{
    SaturatorAudioProcessor engine;
    prepareEngine (engine);
    applySettings (engine, { 100.0f, 100.0f, 0.0f, 50.0f, true });

    auto loud = makeNoise (2, 512);
    processOnce (engine, loud);
    ASSERT_GT (engine.inputPeakLevel.load(), -100.0f);

    juce::AudioBuffer<float> empty (GetParam().numChannels, GetParam().numSamples);
    empty.clear();
    processOnce (engine, empty);

    expectAllReadings (readingsOf (engine), -100.0f, 0.0f);
}

INSTANTIATE_TEST_SUITE_P (Engine,
                          EmptyBlock,
                          ::testing::Values (EmptyBlockCase { 2, 0 }, EmptyBlockCase { 0, 512 }, EmptyBlockCase { 0, 0 }));

class SilentHistory : public ::testing::TestWithParam<bool>
{
};

TEST_P (SilentHistory, SilenceInGivesSilenceOutAndFloorReadings)
{
    SaturatorAudioProcessor engine;
    prepareEngine (engine);
    applySettings (engine, { 100.0f, 100.0f, 30.0f, 50.0f, GetParam() });

    juce::AudioBuffer<float> buffer (2, 512);

    for (int block = 0; block < 8; ++block)
    {
        buffer.clear();
        processOnce (engine, buffer);

        EXPECT_EQ (buffer.getMagnitude (0, 512), 0.0f);
        expectAllReadings (readingsOf (engine), -100.0f, 0.0f);
    }
}

INSTANTIATE_TEST_SUITE_P (Engine, SilentHistory, ::testing::Bool());

TEST (Levels, ConstantHalfReadsMinusSixDecibelsEverywhere)
{
    SaturatorAudioProcessor engine;
    prepareEngine (engine);

    auto buffer = makeConstant (2, 512, 0.5f);
    processOnce (engine, buffer);

    EXPECT_EQ (buffer.getSample (0, 0), 0.5f);
    EXPECT_EQ (buffer.getSample (1, 511), 0.5f);
    expectAllReadings (readingsOf (engine), -6.0206f, 1.0e-4f);
}

// One mean over both channels: a silent channel halves the power but not the peak.
TEST (Levels, OneSilentChannelOfTwoReadsThreeDecibelsLowerRms)
{
    const auto signal = makeSine (1, 480, 1000.0, 48000.0, 0.8f);

    SaturatorAudioProcessor both;
    prepareEngine (both);
    juce::AudioBuffer<float> twoChannels (2, 480);
    twoChannels.copyFrom (0, 0, signal, 0, 0, 480);
    twoChannels.copyFrom (1, 0, signal, 0, 0, 480);
    processOnce (both, twoChannels);

    SaturatorAudioProcessor one;
    prepareEngine (one);
    juce::AudioBuffer<float> oneChannel (2, 480);
    oneChannel.copyFrom (0, 0, signal, 0, 0, 480);
    oneChannel.clear (1, 0, 480);
    processOnce (one, oneChannel);

    EXPECT_NEAR (both.inputRmsLevel.load() - one.inputRmsLevel.load(), 3.0103f, 1.0e-3f);
    EXPECT_NEAR (both.outputRmsLevel.load() - one.outputRmsLevel.load(), 3.0103f, 1.0e-3f);
    EXPECT_EQ (both.inputPeakLevel.load(), one.inputPeakLevel.load());
    EXPECT_EQ (both.outputPeakLevel.load(), one.outputPeakLevel.load());
}

TEST (Levels, NanSampleFloorsTheRmsButNotThePeak)
{
    SaturatorAudioProcessor engine;
    prepareEngine (engine);

    auto buffer = makeConstant (2, 64, 0.25f);
    buffer.setSample (0, 10, 0.5f);
    buffer.setSample (1, 20, std::numeric_limits<float>::quiet_NaN());
    processOnce (engine, buffer);

    EXPECT_EQ (engine.inputRmsLevel.load(), -100.0f);
    EXPECT_NEAR (engine.inputPeakLevel.load(), -6.0206f, 1.0e-4f);
}

namespace
{
struct NegativePeakCase
{
    const char* name;
    float background;
    float largest; // at one sample of the second channel
};

void PrintTo (const NegativePeakCase& c, std::ostream* out) { *out << c.name; }

class NegativePeak : public ::testing::TestWithParam<NegativePeakCase>
{
};
} // namespace

// The peak is the largest magnitude, whichever its sign; the chain at drive 0 passes it on.
TEST_P (NegativePeak, ReadsTheMagnitudeAtInputAndOutput)
{
    const auto& c = GetParam();
    SaturatorAudioProcessor engine;
    prepareEngine (engine);

    auto buffer = makeConstant (2, 256, c.background);
    buffer.setSample (1, 100, c.largest);
    processOnce (engine, buffer);

    const auto expected = 20.0f * std::log10 (std::abs (c.largest));
    EXPECT_NEAR (engine.inputPeakLevel.load(), expected, 1.0e-4f);
    EXPECT_NEAR (engine.outputPeakLevel.load(), expected, 1.0e-4f);
}

INSTANTIATE_TEST_SUITE_P (Engine,
                          NegativePeak,
                          ::testing::Values (NegativePeakCase { "AmongPositiveSamples", 0.25f, -0.8f },
                                             NegativePeakCase { "InANegativeBlock", -0.1f, -0.5f }),
                          [] (const auto& caseInfo)
                          { return std::string (caseInfo.param.name); });
