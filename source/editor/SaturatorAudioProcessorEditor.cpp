#include "SaturatorAudioProcessorEditor.h"

#include "engine/SaturatorAudioProcessor.h"
#include "shared/Look.h"
#include "shared/ParameterIds.h"

namespace
{
constexpr int levelTimerIntervalMs = 33;
constexpr float titleFontHeight = 38.0f;
constexpr float titleKerning = 0.05f;
constexpr float captionFontHeight = 14.0f;

void drawCaption (juce::Graphics& g, const juce::String& text, const juce::Component& meter)
{
    g.drawText (text, meter.getX() + 18, meter.getY() - 15, meter.getWidth(), 20, juce::Justification::centred, true);
}
} // namespace

SaturatorAudioProcessorEditor::SaturatorAudioProcessorEditor (SaturatorAudioProcessor& engine)
    : AudioProcessorEditor (engine), audioProcessor (engine), driveKnob ("Spark", engine.parameterTree, driveParameterId, false), crushKnob ("Arc", engine.parameterTree, crushParameterId, false), outputKnob ("Output Gain", engine.parameterTree, outputParameterId, true), mixKnob ("Charge", engine.parameterTree, mixParameterId, false)
{
    titleLabel.setText (titleString, juce::dontSendNotification);
    // JUCE 8 deprecates this constructor, yet it is the one that keeps JUCE's legacy typeface
    // metrics, which the editor's text is laid out with.
    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")
    titleLabel.setFont (juce::Font (titleFontHeight, juce::Font::bold).withExtraKerningFactor (titleKerning));
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE
    titleLabel.setColour (juce::Label::textColourId, creamColour);
    titleLabel.setJustificationType (juce::Justification::centredTop);

    addAndMakeVisible (titleLabel);
    addAndMakeVisible (driveKnob);
    addAndMakeVisible (crushKnob);
    addAndMakeVisible (outputKnob);
    addAndMakeVisible (mixKnob);
    addAndMakeVisible (inputMeter);
    addAndMakeVisible (outputMeter);

    startTimer (levelTimerIntervalMs);
    setSize (editorWidth, editorHeight);

    // Added last, so it sits on top of everything else.
    addAndMakeVisible (oversamplingButton);
    oversamplingButton.setClickingTogglesState (true);
    oversamplingButton.setColour (juce::TextButton::buttonColourId, juce::Colours::transparentBlack);
    oversamplingButton.setColour (juce::TextButton::textColourOffId, juce::Colours::black);
    oversamplingButton.setColour (juce::TextButton::textColourOnId, juce::Colours::limegreen);

    // Starts off in every new editor, whatever the engine runs: the first click switches it on again.
    oversamplingButton.onClick = [this]
    { audioProcessor.setOversamplingEnabled (oversamplingButton.getToggleState()); };
}

SaturatorAudioProcessorEditor::~SaturatorAudioProcessorEditor() = default;

void SaturatorAudioProcessorEditor::paint (juce::Graphics& g)
{
    g.fillAll (backgroundColour);

    // Sized from the fixed window size, not from the component's.
    g.setColour (frameColour);
    g.fillRect (3, 3, editorWidth - 6, editorHeight - 6);
    g.setColour (panelColour);
    g.fillRect (6, 6, editorWidth - 12, editorHeight - 12);

    g.setColour (creamColour);
    // Legacy typeface metrics, as for the title.
    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")
    g.setFont (juce::Font (captionFontHeight, juce::Font::bold));
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE
    drawCaption (g, "IN", inputMeter);
    drawCaption (g, "OUT", outputMeter);
}

void SaturatorAudioProcessorEditor::resized()
{
    const auto width = getWidth();
    const auto height = getHeight();
    const auto centreX = width / 2;

    inputMeter.setBounds (centreX - 73, 88, 53, 195);
    outputMeter.setBounds (centreX - 13, 88, 53, 195);
    oversamplingButton.setBounds (centreX - 25, height - 60, 50, 40);

    titleLabel.setBounds (getLocalBounds().removeFromTop (100).reduced (0, 20));
    titleLabel.setJustificationType (juce::Justification::centredTop);

    // Every knob gives itself the same size; the first one's places all four.
    const auto knobWidth = driveKnob.getWidth();
    const auto knobHeight = driveKnob.getHeight();
    const auto leftX = centreX - (knobWidth / 2) - (knobWidth / 2) - 11;
    const auto rightX = centreX + 29;
    const auto topY = height / 2 - knobHeight + 85;
    const auto bottomY = height / 2 + 115;

    driveKnob.setBounds (leftX, topY, knobWidth, knobHeight);
    crushKnob.setBounds (rightX, topY, knobWidth, knobHeight);
    outputKnob.setBounds (leftX, bottomY, knobWidth, knobHeight);
    mixKnob.setBounds (rightX, bottomY, knobWidth, knobHeight);
}

void SaturatorAudioProcessorEditor::timerCallback()
{
    inputMeter.setLevels (audioProcessor.inputRmsLevel.load(), audioProcessor.inputPeakLevel.load());
    outputMeter.setLevels (audioProcessor.outputRmsLevel.load(), audioProcessor.outputPeakLevel.load());
}
