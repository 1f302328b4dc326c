#pragma once

#include "engine/SaturatorAudioProcessor.h"
#include "shared/ParameterIds.h"

#include <gtest/gtest.h>

// The four parameters in their own units, and the "4x" switch.
struct EngineSettings
{
    float drive = 0.0f;
    float crush = 0.0f;
    float output = 0.0f;
    float mix = 100.0f;
    bool oversampling = false;
};

inline void setParameter (SaturatorAudioProcessor& engine, const juce::ParameterID& id, float value)
{
    auto* parameter = engine.parameterTree.getParameter (id.getParamID());
    parameter->setValueNotifyingHost (parameter->convertTo0to1 (value));
}

inline void applySettings (SaturatorAudioProcessor& engine, const EngineSettings& settings)
{
    setParameter (engine, driveParameterId, settings.drive);
    setParameter (engine, crushParameterId, settings.crush);
    setParameter (engine, outputParameterId, settings.output);
    setParameter (engine, mixParameterId, settings.mix);
    engine.setOversamplingEnabled (settings.oversampling);
}

// In the order JUCE's wrapper does it for a host: layout, rate and block size, then prepareToPlay.
inline void prepareEngine (SaturatorAudioProcessor& engine,
                           const juce::AudioChannelSet& channels = juce::AudioChannelSet::stereo(),
                           double sampleRate = 48000.0,
                           int blockSize = 512)
{
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (channels);
    layout.outputBuses.add (channels);
    EXPECT_TRUE (engine.setBusesLayout (layout));
    engine.setRateAndBufferSizeDetails (sampleRate, blockSize);
    engine.prepareToPlay (sampleRate, blockSize);
}

inline juce::AudioBuffer<float> makeConstant (int numChannels, int numSamples, float value)
{
    juce::AudioBuffer<float> buffer (numChannels, numSamples);

    for (int channel = 0; channel < numChannels; ++channel)
        juce::FloatVectorOperations::fill (buffer.getWritePointer (channel), value, numSamples);

    return buffer;
}

inline juce::AudioBuffer<float> makeNoise (int numChannels, int numSamples, float amplitude = 0.5f, juce::int64 seed = 1)
{
    juce::Random random (seed);
    juce::AudioBuffer<float> buffer (numChannels, numSamples);

    for (int channel = 0; channel < numChannels; ++channel)
        for (int i = 0; i < numSamples; ++i)
            buffer.setSample (channel, i, amplitude * (2.0f * random.nextFloat() - 1.0f));

    return buffer;
}

inline juce::AudioBuffer<float> makeSine (int numChannels, int numSamples, double frequency, double sampleRate, float amplitude = 0.5f)
{
    juce::AudioBuffer<float> buffer (numChannels, numSamples);

    for (int channel = 0; channel < numChannels; ++channel)
        for (int i = 0; i < numSamples; ++i)
            buffer.setSample (channel, i, amplitude * (float) std::sin (juce::MathConstants<double>::twoPi * frequency * i / sampleRate));

    return buffer;
}

// Feeds a whole signal through the engine in host-sized blocks, in place.
inline void processInBlocks (SaturatorAudioProcessor& engine, juce::AudioBuffer<float>& signal, int blockSize)
{
    juce::MidiBuffer midi;

    for (int start = 0; start < signal.getNumSamples(); start += blockSize)
    {
        juce::AudioBuffer<float> block (signal.getArrayOfWritePointers(),
                                        signal.getNumChannels(),
                                        start,
                                        juce::jmin (blockSize, signal.getNumSamples() - start));
        engine.processBlock (block, midi);
    }
}

// A new engine with this layout and these settings, fed the whole signal in blocks.
inline juce::AudioBuffer<float> processWithNewEngine (const juce::AudioChannelSet& channels,
                                                      const EngineSettings& settings,
                                                      juce::AudioBuffer<float> signal,
                                                      int blockSize = 512)
{
    SaturatorAudioProcessor engine;
    prepareEngine (engine, channels, 48000.0, blockSize);
    applySettings (engine, settings);
    processInBlocks (engine, signal, blockSize);
    return signal;
}
