#include "RotaryKnobLookAndFeel.h"

#include "shared/Look.h"

namespace
{
constexpr float knobMargin = 10.0f;
constexpr float ringWidth = 2.0f;
constexpr float arcInset = 1.5f;
constexpr float strokeThickness = 3.0f;
constexpr float pointerStartRadius = 10.0f;

// The value's linear place in its range; the skew moves the pointer, not the colour.
float valueFraction (const juce::Slider& slider)
{
    return (float) ((slider.getValue() - slider.getMinimum()) / (slider.getMaximum() - slider.getMinimum()));
}

juce::Colour bodyColourFor (float t, bool fromMiddle)
{
    const auto white = juce::Colours::white;

    if (! fromMiddle)
        return white.interpolatedWith (juce::Colours::navy, t);

    if (t < 0.5f)
        return white.interpolatedWith (juce::Colours::maroon, 1.0f - (t + t));

    return white.interpolatedWith (juce::Colours::navy, (t - 0.5f) + (t - 0.5f));
}
} // namespace

RotaryKnobLookAndFeel::RotaryKnobLookAndFeel()
    : dropShadow (knobShadowColour, 6, { 0, 3 })
{
    setColour (juce::Label::textColourId, creamColour);
    setColour (juce::Slider::textBoxTextColourId, creamColour);
    setColour (juce::Slider::rotarySliderFillColourId, valueArcColour);
    setColour (juce::Slider::textBoxOutlineColourId, juce::Colours::transparentBlack);
}

RotaryKnobLookAndFeel::~RotaryKnobLookAndFeel() = default;

void RotaryKnobLookAndFeel::drawRotarySlider (juce::Graphics& g,
                                              int x,
                                              int y,
                                              int width,
                                              int /*height*/,
                                              float sliderPos,
                                              float rotaryStartAngle,
                                              float rotaryEndAngle,
                                              juce::Slider& slider)
{
    // Every size follows the width: the knob is the square at the area's top.
    const auto w = (float) width;
    const auto bounds = juce::Rectangle<float> ((float) x, (float) y, w, w).reduced (knobMargin);

    juce::Path shadow;
    shadow.addEllipse (bounds);
    dropShadow.drawForPath (g, shadow);

    g.setColour (knobRingColour);
    g.fillEllipse (bounds);

    const auto inner = bounds.reduced (ringWidth);
    const auto fromMiddle = (bool) slider.getProperties()["drawsFromMid"];
    const auto body = bodyColourFor (valueFraction (slider), fromMiddle);

    g.setGradientFill (juce::ColourGradient (body, 0.0f, inner.getY(), body.darker (0.5f), 0.0f, inner.getBottom(), false));
    g.fillEllipse (inner);

    const auto half = w * 0.5f;
    const juce::Point<float> centre { (float) x + half, (float) y + half };
    const auto arcRadius = half - arcInset;
    const juce::PathStrokeType stroke { strokeThickness, juce::PathStrokeType::curved, juce::PathStrokeType::rounded };

    juce::Path track;
    track.addCentredArc (centre.x, centre.y, arcRadius, arcRadius, 0.0f, rotaryStartAngle, rotaryEndAngle, true);
    g.setColour (trackColour);
    g.strokePath (track, stroke);

    const auto angle = (rotaryEndAngle - rotaryStartAngle) * sliderPos + rotaryStartAngle;
    const auto pointerEndRadius = inner.getWidth() * 0.5f - arcInset;
    juce::Path pointer;
    pointer.startNewSubPath (centre.getPointOnCircumference (pointerStartRadius, angle));
    pointer.lineTo (centre.getPointOnCircumference (pointerEndRadius, angle));
    g.setColour (pointerColour);
    g.strokePath (pointer, stroke);

    if (! slider.isEnabled())
        return;

    // A plain knob at its minimum shows no arc at all, not even the caps of an empty one.
    if (! fromMiddle && slider.getValue() == slider.getMinimum())
        return;

    const auto from = fromMiddle ? (rotaryEndAngle - rotaryStartAngle) * 0.5f + rotaryStartAngle : rotaryStartAngle;
    juce::Path valueArc;
    valueArc.addCentredArc (centre.x, centre.y, arcRadius, arcRadius, 0.0f, from, angle, true);
    g.setColour (slider.findColour (juce::Slider::rotarySliderFillColourId));
    g.strokePath (valueArc, stroke);
}
