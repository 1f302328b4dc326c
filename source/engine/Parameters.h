#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

// The four parameters as the signal chain multiplies with them, read once per block.
struct ParameterSnapshot
{
    explicit ParameterSnapshot (juce::AudioProcessorValueTreeState& tree);

    void update() noexcept;

    float drive = 0.0f; // 0 to 2
    float outputGain = 0.0f; // linear
    float crush = 0.0f; // 0 to 1
    float mix = 0.5f; // 0 (dry) to 1 (wet)

    juce::AudioParameterFloat* driveParameter = nullptr;
    juce::AudioParameterFloat* crushParameter = nullptr;
    juce::AudioParameterFloat* outputParameter = nullptr;
    juce::AudioParameterFloat* mixParameter = nullptr;
};
