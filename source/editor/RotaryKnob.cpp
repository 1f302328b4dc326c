#include "RotaryKnob.h"

#include "RotaryKnobLookAndFeel.h"

namespace
{
constexpr int knobWidth = 120;
constexpr int knobHeight = 150;
constexpr int sliderWidth = 100;
constexpr int sliderHeight = 120;
constexpr int sliderTop = 24;
constexpr int textBoxWidth = 70;
constexpr int textBoxHeight = 16;
} // namespace

RotaryKnob::RotaryKnob (const juce::String& text,
                        juce::AudioProcessorValueTreeState& tree,
                        const juce::ParameterID& parameterId,
                        bool drawFromMiddle)
    : parameterAttachment (tree, parameterId.getParamID(), knobSlider)
{
    knobSlider.getProperties().set ("drawsFromMid", drawFromMiddle);
    knobSlider.setRotaryParameters (juce::MathConstants<float>::pi * 1.25f, juce::MathConstants<float>::pi * 2.75f, true);
    knobSlider.setSliderStyle (juce::Slider::RotaryHorizontalVerticalDrag);
    knobSlider.setTextBoxStyle (juce::Slider::TextBoxBelow, false, textBoxWidth, textBoxHeight);

    // Without a parameter the attachment binds nothing, and there is no unit to show.
    if (auto* parameter = tree.getParameter (parameterId.getParamID()))
    {
        knobSlider.setTextValueSuffix (" " + parameter->getLabel());

        // The attachment passes on the value that a parameter was told, also a NaN that the
        // parameter refused: the knob shows the value that the parameter holds instead.
        knobSlider.onValueChange = [this, parameter]
        {
            if (std::isnan (knobSlider.getValue()))
                knobSlider.setValue ((double) parameter->convertFrom0to1 (parameter->getValue()), juce::dontSendNotification);
        };
    }

    knobSlider.setBounds (0, 0, sliderWidth, sliderHeight);
    addAndMakeVisible (knobSlider);

    captionLabel.setText (text, juce::dontSendNotification);
    captionLabel.setJustificationType (juce::Justification::horizontallyCentred);
    captionLabel.setBorderSize (juce::BorderSize<int> (0));
    captionLabel.attachToComponent (&knobSlider, false);
    addAndMakeVisible (captionLabel);

    // One instance for every knob of every editor in the module; it outlives them all.
    static RotaryKnobLookAndFeel sharedLookAndFeel;
    setLookAndFeel (&sharedLookAndFeel);

    setSize (knobWidth, knobHeight);
}

RotaryKnob::~RotaryKnob() = default;

void RotaryKnob::resized() { knobSlider.setTopLeftPosition (0, sliderTop); }
