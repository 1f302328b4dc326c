#include "engine/SaturatorAudioProcessor.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

// A host run made of fuzzed bytes: layout, rate and announced block size, then a
// series of blocks of any length with parameter moves and 4x switches between
// them. Samples are either raw bit patterns (NaN, infinities, huge values) or
// finite within +-1; whatever came before, a block of the latter plays finite.
namespace
{
constexpr double commonSampleRates[] { 8000.0, 11025.0, 16000.0, 22050.0, 32000.0, 44100.0, 48000.0, 88200.0, 96000.0, 176400.0, 192000.0, 384000.0 };

void require (bool condition, const char* what)
{
    if (condition)
        return;

    std::fprintf (stderr, "Failed: %s\n", what);
    std::abort();
}

double pickSampleRate (FuzzedDataProvider& input)
{
    if (input.ConsumeBool())
        return input.PickValueInArray (commonSampleRates);

    return (double) input.ConsumeIntegralInRange (8000, 400000);
}

void fillBlock (FuzzedDataProvider& input, juce::AudioBuffer<float>& buffer, bool raw)
{
    for (int channel = 0; channel < buffer.getNumChannels(); ++channel)
    {
        auto* samples = buffer.getWritePointer (channel);

        for (int i = 0; i < buffer.getNumSamples(); ++i)
        {
            if (raw)
            {
                const auto bits = input.ConsumeIntegral<juce::uint32>();
                std::memcpy (samples + i, &bits, sizeof (float));
            }
            else
            {
                samples[i] = input.ConsumeFloatingPointInRange (-1.0f, 1.0f);
            }
        }
    }
}

bool allFinite (const juce::AudioBuffer<float>& buffer)
{
    for (int channel = 0; channel < buffer.getNumChannels(); ++channel)
        for (int i = 0; i < buffer.getNumSamples(); ++i)
            if (! std::isfinite (buffer.getSample (channel, i)))
                return false;

    return true;
}
} // namespace

extern "C" int LLVMFuzzerInitialize (int*, char***)
{
    // Never shut down: libFuzzer ends the process from inside exit(), after JUCE's own statics are gone.
    juce::initialiseJuce_GUI();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput (const juce::uint8* data, size_t size)
{
    FuzzedDataProvider input (data, size);
    SaturatorAudioProcessor engine;

    const auto numChannels = input.ConsumeBool() ? 1 : 2;
    const auto layout = juce::AudioChannelSet::canonicalChannelSet (numChannels);
    require (engine.setBusesLayout ({ { layout }, { layout } }), "mono and stereo layouts accepted");

    const auto sampleRate = pickSampleRate (input);
    const auto announcedBlockSize = input.ConsumeIntegralInRange (0, 4096);
    engine.setRateAndBufferSizeDetails (sampleRate, announcedBlockSize);
    engine.prepareToPlay (sampleRate, announcedBlockSize);

    auto& parameters = engine.getParameters();
    juce::MidiBuffer midi;

    for (int blockIndex = 0; blockIndex < 16 && input.remaining_bytes() > 0; ++blockIndex)
    {
        if (input.ConsumeBool())
            engine.setOversamplingEnabled (input.ConsumeBool());

        while (input.ConsumeBool())
        {
            auto* parameter = parameters[input.ConsumeIntegralInRange (0, parameters.size() - 1)];
            parameter->setValueNotifyingHost (input.ConsumeProbability<float>());
        }

        // Mostly the prepared layout; now and then a host that hands over a channel too few or too many.
        const auto bufferChannels = input.ConsumeIntegralInRange (0, 7) == 0 ? input.ConsumeIntegralInRange (0, 3)
                                                                             : numChannels;
        const auto numSamples = input.ConsumeIntegralInRange (0, 2 * juce::jmax (1, announcedBlockSize) + 1);
        const auto raw = input.ConsumeIntegralInRange (0, 3) == 0;

        juce::AudioBuffer<float> buffer (bufferChannels, numSamples);
        fillBlock (input, buffer, raw);

        engine.processBlock (buffer, midi);

        if (! raw)
            require (allFinite (buffer), "finite output for finite input within +-1");
    }

    engine.releaseResources();
    return 0;
}
