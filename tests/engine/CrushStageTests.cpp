#include "EngineTestHelpers.h"

#include <gtest/gtest.h>

#include <complex>

namespace
{
// The presence lift at full crush: the textbook peaking biquad (R. Bristow-Johnson's audio
// EQ cookbook) at 8 kHz, Q 1 and +10 dB, designed at the host rate.
struct PeakFilter
{
    explicit PeakFilter (double sampleRate)
    {
        const auto a = std::pow (10.0, 10.0 / 40.0);
        const auto w0 = juce::MathConstants<double>::twoPi * 8000.0 / sampleRate;
        const auto alpha = std::sin (w0) / (2.0 * 1.0);
        const auto a0 = 1.0 + alpha / a;

        b0 = (1.0 + alpha * a) / a0;
        b1 = -2.0 * std::cos (w0) / a0;
        b2 = (1.0 - alpha * a) / a0;
        a1 = -2.0 * std::cos (w0) / a0;
        a2 = (1.0 - alpha / a) / a0;
    }

    double gainDbAt (double frequency, double sampleRate) const
    {
        const auto z1 = std::polar (1.0, -juce::MathConstants<double>::twoPi * frequency / sampleRate);
        const auto z2 = z1 * z1;
        return 20.0 * std::log10 (std::abs ((b0 + b1 * z1 + b2 * z2) / (1.0 + a1 * z1 + a2 * z2)));
    }

    // Direct form I, in double precision, one channel at a time from silence.
    void process (juce::AudioBuffer<float>& buffer) const
    {
        for (int channel = 0; channel < buffer.getNumChannels(); ++channel)
        {
            double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;

            for (int i = 0; i < buffer.getNumSamples(); ++i)
            {
                const double x = buffer.getSample (channel, i);
                const auto y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
                x2 = x1;
                x1 = x;
                y2 = y1;
                y1 = y;
                buffer.setSample (channel, i, (float) y);
            }
        }
    }

    double b0, b1, b2, a1, a2;
};

class CrushShape : public ::testing::TestWithParam<double>
{
};
} // namespace

// Off the centre too, where a different Q or gain would show.
TEST_P (CrushShape, FullCrushFollowsThePeakFilterAroundEightKilohertz)
{
    constexpr double sampleRate = 48000.0;
    const auto frequency = GetParam();

    SaturatorAudioProcessor engine;
    prepareEngine (engine, juce::AudioChannelSet::mono(), sampleRate, 512);
    applySettings (engine, { 0.0f, 100.0f, 0.0f, 100.0f, false });

    const auto length = (int) sampleRate;
    const auto input = makeSine (1, length, frequency, sampleRate, 0.1f);
    auto output = input;
    processInBlocks (engine, output, 512);

    const auto settled = length / 2;
    const auto measured = juce::Decibels::gainToDecibels (output.getRMSLevel (0, settled, length - settled)
                                                          / input.getRMSLevel (0, settled, length - settled));
    EXPECT_NEAR (measured, PeakFilter (sampleRate).gainDbAt (frequency, sampleRate), 0.01);
}

INSTANTIATE_TEST_SUITE_P (Engine,
                          CrushShape,
                          ::testing::Values (1000.0, 3000.0, 5000.0, 6500.0, 8000.0, 9500.0, 12000.0, 16000.0, 20000.0),
                          [] (const auto& caseInfo)
                          { return std::to_string ((int) caseInfo.param) + "Hz"; });

namespace
{
struct PlaceCase
{
    float drive;
    bool oversampling;
};

void PrintTo (const PlaceCase& c, std::ostream* out) { *out << "drive " << c.drive << " %" << (c.oversampling ? ", 4x" : ""); }

class CrushPlace : public ::testing::TestWithParam<PlaceCase>
{
};
} // namespace

// The lift comes last in the wet path, at the host rate in both modes: the driven output
// with crush is the driven output without it, through the peak filter.
TEST_P (CrushPlace, CrushFiltersTheShapedSignalAtTheHostRate)
{
    const auto& c = GetParam();
    const auto input = makeNoise (2, 8192, 0.6f);

    auto expected = processWithNewEngine (juce::AudioChannelSet::stereo(), { c.drive, 0.0f, 0.0f, 100.0f, c.oversampling }, input);
    PeakFilter (48000.0).process (expected);
    const auto crushed = processWithNewEngine (juce::AudioChannelSet::stereo(), { c.drive, 100.0f, 0.0f, 100.0f, c.oversampling }, input);

    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < input.getNumSamples(); ++i)
            ASSERT_NEAR (crushed.getSample (channel, i), expected.getSample (channel, i), 1.0e-4f) << "channel " << channel << ", sample " << i;
}

INSTANTIATE_TEST_SUITE_P (Engine,
                          CrushPlace,
                          ::testing::Values (PlaceCase { 30.0f, false }, PlaceCase { 100.0f, false }, PlaceCase { 30.0f, true }, PlaceCase { 100.0f, true }),
                          [] (const auto& caseInfo)
                          {
                              return "Drive" + std::to_string ((int) caseInfo.param.drive)
                                     + (caseInfo.param.oversampling ? "_Oversampled" : "_HostRate");
                          });
