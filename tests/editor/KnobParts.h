#pragma once

#include "editor/RotaryKnob.h"
#include "engine/SaturatorAudioProcessor.h"

#include <stdexcept>

// A knob's children, in the order the knob adds them.
inline juce::Slider& sliderOf (RotaryKnob& knob) { return dynamic_cast<juce::Slider&> (*knob.getChildComponent (0)); }
inline juce::Label& captionOf (RotaryKnob& knob) { return dynamic_cast<juce::Label&> (*knob.getChildComponent (1)); }

inline juce::Label& textBoxOf (RotaryKnob& knob)
{
    for (auto* child : sliderOf (knob).getChildren())
        if (auto* label = dynamic_cast<juce::Label*> (child))
            return *label;

    throw std::logic_error ("the slider has no text box");
}

// As a host sets it: from any thread, notifying the attachments.
inline void setParameter (SaturatorAudioProcessor& engine, const juce::ParameterID& id, float value)
{
    auto* parameter = engine.parameterTree.getParameter (id.getParamID());
    parameter->setValueNotifyingHost (parameter->convertTo0to1 (value));
}
