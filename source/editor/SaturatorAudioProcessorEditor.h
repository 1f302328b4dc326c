#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

class SaturatorAudioProcessor;

class SaturatorAudioProcessorEditor : public juce::AudioProcessorEditor
{
public:
    explicit SaturatorAudioProcessorEditor (SaturatorAudioProcessor&);
    ~SaturatorAudioProcessorEditor() override;

private:
    SaturatorAudioProcessor& audioProcessor;
    int editorWidth = 460;
    int editorHeight = 700;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SaturatorAudioProcessorEditor)
};
