#include "engine/SaturatorAudioProcessor.h"

#include <benchmark/benchmark.h>

static void processBlock (benchmark::State& state)
{
    SaturatorAudioProcessor engine;
    engine.prepareToPlay (48000.0, 512);
    juce::AudioBuffer<float> buffer (2, 512);
    juce::MidiBuffer midi;

    for (auto _ : state)
        engine.processBlock (buffer, midi);
}
BENCHMARK (processBlock);

BENCHMARK_MAIN();
