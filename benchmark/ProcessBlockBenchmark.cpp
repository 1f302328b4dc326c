#include "engine/SaturatorAudioProcessor.h"
#include "shared/ParameterIds.h"

#include <benchmark/benchmark.h>

namespace
{
constexpr double sampleRate = 48000.0;

void setParameter (SaturatorAudioProcessor& engine, const juce::ParameterID& id, float value)
{
    auto* parameter = engine.parameterTree.getParameter (id.getParamID());
    parameter->setValueNotifyingHost (parameter->convertTo0to1 (value));
}

// Arguments: 4x switch, full chain (drive 100 %, crush 100 %, mix 50 %) or drive 0, channels, block size.
void processBlock (benchmark::State& state)
{
    const auto oversampling = state.range (0) != 0;
    const auto fullChain = state.range (1) != 0;
    const auto numChannels = (int) state.range (2);
    const auto blockSize = (int) state.range (3);

    SaturatorAudioProcessor engine;
    const auto layout = numChannels == 1 ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::stereo();
    engine.setBusesLayout ({ { layout }, { layout } });
    engine.setRateAndBufferSizeDetails (sampleRate, blockSize);
    engine.prepareToPlay (sampleRate, blockSize);
    engine.setOversamplingEnabled (oversampling);

    if (fullChain)
    {
        setParameter (engine, driveParameterId, 100.0f);
        setParameter (engine, crushParameterId, 100.0f);
        setParameter (engine, mixParameterId, 50.0f);
    }

    // A fresh block of noise every time, as a host would bring, copied in as part of the work.
    juce::AudioBuffer<float> source (numChannels, blockSize);
    juce::Random random (1);

    for (int channel = 0; channel < numChannels; ++channel)
        for (int i = 0; i < blockSize; ++i)
            source.setSample (channel, i, 0.5f * (2.0f * random.nextFloat() - 1.0f));

    juce::AudioBuffer<float> buffer (numChannels, blockSize);
    juce::MidiBuffer midi;

    for (auto _ : state)
    {
        buffer.makeCopyOf (source, true);
        engine.processBlock (buffer, midi);
        benchmark::DoNotOptimize (buffer.getReadPointer (0));
        benchmark::ClobberMemory();
    }

    const auto seconds = (double) state.iterations() * blockSize / sampleRate;
    state.counters["x real time"] = benchmark::Counter (seconds, benchmark::Counter::kIsRate);
}
} // namespace

BENCHMARK (processBlock)
    ->ArgNames ({ "4x", "full", "channels", "block" })
    ->ArgsProduct ({ { 0, 1 }, { 0, 1 }, { 1, 2 }, { 32, 512, 4096 } });

BENCHMARK_MAIN();
