#include "EngineTestHelpers.h"

#include <gtest/gtest.h>

namespace
{
struct SweepCase
{
    double sampleRate;
    int blockSize;
    bool oversampling;
};

void PrintTo (const SweepCase& c, std::ostream* out)
{
    *out << c.sampleRate << " Hz, " << c.blockSize << " samples" << (c.oversampling ? ", 4x" : "");
}

class HostSweep : public ::testing::TestWithParam<SweepCase>
{
};

std::vector<SweepCase> sweepCases()
{
    std::vector<SweepCase> cases;

    for (const auto sampleRate : { 44100.0, 48000.0, 96000.0 })
        for (const auto blockSize : { 64, 128, 256, 441, 512, 1024 })
            for (const auto oversampling : { false, true })
                cases.push_back ({ sampleRate, blockSize, oversampling });

    return cases;
}

// RMS over all channels together and the largest magnitude, in dB with the -100 dB floor.
std::pair<float, float> levelsOf (const juce::AudioBuffer<float>& buffer)
{
    double sumOfSquares = 0.0;
    float peak = 0.0f;

    for (int channel = 0; channel < buffer.getNumChannels(); ++channel)
        for (int i = 0; i < buffer.getNumSamples(); ++i)
        {
            const auto x = buffer.getSample (channel, i);
            sumOfSquares += (double) x * (double) x;
            peak = juce::jmax (peak, std::abs (x));
        }

    const auto rms = (float) std::sqrt (sumOfSquares / (double) (buffer.getNumChannels() * buffer.getNumSamples()));
    return { juce::Decibels::gainToDecibels (rms), juce::Decibels::gainToDecibels (peak) };
}

void randomiseParameters (SaturatorAudioProcessor& engine, juce::Random& random)
{
    for (auto* parameter : engine.getParameters())
        parameter->setValueNotifyingHost (random.nextFloat());
}
} // namespace

// As a host drives it: blocks of any length up to the announced one, noise beyond full scale,
// new parameter values every block. Nothing may come out that a host would choke on, and the
// four readings measure each block as it went in and came out.
TEST_P (HostSweep, EveryOutputSampleIsFiniteAndNormalAndTheReadingsMeasureTheBlock)
{
    const auto& c = GetParam();
    juce::Random random (c.blockSize * 31 + (int) c.sampleRate + (c.oversampling ? 1 : 0));

    for (const auto& layout : { juce::AudioChannelSet::mono(), juce::AudioChannelSet::stereo() })
    {
        SaturatorAudioProcessor engine;
        prepareEngine (engine, layout, c.sampleRate, c.blockSize);
        engine.setOversamplingEnabled (c.oversampling);

        const auto numChannels = layout.size();
        juce::AudioBuffer<float> buffer (numChannels, c.blockSize);
        juce::MidiBuffer midi;
        const auto blocks = (int) (c.sampleRate / 2.0) / c.blockSize;

        for (int block = 0; block < blocks; ++block)
        {
            randomiseParameters (engine, random);

            const auto numSamples = random.nextInt (4) == 0 ? 1 + random.nextInt (c.blockSize) : c.blockSize;
            const auto amplitude = 2.0f * random.nextFloat();
            juce::AudioBuffer<float> view (buffer.getArrayOfWritePointers(), numChannels, 0, numSamples);

            for (int channel = 0; channel < numChannels; ++channel)
                for (int i = 0; i < numSamples; ++i)
                    view.setSample (channel, i, amplitude * (2.0f * random.nextFloat() - 1.0f));

            const auto [inputRms, inputPeak] = levelsOf (view);
            engine.processBlock (view, midi);
            const auto [outputRms, outputPeak] = levelsOf (view);

            ASSERT_NEAR (engine.inputRmsLevel.load(), inputRms, 1.0e-3f) << "block " << block;
            ASSERT_EQ (engine.inputPeakLevel.load(), inputPeak) << "block " << block;
            ASSERT_NEAR (engine.outputRmsLevel.load(), outputRms, 1.0e-3f) << "block " << block;
            ASSERT_EQ (engine.outputPeakLevel.load(), outputPeak) << "block " << block;

            for (int channel = 0; channel < numChannels; ++channel)
                for (int i = 0; i < numSamples; ++i)
                {
                    const auto y = view.getSample (channel, i);
                    ASSERT_TRUE (std::isfinite (y)) << "block " << block << ", channel " << channel << ", sample " << i;
                    ASSERT_NE (std::fpclassify (y), FP_SUBNORMAL) << "block " << block << ", channel " << channel << ", sample " << i;
                }
        }
    }
}

INSTANTIATE_TEST_SUITE_P (Engine,
                          HostSweep,
                          ::testing::ValuesIn (sweepCases()),
                          [] (const auto& caseInfo)
                          {
                              return std::to_string ((int) caseInfo.param.sampleRate) + "Hz_" + std::to_string (caseInfo.param.blockSize)
                                     + (caseInfo.param.oversampling ? "_Oversampled" : "_HostRate");
                          });
