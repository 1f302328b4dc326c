#include "KnobParts.h"
#include "Pixels.h"
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

// The knob's colours.
const juce::Colour cream { 0xFFFCFBF4 };
const juce::Colour black { 0xFF000000 };
const juce::Colour ring { 0xFFFFFAF5 };
const juce::Colour shadow { 0xFFC3BEB9 };
const juce::Colour white { 0xFFFFFFFF };
const juce::Colour navy { 0xFF000080 };
const juce::Colour maroon { 0xFF800000 };

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
        { "a fill colour on the slider colours its arc", driveParameterId, false, 50.0f, white.interpolatedWith (navy, 0.5f), juce::Colour (0xFFFF0000), juce::Colour (0xFFFF0000), cream, cream, true, juce::Colour (0xFFFF0000) },
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

        EXPECT_EQ (argbAt (image, 11, 74), argbOf (ring)) << "ring";

        const auto pointer = pointerPixel (slider);
        EXPECT_EQ (argbAt (image, pointer.x, pointer.y), argbOf (black)) << "pointer at " << pointer.toString();

        for (const auto& [pixel, colour] : { std::pair { arcStart, c.start },
                                             std::pair { arcUpperLeft, c.upperLeft },
                                             std::pair { arcUpperRight, c.upperRight },
                                             std::pair { arcEnd, c.end } })
            EXPECT_EQ (argbAt (image, pixel.x, pixel.y), argbOf (colour)) << "arc at its " << pixel.where;
    }
}

// Drive at 50 % points straight up: the pointer's 3-pixel stroke runs along x 48.5 to 51.5 from
// radius 10 to 36.5, its round caps 1.5 beyond. The ring covers radii 38 to 40; the shadow is
// the disc moved 3 pixels down and blurred, so below the disc it is half covered at y 117.
TEST_F (RotaryKnobLookAndFeelTest, PointerRingAndShadowLieAtTheirRadii)
{
    RotaryKnob knob { "Knob", engine.parameterTree, driveParameterId, false };
    setParameter (engine, driveParameterId, 50.0f);
    const auto image = snapshotOf (knob);
    const auto body = white.interpolatedWith (navy, 0.5f);

    struct Sample
    {
        const char* where;
        int x, y;
        juce::Colour colour;
        int tolerance;
    };

    const Sample samples[] {
        { "pointer, outside its start", 49, 66, bodyAt (body, 66), 4 },
        { "pointer, its start cap inside radius 10", 49, 64, black, 0 },
        { "pointer, just past its start", 49, 62, black, 0 },
        { "pointer, just short of its end", 49, 38, black, 0 },
        { "body, inside the ring", 12, 74, bodyAt (body, 74), 4 },
        { "ring, inner edge", 11, 74, ring, 0 },
        { "ring, outer edge", 10, 74, ring, 6 },
    };

    for (const auto& s : samples)
        EXPECT_LE (largestChannelDifference (image.getPixelAt (s.x, s.y), s.colour), s.tolerance)
            << s.where << ": " << argbAt (image, s.x, s.y) << " at " << s.x << ", " << s.y << ", expected " << argbOf (s.colour);

    // Down the middle below the disc, whose bottom is at y 114, the shadow fades out; the
    // half-covered point is found between pixel centres.
    std::vector<float> alphas;

    for (int y = 114; y < 126; ++y)
        alphas.push_back (image.getPixelAt (50, y).getFloatAlpha());

    float halfCovered = -1.0f;

    for (size_t i = 1; i < alphas.size() && halfCovered < 0.0f; ++i)
        if (alphas[i] < 0.5f && alphas[i - 1] >= 0.5f)
            halfCovered = 114.5f + (float) i - (0.5f - alphas[i]) / (alphas[i - 1] - alphas[i]);

    EXPECT_NEAR (halfCovered, 117.0f, 0.5f);

    const auto halfway = image.getPixelAt (50, juce::roundToInt (halfCovered));
    EXPECT_LE (largestChannelDifference (halfway.withAlpha (1.0f), shadow), 3) << argbOf (halfway);
}
