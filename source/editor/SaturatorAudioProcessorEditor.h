#pragma once

#include "LevelMeter.h"
#include "RotaryKnob.h"

#include <juce_audio_processors/juce_audio_processors.h>

class SaturatorAudioProcessor;

// The plug-in's fixed 460 x 700 window: title, input and output meters, the
// four knobs and the "4x" oversampling switch.
class SaturatorAudioProcessorEditor : public juce::AudioProcessorEditor,
                                      private juce::Timer
{
public:
    // The engine must outlive the editor.
    explicit SaturatorAudioProcessorEditor (SaturatorAudioProcessor&);
    ~SaturatorAudioProcessorEditor() override;

    void paint (juce::Graphics&) override;
    void resized() override;

private:
    void timerCallback() override;

    SaturatorAudioProcessor& audioProcessor;
    const int editorWidth = 460;
    const int editorHeight = 700;

    RotaryKnob driveKnob;
    RotaryKnob crushKnob;
    RotaryKnob outputKnob;
    RotaryKnob mixKnob;
    LevelMeter inputMeter;
    LevelMeter outputMeter;
    juce::Label titleLabel;
    juce::TextButton oversamplingButton { "4x" };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SaturatorAudioProcessorEditor)
};
