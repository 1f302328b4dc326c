#include "FiniteAudioParameterFloat.h"

void FiniteAudioParameterFloat::valueChanged (float newValue)
{
    if (! std::isnan (newValue))
    {
        lastNumber.store (newValue);
        return;
    }

    // Through the base interface, which reaches JUCE's own setValue.
    juce::AudioProcessorParameter& parameter = *this;
    parameter.setValue (convertTo0to1 (lastNumber.load()));
}

float FiniteAudioParameterFloat::getValueForText (const juce::String& text) const
{
    // JUCE's own reading of the text, as the parameters have no parser of their own.
    const auto typed = text.getFloatValue();
    return convertTo0to1 (std::isnan (typed) ? get() : typed);
}
