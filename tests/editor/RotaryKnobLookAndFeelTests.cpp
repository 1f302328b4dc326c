#include "KnobParts.h"
#include "Pixels.h"
#include "shared/Look.h"
#include "shared/ParameterIds.h"

#include <gtest/gtest.h>

#include <optional>

// Pixels of a real knob, 120 x 150. Its dial is centred at (50, 74): the ring
// spans radii 38 to 40, the track and value arc radii 47 to 50. Each sampled
// pixel lies wholly inside the shape it checks.
namespace
{
constexpr float centreX = 50.0f;
constexpr float centreY = 74.0f;

struct ArcPixel
{
    const char* where;
    int x, y;
};

// At 225 degrees (the start), 315, 45 and 135 (the end), clockwise from twelve o'clock.
const ArcPixel arcStart { "start", 15, 108 };
const ArcPixel arcUpperLeft { "upper left", 15, 39 };
const ArcPixel arcUpperRight { "upper right", 84, 39 };
const ArcPixel arcEnd { "end", 84, 108 };

// Inside the body's disc, left of the centre, clear of every pointer angle tested.
constexpr int bodyX = 30;
constexpr int bodyY = 74;

int largestChannelDifference (juce::Colour a, juce::Colour b)
{
    return juce::jmax (std::abs (a.getRed() - b.getRed()),
                       std::abs (a.getGreen() - b.getGreen()),
                       std::abs (a.getBlue() - b.getBlue()),
                       std::abs (a.getAlpha() - b.getAlpha()));
}

// The body shades from its colour at the disc's top (y 36) to a darker one at its bottom (y 112).
juce::Colour bodyAt (juce::Colour colour, int y)
{
    return colour.interpolatedWith (colour.darker (0.5f), ((float) y + 0.5f - 36.0f) / 76.0f);
}

// The pixel 20 pixels out along the pointer, which runs from radius 10 to 36.5.
juce::Point<int> pointerPixel (juce::Slider& slider)
{
    const auto& rotary = slider.getRotaryParameters();
    const auto position = (float) slider.valueToProportionOfLength (slider.getValue());
    const auto angle = rotary.startAngleRadians + position * (rotary.endAngleRadians - rotary.startAngleRadians);
    return juce::Point<float> (centreX, centreY).getPointOnCircumference (20.0f, angle).toInt();
}
} // namespace

class RotaryKnobLookAndFeelTest : public ::testing::Test
{
protected:
    SaturatorAudioProcessor engine;
};

TEST_F (RotaryKnobLookAndFeelTest, BodyFollowsTheValueAndTheArcRunsFromStartOrMiddleToThePointer)
{
    const auto cream = trackColour;
    const auto black = valueArcColour;
    const auto white = juce::Colours::white;
    const auto navy = juce::Colours::navy;
    const auto maroon = juce::Colours::maroon;

    struct Case
    {
        const char* name;
        const juce::ParameterID& id;
        bool fromMiddle;
        float value;
        juce::Colour body;
        juce::Colour start, upperLeft, upperRight, end;
        bool enabled = true;
        std::optional<juce::Colour> fillOnSlider = {};
        bool withoutProperty = false;
    };

    const Case cases[] {
        { "plain at its minimum has no arc, not even a dot", driveParameterId, false, 0.0f, white, cream, cream, cream, cream },
        { "plain halfway", driveParameterId, false, 50.0f, white.interpolatedWith (navy, 0.5f), black, black, cream, cream },
        { "plain at its maximum", driveParameterId, false, 100.0f, navy, black, black, black, black },
        { "from the middle at its middle", outputParameterId, true, 0.0f, white, cream, cream, cream, cream },
        { "from the middle at its minimum", outputParameterId, true, -30.0f, maroon, black, black, cream, cream },
        { "from the middle below it", outputParameterId, true, -15.0f, white.interpolatedWith (maroon, 0.5f), cream, black, cream, cream },
        { "from the middle above it", outputParameterId, true, 15.0f, white.interpolatedWith (navy, 0.5f), cream, cream, black, cream },
        { "from the middle at its maximum", outputParameterId, true, 30.0f, navy, cream, cream, black, black },
        { "disabled shows no arc", driveParameterId, false, 50.0f, white.interpolatedWith (navy, 0.5f), cream, cream, cream, cream, false },
        { "a fill colour on the slider colours its arc", driveParameterId, false, 50.0f, white.interpolatedWith (navy, 0.5f), juce::Colours::red, juce::Colours::red, cream, cream, true, juce::Colours::red },
        { "without the property it draws plain", outputParameterId, true, 0.0f, white.interpolatedWith (navy, 0.5f), black, black, cream, cream, true, {}, true },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        RotaryKnob knob { "Knob", engine.parameterTree, c.id, c.fromMiddle };
        auto& slider = sliderOf (knob);
        setParameter (engine, c.id, c.value);
        ASSERT_FLOAT_EQ ((float) slider.getValue(), c.value);

        slider.setEnabled (c.enabled);

        if (c.fillOnSlider.has_value())
            slider.setColour (juce::Slider::rotarySliderFillColourId, *c.fillOnSlider);

        if (c.withoutProperty)
            slider.getProperties().remove ("drawsFromMid");

        const auto image = snapshotOf (knob);

        const auto body = image.getPixelAt (bodyX, bodyY);
        EXPECT_LE (largestChannelDifference (body, bodyAt (c.body, bodyY)), 4)
            << "body " << argbOf (body) << ", expected about " << argbOf (bodyAt (c.body, bodyY));

        EXPECT_EQ (argbAt (image, 11, 74), argbOf (knobRingColour)) << "ring";

        const auto pointer = pointerPixel (slider);
        EXPECT_EQ (argbAt (image, pointer.x, pointer.y), argbOf (pointerColour)) << "pointer at " << pointer.toString();

        for (const auto& [pixel, colour] : { std::pair { arcStart, c.start },
                                             std::pair { arcUpperLeft, c.upperLeft },
                                             std::pair { arcUpperRight, c.upperRight },
                                             std::pair { arcEnd, c.end } })
            EXPECT_EQ (argbAt (image, pixel.x, pixel.y), argbOf (colour)) << "arc at its " << pixel.where;
    }
}
