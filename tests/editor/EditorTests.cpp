#include "EditorParts.h"
#include "KnobParts.h"
#include "LevelMeterTest.h"
#include "MessageLoop.h"
#include "Pixels.h"
#include "shared/ParameterIds.h"

#include <gtest/gtest.h>

namespace
{
// A click as the user makes it: JUCE delivers it through the message loop.
void click (juce::Button& button)
{
    const auto stateBefore = button.getToggleState();
    button.triggerClick();
    ASSERT_TRUE (runMessageLoopUntil ([&]
                                      { return button.getToggleState() != stateBefore; }));
}

// The window's colours.
const juce::Colour background { 0xFF1D238C };
const juce::Colour panel { 0xFF1D238C };
const juce::Colour cream { 0xFFFCFBF4 };
const juce::Colour knobRing { 0xFFFFFAF5 };

bool hasInk (const juce::Image& image, juce::Rectangle<int> area, juce::Colour surround)
{
    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
            if (image.getPixelAt (x, y) != surround)
                return true;

    return false;
}
} // namespace

class EditorTest : public ::testing::Test
{
protected:
    EditorTest() { engine.prepareToPlay (48000.0, 512); }

    SaturatorAudioProcessor engine;
};

TEST_F (EditorTest, IsAFixedWindowWithItsChildrenInPlace)
{
    auto editor = openEditor (engine);
    EXPECT_EQ (editor->getBounds(), juce::Rectangle<int> (0, 0, 460, 700));
    EXPECT_FALSE (editor->isResizable());
    ASSERT_EQ (editor->getNumChildComponents(), 8);

    const std::pair<EditorChild, juce::Rectangle<int>> layout[] {
        { EditorChild::title, { 0, 20, 460, 60 } },
        { EditorChild::driveKnob, { 99, 285, 120, 150 } },
        { EditorChild::crushKnob, { 259, 285, 120, 150 } },
        { EditorChild::outputKnob, { 99, 465, 120, 150 } },
        { EditorChild::mixKnob, { 259, 465, 120, 150 } },
        { EditorChild::inputMeter, { 157, 88, 53, 195 } },
        { EditorChild::outputMeter, { 217, 88, 53, 195 } },
        { EditorChild::oversamplingButton, { 205, 640, 50, 40 } },
    };

    for (const auto& [index, bounds] : layout)
    {
        EXPECT_EQ (editor->getChildComponent ((int) index)->getBounds(), bounds) << "child " << (int) index;
        EXPECT_TRUE (editor->getChildComponent ((int) index)->isVisible()) << "child " << (int) index;
    }

    auto& titleLabel = child<juce::Label> (*editor, EditorChild::title);
    EXPECT_EQ (titleLabel.getText(), "KREL");
    // The constructor with legacy typeface metrics, deprecated by JUCE 8.
    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")
    EXPECT_EQ (titleLabel.getFont(), juce::Font (38.0f, juce::Font::bold).withExtraKerningFactor (0.05f));
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE
    EXPECT_EQ (titleLabel.findColour (juce::Label::textColourId), cream);
    EXPECT_EQ (titleLabel.getJustificationType(), juce::Justification (juce::Justification::centredTop));
}

TEST_F (EditorTest, EachKnobIsCaptionedAndBoundToItsParameter)
{
    struct Case
    {
        EditorChild index;
        const char* caption;
        const juce::ParameterID& id;
        bool fromMiddle;
        float value;
    };

    const Case cases[] {
        { EditorChild::driveKnob, "Spark", driveParameterId, false, 12.5f },
        { EditorChild::crushKnob, "Arc", crushParameterId, false, 33.3f },
        { EditorChild::outputKnob, "Output Gain", outputParameterId, true, -7.0f },
        { EditorChild::mixKnob, "Charge", mixParameterId, false, 64.0f },
    };

    auto editor = openEditor (engine);

    for (const auto& c : cases)
        setParameter (engine, c.id, c.value);

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.caption);
        auto& knob = child<RotaryKnob> (*editor, c.index);
        EXPECT_EQ (captionOf (knob).getText(), c.caption);
        EXPECT_EQ ((bool) sliderOf (knob).getProperties()["drawsFromMid"], c.fromMiddle);
        EXPECT_NEAR (sliderOf (knob).getValue(), c.value, 1.0e-3);
    }
}

TEST_F (EditorTest, MetersReceiveTheEngineLevelsLimitedToTheirRange)
{
    engine.inputRmsLevel = 12.0f;
    engine.inputPeakLevel = -100.0f;
    engine.outputRmsLevel = -20.0f;
    engine.outputPeakLevel = -3.0f;

    auto editor = openEditor (engine);
    auto& input = child<LevelMeter> (*editor, EditorChild::inputMeter);
    auto& output = child<LevelMeter> (*editor, EditorChild::outputMeter);

    ASSERT_TRUE (runMessageLoopUntil ([&]
                                      { return LevelMeterTest::rmsLevel (input) > -48.0f; }));
    EXPECT_EQ (LevelMeterTest::rmsLevel (input), 6.0f);
    EXPECT_EQ (LevelMeterTest::peakLevel (input), -48.0f);
    EXPECT_EQ (LevelMeterTest::rmsLevel (output), -20.0f);
    EXPECT_EQ (LevelMeterTest::peakLevel (output), -3.0f);
}

TEST_F (EditorTest, ButtonSwitchesOversamplingAndEveryNewEditorShowsItOff)
{
    auto first = openEditor (engine);
    auto& firstButton = child<juce::TextButton> (*first, EditorChild::oversamplingButton);
    EXPECT_EQ (firstButton.getButtonText(), "4x");
    EXPECT_EQ (firstButton.getName(), "4x");
    EXPECT_FALSE (firstButton.getToggleState());
    EXPECT_TRUE (firstButton.getClickingTogglesState());
    EXPECT_EQ (firstButton.findColour (juce::TextButton::buttonColourId), juce::Colour (0x00000000));
    EXPECT_EQ (firstButton.findColour (juce::TextButton::textColourOffId), juce::Colour (0xFF000000));
    EXPECT_EQ (firstButton.findColour (juce::TextButton::textColourOnId), juce::Colour (0xFF32CD32));
    EXPECT_FALSE (firstButton.isColourSpecified (juce::TextButton::buttonOnColourId));
    ASSERT_EQ (engine.getLatencySamples(), 0);

    click (firstButton);
    const auto latency = engine.getLatencySamples();
    EXPECT_GT (latency, 0);
    first.reset();

    // The engine stays on; the new editor does not ask it.
    auto second = openEditor (engine);
    auto& secondButton = child<juce::TextButton> (*second, EditorChild::oversamplingButton);
    EXPECT_FALSE (secondButton.getToggleState());
    EXPECT_EQ (engine.getLatencySamples(), latency);

    click (secondButton);
    EXPECT_EQ (engine.getLatencySamples(), latency);

    click (secondButton);
    EXPECT_EQ (engine.getLatencySamples(), 0);
}

TEST_F (EditorTest, PaintsAFrameInsideTheEdgeTheCaptionsAndItsChildren)
{
    auto editor = openEditor (engine);
    const auto image = snapshotOf (*editor);

    struct Sample
    {
        int x, y;
        juce::Colour colour;
    };

    const Sample samples[] {
        { 0, 0, background },
        { 2, 350, background },
        { 457, 697, background },
        { 3, 3, cream },
        { 5, 350, cream },
        { 230, 4, cream },
        { 456, 696, cream },
        { 6, 6, panel },
        { 453, 693, panel },
        { 30, 350, panel },
        { 99 + 11, 285 + 74, knobRing }, // the drive knob's ring, painted over the panel
    };

    for (const auto& s : samples)
        EXPECT_EQ (argbAt (image, s.x, s.y), argbOf (s.colour)) << s.x << ", " << s.y;

    // Glyph shapes differ between machines; that there is text where it belongs does not.
    EXPECT_TRUE (hasInk (image, { 0, 20, 460, 60 }, panel)) << "title";
    EXPECT_TRUE (hasInk (image, { 175, 73, 53, 15 }, panel)) << "IN";
    EXPECT_TRUE (hasInk (image, { 235, 73, 53, 15 }, panel)) << "OUT";
}

TEST_F (EditorTest, FrameKeepsTheFixedSizeWhateverTheComponentsSize)
{
    auto editor = openEditor (engine);
    editor->setSize (500, 800);
    const auto image = snapshotOf (*editor);

    EXPECT_EQ (argbAt (image, 456, 350), argbOf (cream));
    EXPECT_EQ (argbAt (image, 230, 696), argbOf (cream));
    EXPECT_EQ (argbAt (image, 496, 350), argbOf (background));
    EXPECT_EQ (argbAt (image, 230, 796), argbOf (background));
}

// Each caption is centred in a 20-pixel-high box 18 pixels right of its meter and 15 above it;
// the meters start at y 88, so the ink above that row is the caption's alone.
TEST_F (EditorTest, CaptionsAreCentredInTheirBoxesAboveTheMeters)
{
    struct Case
    {
        const char* text;
        juce::Rectangle<int> box;
    };

    auto editor = openEditor (engine);

    for (const auto& c : { Case { "IN", { 175, 73, 53, 20 } }, Case { "OUT", { 235, 73, 53, 20 } } })
    {
        SCOPED_TRACE (c.text);
        const auto centre = inkBounds (*editor, c.box.withBottom (88), panel, cream).getCentre();
        EXPECT_NEAR (centre.x, c.box.toFloat().getCentreX(), 0.6f);
        EXPECT_NEAR (centre.y, c.box.toFloat().getCentreY(), 0.6f);
    }
}

TEST_F (EditorTest, EditorsOfTwoEnginesComeAndGoInEitherOrder)
{
    SaturatorAudioProcessor other;
    other.prepareToPlay (44100.0, 256);

    for (const auto firstCreatedGoesFirst : { true, false })
    {
        SCOPED_TRACE (firstCreatedGoesFirst ? "first created goes first" : "last created goes first");
        auto a = openEditor (engine);
        auto b = openEditor (other);
        EXPECT_EQ (engine.getActiveEditor(), a.get());
        EXPECT_EQ (other.getActiveEditor(), b.get());

        // Let their timers run and paint both, as a host would.
        runMessageLoopUntil ([]
                             { return false; },
                             100);
        snapshotOf (*a);
        snapshotOf (*b);

        if (firstCreatedGoesFirst)
            a.reset();

        b.reset();
        a.reset();

        EXPECT_EQ (engine.getActiveEditor(), nullptr);
        EXPECT_EQ (other.getActiveEditor(), nullptr);
    }
}
