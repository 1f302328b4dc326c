#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The knobs' look: a shadowed disc whose body runs from white to navy with the
// value (maroon, white, navy for a knob drawn from the middle), a cream track,
// a black pointer and the value arc. Everything else is LookAndFeel_V4's.
class RotaryKnobLookAndFeel : public juce::LookAndFeel_V4
{
public:
    RotaryKnobLookAndFeel();
    ~RotaryKnobLookAndFeel() override;

    void drawRotarySlider (juce::Graphics&,
                           int x,
                           int y,
                           int width,
                           int height,
                           float sliderPos,
                           float rotaryStartAngle,
                           float rotaryEndAngle,
                           juce::Slider&) override;

private:
    juce::DropShadow dropShadow;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (RotaryKnobLookAndFeel)
};
