#include "engine/SaturatorAudioProcessor.h"

#include <cstdio>
#include <cstdlib>

// Any bytes as a saved state: no crash, every parameter in its range afterwards,
// and whatever was accepted saves, restores and saves again to the same bytes.
namespace
{
juce::MemoryBlock savedState (SaturatorAudioProcessor& engine)
{
    juce::MemoryBlock block;
    engine.getStateInformation (block);
    return block;
}

void require (bool condition, const char* what)
{
    if (condition)
        return;

    std::fprintf (stderr, "Failed: %s\n", what);
    std::abort();
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
    if (size > (size_t) std::numeric_limits<int>::max())
        return -1;

    SaturatorAudioProcessor engine;
    engine.setStateInformation (data, (int) size);

    for (auto* parameter : engine.getParameters())
    {
        if (auto* floatParameter = dynamic_cast<juce::AudioParameterFloat*> (parameter))
        {
            const auto& range = floatParameter->range;
            const auto value = floatParameter->get();
            require (value >= range.start && value <= range.end, "parameter within its range");
            require (parameter->getValue() >= 0.0f && parameter->getValue() <= 1.0f, "normalised value within 0..1");
        }
    }

    const auto first = savedState (engine);
    engine.setStateInformation (first.getData(), (int) first.getSize());
    require (savedState (engine) == first, "save, restore and save give the same bytes");
    return 0;
}
