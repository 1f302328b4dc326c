#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

// A captioned rotary control with an editable value box, bound to one
// parameter of the engine's tree and drawn by the shared knob look-and-feel.
class RotaryKnob : public juce::Component
{
public:
    // The tree must outlive the knob.
    RotaryKnob (const juce::String& text,
                juce::AudioProcessorValueTreeState& tree,
                const juce::ParameterID& parameterId,
                bool drawFromMiddle);
    ~RotaryKnob() override;

    void resized() override;

private:
    juce::Slider knobSlider;
    juce::Label captionLabel;
    juce::AudioProcessorValueTreeState::SliderAttachment parameterAttachment;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (RotaryKnob)
};
