#include "EngineTestHelpers.h"

#include <gtest/gtest.h>

namespace
{
constexpr double sampleRate = 48000.0;
constexpr float loudInput = 0.5f;
constexpr float quietInput = 0.01f;
constexpr int dropSample = 4800; // 100 ms of the loud level, then the quiet one
constexpr int totalSamples = 19200;

// The waveshaper at drive 50 %: tanh (8x) + x³/4 + 0.18x⁷, 0.2 dB above full scale for the
// loud input and 22 dB below it, under the -18 dB threshold, for the quiet one.
double shaped (double x) { return std::tanh (8.0 * x) + 0.25 * x * x * x + 0.18 * std::pow (x, 7.0); }

// The compressor follows the peak with a one-pole filter, env += (|v| - env) (1 - c) per sample
// it runs, c = exp (-2 pi 1000 / (host rate x time in ms)): the attack coefficient while |v| is
// above env, the release one otherwise. "30 ms" and "160 ms" are 2 pi times the time constants
// (4.8 and 25.5 ms). Above -18 dB the gain is (env / threshold)^(1/2 - 1); then +3.5 dB makeup.
// At 4x it runs four samples per host sample with the same coefficients.
struct EnvelopeModel
{
    double levelDbAfter (double compressorSamples) const
    {
        const auto attack = std::exp (-juce::MathConstants<double>::twoPi * 1000.0 / (sampleRate * 30.0));
        const auto release = std::exp (-juce::MathConstants<double>::twoPi * 1000.0 / (sampleRate * 160.0));
        const auto loud = shaped (loudInput);
        const auto quiet = shaped (quietInput);
        const auto drop = (double) (dropSample * factor);

        const auto afterDrop = compressorSamples > drop;
        const auto atDrop = loud * (1.0 - std::pow (attack, juce::jmin (compressorSamples, drop)));
        const auto envelope = afterDrop ? quiet + (atDrop - quiet) * std::pow (release, compressorSamples - drop) : atDrop;

        const auto threshold = std::pow (10.0, -18.0 / 20.0);
        const auto gain = envelope < threshold ? 1.0 : std::pow (envelope / threshold, 0.5 - 1.0);
        return 20.0 * std::log10 ((afterDrop ? quiet : loud) * gain) + 3.5;
    }

    int factor;
};

struct Instant
{
    bool afterDrop;
    double ms; // at the host rate; a quarter of it at 4x
};

class CompressorTiming : public ::testing::TestWithParam<bool>
{
};
} // namespace

// A loud level that the compressor pulls down, then a quiet one that it lets go of.
TEST_P (CompressorTiming, AttackAndReleaseFollowThePeakEnvelope)
{
    const auto oversampling = GetParam();
    const auto factor = oversampling ? 4 : 1;
    // At the host rate the model is exact but for rounding. At 4x the oversampler's filters ring
    // for about a millisecond after the onset and two after the drop; the instants lie beyond.
    const auto tolerance = oversampling ? 0.1 : 0.01;

    SaturatorAudioProcessor engine;
    prepareEngine (engine, juce::AudioChannelSet::mono(), sampleRate, 512);
    applySettings (engine, { 50.0f, 0.0f, 0.0f, 100.0f, oversampling });
    const auto latency = engine.getLatencySamples();

    auto signal = makeConstant (1, totalSamples, loudInput);
    juce::FloatVectorOperations::fill (signal.getWritePointer (0, dropSample), quietInput, totalSamples - dropSample);
    processInBlocks (engine, signal, 512);

    const EnvelopeModel model { factor };
    const Instant instants[] { { false, 5.0 }, { false, 10.0 }, { false, 20.0 }, { false, 30.0 }, { true, 10.0 }, { true, 20.0 }, { true, 40.0 }, { true, 60.0 }, { true, 90.0 } };

    for (const auto& instant : instants)
    {
        const auto offset = juce::roundToInt (instant.ms / factor * sampleRate / 1000.0);
        const auto sample = (instant.afterDrop ? dropSample : 0) + offset + latency;
        const auto measuredDb = juce::Decibels::gainToDecibels (std::abs (signal.getSample (0, sample)));
        const auto modelDb = model.levelDbAfter ((double) (factor * (sample - latency + 1)));

        EXPECT_NEAR (measuredDb, modelDb, tolerance) << instant.ms / factor << " ms after the " << (instant.afterDrop ? "drop" : "onset");
    }
}

INSTANTIATE_TEST_SUITE_P (Engine, CompressorTiming, ::testing::Bool(), [] (const auto& caseInfo)
                          { return caseInfo.param ? "Oversampled" : "HostRate"; });
