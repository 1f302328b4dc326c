#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>

// JUCE's float parameter, except that it never holds NaN: JUCE's ranges and its text
// parser let NaN through, and one NaN factor turns every block after it into NaN. A NaN
// from a host, a caller or typed text leaves the value as it was; infinities are clamped
// by JUCE as before.
class FiniteAudioParameterFloat final : public juce::AudioParameterFloat
{
public:
    using AudioParameterFloat::AudioParameterFloat;

private:
    // JUCE's setValue stores the value before it calls this, and is private to JUCE's class:
    // a NaN is put back to the last number at once, before setValueNotifyingHost tells any listener.
    void valueChanged (float newValue) override;

    // The text goes back to the slider and the host as the current value, so that a box
    // into which "nan" was typed shows the old value again.
    float getValueForText (const juce::String& text) const override;

    std::atomic<float> lastNumber { get() };
};
