#pragma once

#include "Parameters.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_dsp/juce_dsp.h>

#include <atomic>

// The audio engine: parameters, signal chain, oversampling switch and saved state.
class SaturatorAudioProcessor : public juce::AudioProcessor
{
public:
    SaturatorAudioProcessor();
    ~SaturatorAudioProcessor() override;

    const juce::String getName() const override;

    void prepareToPlay (double sampleRate, int samplesPerBlock) override;
    void releaseResources() override;
    void processBlock (juce::AudioBuffer<float>&, juce::MidiBuffer&) override;
    using AudioProcessor::processBlock;

    double getTailLengthSeconds() const override;
    bool acceptsMidi() const override;
    bool producesMidi() const override;
    bool isMidiEffect() const override;

    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override;

    int getNumPrograms() override;
    int getCurrentProgram() override;
    void setCurrentProgram (int index) override;
    const juce::String getProgramName (int index) override;
    void changeProgramName (int index, const juce::String& newName) override;

    void getStateInformation (juce::MemoryBlock& destData) override;
    void setStateInformation (const void* data, int sizeInBytes) override;

    bool isBusesLayoutSupported (const BusesLayout& layouts) const override;

    // Message thread. The audio thread takes the new setting up at its next block.
    void setOversamplingEnabled (bool enabled);

    static juce::AudioProcessorValueTreeState::ParameterLayout createParameterLayout();

    juce::AudioProcessorValueTreeState parameterTree;

private:
    ParameterSnapshot parameterSnapshot;
    juce::dsp::ProcessorDuplicator<juce::dsp::IIR::Filter<float>, juce::dsp::IIR::Coefficients<float>> crushFilter;

public:
    // Levels in dB of the last block, written by the audio thread, read by the editor.
    std::atomic<float> inputRmsLevel { -100.0f };
    std::atomic<float> inputPeakLevel { -100.0f };
    std::atomic<float> outputRmsLevel { -100.0f };
    std::atomic<float> outputPeakLevel { -100.0f };

private:
    int latencyFor (bool enabled) const;
    void processChunk (juce::dsp::AudioBlock<float> block);
    void applyWaveshaper (juce::dsp::AudioBlock<float> source, juce::dsp::AudioBlock<float> destination) const noexcept;
    void applyCompressor (juce::dsp::AudioBlock<float> block);
    void applyCrush (juce::dsp::AudioBlock<float> block);

    juce::dsp::Compressor<float> compressor;
    std::unique_ptr<juce::dsp::Oversampling<float>> oversampler;
    std::atomic<bool> oversamplingEnabled { false };
    juce::dsp::DelayLine<float, juce::dsp::DelayLineInterpolationTypes::Linear> dryDelay { 8192 };

    // Audio-thread state: the setting the dry delay currently matches, and the
    // working copies, sized once by prepareToPlay.
    bool oversamplingActive = false;
    double preparedSampleRate = 0.0;
    int preparedBlockSize = 0;
    int preparedChannels = 0;
    juce::AudioBuffer<float> dryBuffer;
    juce::AudioBuffer<float> wetBuffer;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SaturatorAudioProcessor)
};
