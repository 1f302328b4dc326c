#include "KnobParts.h"
#include "MessageLoop.h"
#include "editor/RotaryKnobLookAndFeel.h"
#include "shared/ParameterIds.h"

#include <gtest/gtest.h>

#include <thread>

namespace
{
float parameterValue (SaturatorAudioProcessor& engine, const juce::ParameterID& id)
{
    return engine.parameterTree.getRawParameterValue (id.getParamID())->load();
}

bool near (double a, double b) { return std::abs (a - b) < 1.0e-3; }

juce::Rectangle<int> boundsInKnob (RotaryKnob& knob, juce::Component& child)
{
    return knob.getLocalArea (&child, child.getLocalBounds());
}
} // namespace

class RotaryKnobTest : public ::testing::Test
{
protected:
    SaturatorAudioProcessor engine;
};

TEST_F (RotaryKnobTest, LaysOutSliderCaptionAndTextBoxAndKeepsThemWhenMovedOrResized)
{
    RotaryKnob knob { "Spark", engine.parameterTree, driveParameterId, false };

    const auto expectLayout = [&knob]
    {
        EXPECT_EQ (knob.getNumChildComponents(), 2);
        EXPECT_EQ (sliderOf (knob).getBounds(), juce::Rectangle<int> (0, 24, 100, 120));
        EXPECT_EQ (captionOf (knob).getBounds(), juce::Rectangle<int> (0, 2, 100, 22));
        EXPECT_EQ (boundsInKnob (knob, textBoxOf (knob)), juce::Rectangle<int> (15, 128, 70, 16));
    };

    EXPECT_EQ (knob.getBounds(), juce::Rectangle<int> (0, 0, 120, 150));
    expectLayout();

    knob.setTopLeftPosition (99, 285);
    expectLayout();

    knob.setSize (200, 90);
    expectLayout();

    EXPECT_EQ (captionOf (knob).getText(), "Spark");
    EXPECT_EQ (captionOf (knob).getJustificationType(), juce::Justification (juce::Justification::horizontallyCentred));
    EXPECT_EQ (sliderOf (knob).getSliderStyle(), juce::Slider::RotaryHorizontalVerticalDrag);
    EXPECT_FLOAT_EQ (sliderOf (knob).getRotaryParameters().startAngleRadians, 3.926991f);
    EXPECT_FLOAT_EQ (sliderOf (knob).getRotaryParameters().endAngleRadians, 8.6393805f);
    EXPECT_TRUE (sliderOf (knob).getRotaryParameters().stopAtEnd);
}

TEST_F (RotaryKnobTest, EveryKnobTellsTheLookWhetherToDrawFromTheMiddle)
{
    for (const auto fromMiddle : { false, true })
    {
        RotaryKnob knob { "Output Gain", engine.parameterTree, outputParameterId, fromMiddle };
        const auto& properties = sliderOf (knob).getProperties();

        ASSERT_TRUE (properties.contains ("drawsFromMid"));
        EXPECT_TRUE (properties["drawsFromMid"].isBool());
        EXPECT_EQ ((bool) properties["drawsFromMid"], fromMiddle);
    }
}

TEST_F (RotaryKnobTest, KnobsOfEveryEngineShareOneLookThatColoursTheirText)
{
    SaturatorAudioProcessor otherEngine;
    RotaryKnob first { "Spark", engine.parameterTree, driveParameterId, false };
    RotaryKnob second { "Arc", otherEngine.parameterTree, crushParameterId, false };

    auto* look = dynamic_cast<RotaryKnobLookAndFeel*> (&first.getLookAndFeel());
    ASSERT_NE (look, nullptr);
    EXPECT_EQ (&second.getLookAndFeel(), look);
    EXPECT_EQ (&sliderOf (first).getLookAndFeel(), look);
    EXPECT_EQ (&captionOf (first).getLookAndFeel(), look);

    EXPECT_EQ (captionOf (first).findColour (juce::Label::textColourId), juce::Colour (0xFFFCFBF4));
    EXPECT_EQ (textBoxOf (first).findColour (juce::Label::textColourId), juce::Colour (0xFFFCFBF4));
    EXPECT_EQ (textBoxOf (first).findColour (juce::Label::outlineColourId), juce::Colour (0x00000000));
    EXPECT_EQ (sliderOf (first).findColour (juce::Slider::rotarySliderFillColourId), juce::Colour (0xFF000000));
}

TEST_F (RotaryKnobTest, TextBoxShowsTheValueWithItsUnitAndTypedValuesSetTheParameter)
{
    struct Case
    {
        const juce::ParameterID& id;
        const char* shown;
        const char* typed;
        float value;
        const char* shownAfterwards;
    };

    const Case cases[] {
        { driveParameterId, "0.0 %", "42", 42.0f, "42.0 %" },
        { crushParameterId, "0.0 %", "7.5 %", 7.5f, "7.5 %" },
        { outputParameterId, "0.0 dB", "-12.5", -12.5f, "-12.5 dB" },
        { mixParameterId, "100.0 %", "25", 25.0f, "25.0 %" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.id.getParamID());
        RotaryKnob knob { "Knob", engine.parameterTree, c.id, false };
        EXPECT_EQ (textBoxOf (knob).getText(), c.shown);
        EXPECT_TRUE (sliderOf (knob).isTextBoxEditable());

        // What the box hands on when the user commits typed text (its text editor
        // can only take the keyboard focus in a window on the screen).
        textBoxOf (knob).setText (c.typed, juce::sendNotificationSync);

        EXPECT_NEAR (parameterValue (engine, c.id), c.value, 1.0e-3);
        EXPECT_EQ (textBoxOf (knob).getText(), c.shownAfterwards);
    }
}

TEST_F (RotaryKnobTest, ParameterChangedOnAnotherThreadReachesTheSlider)
{
    RotaryKnob knob { "Charge", engine.parameterTree, mixParameterId, false };
    ASSERT_EQ (sliderOf (knob).getValue(), 100.0);

    std::thread host ([this]
                      { setParameter (engine, mixParameterId, 37.5f); });
    host.join();

    EXPECT_TRUE (runMessageLoopUntil ([&]
                                      { return near (sliderOf (knob).getValue(), 37.5); }))
        << "slider reads " << sliderOf (knob).getValue();
    EXPECT_EQ (textBoxOf (knob).getText(), "37.5 %");
}
