#include "EngineTestHelpers.h"

#include <gtest/gtest.h>

namespace
{
// One sample into a fresh engine: the compressor's envelope starts at zero, so its gain is
// still unity and only the makeup gain acts, which an output of -3.5 dB undoes.
float shapeOneSample (float drive, float x)
{
    SaturatorAudioProcessor engine;
    prepareEngine (engine, juce::AudioChannelSet::mono());
    applySettings (engine, { drive, 0.0f, drive > 0.0f ? -3.5f : 0.0f, 100.0f, false });

    juce::AudioBuffer<float> buffer (1, 1);
    buffer.setSample (0, 0, x);
    processInBlocks (engine, buffer, 1);
    return buffer.getSample (0, 0);
}

struct ShaperCase
{
    float drive;
    float x;
    float expected;
};

void PrintTo (const ShaperCase& c, std::ostream* out) { *out << "drive " << c.drive << " %, x " << c.x; }

class Waveshaper : public ::testing::TestWithParam<ShaperCase>
{
};

const ShaperCase shaperCases[] = {
    { 25.0f, 0.5f, 0.7370159f },
    { 50.0f, 0.5f, 1.0319855f },
    { 100.0f, 0.5f, 1.5653124f },
    { 100.0f, 1.0f, 1.86f },
    { 0.0f, 0.5f, 0.5f },
    { 0.0f, 1.0f, 1.0f },
};
} // namespace

TEST_P (Waveshaper, ShapesTheWetPathAndIsOdd)
{
    const auto& c = GetParam();

    EXPECT_NEAR (shapeOneSample (c.drive, c.x), c.expected, 2.0e-6f);
    EXPECT_NEAR (shapeOneSample (c.drive, -c.x), -c.expected, 2.0e-6f);
}

INSTANTIATE_TEST_SUITE_P (Engine, Waveshaper, ::testing::ValuesIn (shaperCases));

TEST (SignalChain, DriveZeroLeavesEverySampleUnchanged)
{
    SaturatorAudioProcessor engine;
    prepareEngine (engine);

    // Louder than full scale too: nothing in the chain may clip or compress at drive 0.
    const auto input = makeNoise (2, 2048, 1.5f);
    auto output = input;
    processInBlocks (engine, output, 512);

    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < input.getNumSamples(); ++i)
            ASSERT_EQ (output.getSample (channel, i), input.getSample (channel, i)) << channel << ", " << i;
}

TEST (SignalChain, MixZeroIsTheDrySignalTimesTheOutputGain)
{
    SaturatorAudioProcessor engine;
    prepareEngine (engine);
    applySettings (engine, { 100.0f, 100.0f, 6.0f, 0.0f, false });

    const auto input = makeNoise (2, 1024);
    auto output = input;
    processInBlocks (engine, output, 256);

    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < input.getNumSamples(); ++i)
            ASSERT_FLOAT_EQ (output.getSample (channel, i), input.getSample (channel, i) * 1.9952623f);
}

class BothModes : public ::testing::TestWithParam<bool>
{
};

// Every stage treats a negated signal alike, so the whole chain stays odd.
TEST_P (BothModes, WholeChainIsOddSymmetric)
{
    SaturatorAudioProcessor engine;
    prepareEngine (engine);
    applySettings (engine, { 100.0f, 100.0f, 6.0f, 50.0f, GetParam() });

    auto buffer = makeNoise (2, 4096, 0.8f);
    buffer.copyFrom (1, 0, buffer, 0, 0, buffer.getNumSamples());
    buffer.applyGain (1, 0, buffer.getNumSamples(), -1.0f);
    processInBlocks (engine, buffer, 512);

    for (int i = 0; i < buffer.getNumSamples(); ++i)
        ASSERT_EQ (buffer.getSample (1, i), -buffer.getSample (0, i)) << i;
}

// The compressor keeps one envelope per channel, and the oversampler's second channel in
// mono carries nothing into the first.
TEST_P (BothModes, MonoMatchesTheLeftChannelOfStereo)
{
    const EngineSettings settings { 80.0f, 60.0f, 0.0f, 70.0f, GetParam() };
    const auto input = makeNoise (1, 8192, 0.7f);
    const auto monoOutput = processWithNewEngine (juce::AudioChannelSet::mono(), settings, input);

    juce::AudioBuffer<float> bothChannels (2, input.getNumSamples());
    bothChannels.copyFrom (0, 0, input, 0, 0, input.getNumSamples());
    bothChannels.copyFrom (1, 0, input, 0, 0, input.getNumSamples());
    const auto stereoOutput = processWithNewEngine (juce::AudioChannelSet::stereo(), settings, bothChannels);

    for (int i = 0; i < input.getNumSamples(); ++i)
    {
        ASSERT_TRUE (std::isfinite (monoOutput.getSample (0, i)));
        ASSERT_EQ (monoOutput.getSample (0, i), stereoOutput.getSample (0, i)) << i;
    }
}

INSTANTIATE_TEST_SUITE_P (Engine, BothModes, ::testing::Bool(), [] (const auto& caseInfo)
                          { return caseInfo.param ? "Oversampled" : "HostRate"; });

namespace
{
struct CompressorCase
{
    float drive;
    float x;
    float shaped; // the waveshaper's output for x
    bool oversampling;
};

void PrintTo (const CompressorCase& c, std::ostream* out)
{
    *out << "drive " << c.drive << " %, x " << c.x << (c.oversampling ? ", 4x" : "");
}

class CompressorCurve : public ::testing::TestWithParam<CompressorCase>
{
};

const CompressorCase compressorCases[] = {
    { 25.0f, 0.5f, 0.7370159f, false },
    { 100.0f, 0.5f, 1.5653124f, false },
    { 100.0f, 1.0f, 1.86f, false },
    { 100.0f, 0.5f, 1.5653124f, true },
    { 100.0f, 1.0f, 1.86f, true },
};
} // namespace

// A steady level settles on 2:1 above -18 dB, then +3.5 dB of makeup.
TEST_P (CompressorCurve, SteadyLevelSettlesOnTheCurve)
{
    const auto& c = GetParam();
    SaturatorAudioProcessor engine;
    prepareEngine (engine, juce::AudioChannelSet::mono());
    applySettings (engine, { c.drive, 0.0f, 0.0f, 100.0f, c.oversampling });

    auto buffer = makeConstant (1, 48000, c.x);
    processInBlocks (engine, buffer, 512);

    const auto shapedDb = juce::Decibels::gainToDecibels (c.shaped);
    const auto expectedDb = -18.0f + (shapedDb + 18.0f) / 2.0f + 3.5f;
    EXPECT_NEAR (juce::Decibels::gainToDecibels (buffer.getSample (0, buffer.getNumSamples() - 1)), expectedDb, 0.01f);
}

INSTANTIATE_TEST_SUITE_P (Engine, CompressorCurve, ::testing::ValuesIn (compressorCases));

namespace
{
struct CrushCase
{
    float crush;
    double frequency;
    double sampleRate;
    float expectedGainDb;
    float toleranceDb;
};

void PrintTo (const CrushCase& c, std::ostream* out)
{
    *out << "crush " << c.crush << " %, " << c.frequency << " Hz at " << c.sampleRate << " Hz";
}

class CrushFilter : public ::testing::TestWithParam<CrushCase>
{
};

const CrushCase crushCases[] = {
    { 100.0f, 8000.0, 48000.0, 10.0f, 0.005f },
    { 100.0f, 8000.0, 44100.0, 10.0f, 0.005f },
    { 100.0f, 8000.0, 96000.0, 10.0f, 0.005f },
    { 50.0f, 8000.0, 48000.0, 5.0f, 0.005f },
    { 0.1f, 8000.0, 48000.0, 0.01f, 0.001f },
    { 100.0f, 100.0, 48000.0, 0.0f, 0.05f },
};

float rmsOf (const juce::AudioBuffer<float>& buffer, int start)
{
    return buffer.getRMSLevel (0, start, buffer.getNumSamples() - start);
}
} // namespace

// The boost sits at 8 kHz at whatever rate the host runs, with up to +10 dB.
TEST_P (CrushFilter, BoostsEightKilohertz)
{
    const auto& c = GetParam();
    SaturatorAudioProcessor engine;
    prepareEngine (engine, juce::AudioChannelSet::mono(), c.sampleRate, 512);
    applySettings (engine, { 0.0f, c.crush, 0.0f, 100.0f, false });

    const auto length = (int) c.sampleRate;
    const auto input = makeSine (1, length, c.frequency, c.sampleRate, 0.1f);
    auto output = input;
    processInBlocks (engine, output, 512);

    const auto settled = length / 2;
    const auto gainDb = juce::Decibels::gainToDecibels (rmsOf (output, settled) / rmsOf (input, settled));
    EXPECT_NEAR (gainDb, c.expectedGainDb, c.toleranceDb);
}

INSTANTIATE_TEST_SUITE_P (Engine, CrushFilter, ::testing::ValuesIn (crushCases));

TEST (SignalChain, CrushZeroLeavesTheWetPathUnfiltered)
{
    SaturatorAudioProcessor engine;
    prepareEngine (engine);

    // Filter memory from a boosted stretch must not leak into the unfiltered one.
    applySettings (engine, { 0.0f, 100.0f, 0.0f, 100.0f, false });
    auto boosted = makeNoise (2, 1024);
    processInBlocks (engine, boosted, 512);

    setParameter (engine, crushParameterId, 0.0f);
    const auto input = makeNoise (2, 1024, 0.5f, 2);
    auto output = input;
    processInBlocks (engine, output, 512);

    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < input.getNumSamples(); ++i)
            ASSERT_EQ (output.getSample (channel, i), input.getSample (channel, i));
}
