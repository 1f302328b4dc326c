#include "LevelMeterTest.h"
#include "Pixels.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
constexpr float tolerance = 1.0e-4f;
const auto panelColour = juce::Colour (0x99000000);
const auto transparent = juce::Colour (0x00000000);
const auto red = juce::Colour (0xFFFF0000);
const auto yellow = juce::Colour (0xFFFFFF00);
const auto green = juce::Colour (0xFF32CD32);
const auto white = juce::Colour (0xFFFFFFFF);
const auto scaleInk = juce::Colour (0xD9FFFFFF);
} // namespace

TEST_F (LevelMeterTest, StartsEmptyAtTheFloor)
{
    EXPECT_EQ (rmsLevel (meter), -48.0f);
    EXPECT_EQ (peakLevel (meter), -48.0f);
    EXPECT_EQ (displayedRms (meter), -48.0f);
    EXPECT_EQ (displayedPeak (meter), -48.0f);
    EXPECT_EQ (peakHoldRemaining (meter), 0.0f);
}

TEST_F (LevelMeterTest, SetLevelsLimitsToTheDisplayRangeAndLeavesTheDisplayToTheNextTick)
{
    struct Case
    {
        float rms, peak, storedRms, storedPeak;
    };

    const Case cases[] {
        { -100.0f, -100.0f, -48.0f, -48.0f },
        { 12.0f, 7.0f, 6.0f, 6.0f },
        { -20.0f, -3.0f, -20.0f, -3.0f },
        { 6.0f, -48.0f, 6.0f, -48.0f },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << "rms " << c.rms << ", peak " << c.peak);
        LevelMeter fresh;
        fresh.setLevels (c.rms, c.peak);

        EXPECT_EQ (rmsLevel (fresh), c.storedRms);
        EXPECT_EQ (peakLevel (fresh), c.storedPeak);
        EXPECT_EQ (displayedRms (fresh), -48.0f);
        EXPECT_EQ (displayedPeak (fresh), -48.0f);

        tick (fresh);
        EXPECT_EQ (displayedRms (fresh), c.storedRms);
        EXPECT_EQ (displayedPeak (fresh), c.storedPeak);
    }
}

TEST_F (LevelMeterTest, BarRisesAtOnceThenFallsNineTenthsOfADecibelPerTickDownToTheReading)
{
    struct Case
    {
        float reading;
        int tickThatReachesIt;
    };

    for (const auto c : { Case { -48.0f, 54 }, Case { -20.0f, 23 } })
    {
        SCOPED_TRACE (testing::Message() << "falling to " << c.reading);
        LevelMeter fresh;
        fresh.setLevels (0.0f, -48.0f);
        tick (fresh);
        ASSERT_EQ (displayedRms (fresh), 0.0f);

        fresh.setLevels (c.reading, -48.0f);

        for (int n = 1; n < c.tickThatReachesIt; ++n)
        {
            tick (fresh);
            ASSERT_NEAR (displayedRms (fresh), -0.9f * (float) n, tolerance) << "tick " << n;
            ASSERT_GT (displayedRms (fresh), c.reading) << "tick " << n;
        }

        for (int n = c.tickThatReachesIt; n < c.tickThatReachesIt + 5; ++n)
        {
            tick (fresh);
            ASSERT_EQ (displayedRms (fresh), c.reading) << "tick " << n;
        }
    }
}

TEST_F (LevelMeterTest, PeakMarkerJumpsHoldsForFiveTicksThenFallsTwoDecibelsPerTick)
{
    struct Case
    {
        const char* name;
        std::vector<float> readings; // one per tick
        std::vector<float> shown;
    };

    const auto repeated = [] (float value, int count)
    { return std::vector<float> ((size_t) count, value); };
    const auto join = [] (std::initializer_list<std::vector<float>> parts)
    {
        std::vector<float> all;
        for (const auto& part : parts)
            all.insert (all.end(), part.begin(), part.end());
        return all;
    };

    std::vector<float> fallFromMinusTen;
    for (int n = 1; n <= 19; ++n)
        fallFromMinusTen.push_back (-10.0f - 2.0f * (float) n);

    const Case cases[] {
        { "a single -10 peak falls to the floor nineteen ticks after its hold",
          join ({ { -10.0f }, repeated (-48.0f, 25) }),
          join ({ repeated (-10.0f, 6), fallFromMinusTen, { -48.0f } }) },
        // An equal reading must not restart the hold, or the marker would never fall.
        { "a steady peak cycles every seven ticks",
          repeated (-30.0f, 15),
          join ({ repeated (-30.0f, 6), { -32.0f }, repeated (-30.0f, 6), { -32.0f }, { -30.0f } }) },
        { "a steady -46 dips to the floor",
          repeated (-46.0f, 8),
          join ({ repeated (-46.0f, 6), { -48.0f }, { -46.0f } }) },
        { "a steady -47 dips no lower than the floor",
          repeated (-47.0f, 8),
          join ({ repeated (-47.0f, 6), { -48.0f }, { -47.0f } }) },
        { "a higher reading during the hold restarts it",
          join ({ repeated (-20.0f, 2), repeated (-10.0f, 7) }),
          join ({ repeated (-20.0f, 2), repeated (-10.0f, 6), { -12.0f } }) },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        ASSERT_EQ (c.readings.size(), c.shown.size());
        LevelMeter fresh;

        for (size_t n = 0; n < c.readings.size(); ++n)
        {
            fresh.setLevels (-48.0f, c.readings[n]);
            tick (fresh);
            ASSERT_NEAR (displayedPeak (fresh), c.shown[n], tolerance) << "tick " << n + 1;
        }
    }
}

TEST_F (LevelMeterTest, BarColourChangesAtZeroAndMinusSixDecibels)
{
    struct Case
    {
        float level;
        juce::Colour colour;
    };

    const Case cases[] {
        { 3.0f, red },
        { 0.0f, red },
        { -0.1f, yellow },
        { -6.0f, yellow },
        { -6.1f, green },
        { -30.0f, green },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << c.level << " dB");
        LevelMeter fresh;
        fresh.setSize (53, 195);
        fresh.setLevels (c.level, -48.0f);
        tick (fresh);
        EXPECT_EQ (argbAt (snapshotOf (fresh), 45, 170), argbOf (c.colour));
    }
}

TEST_F (LevelMeterTest, FullBarFillsThePanelToItsTop)
{
    showLevels (12.0f, -48.0f);
    const auto image = snapshotOf (meter, 10.0f);

    // The +6 tick line covers the panel's top edge, rows 95 to 105 at this scale.
    EXPECT_EQ (argbAt (image, 450, 107), argbOf (red));
    EXPECT_EQ (argbAt (image, 450, 93), argbOf (transparent));
}

TEST_F (LevelMeterTest, PanelSitsRightOfTheScaleAndTheMarkerShowsThePeak)
{
    // -30 dB puts the marker at y = 126.67, covering row 126 fully.
    showLevels (-48.0f, -30.0f);
    const auto image = snapshotOf (meter);

    EXPECT_EQ (argbAt (image, 38, 150), argbOf (panelColour));
    EXPECT_EQ (argbAt (image, 51, 150), argbOf (panelColour));
    EXPECT_EQ (argbAt (image, 45, 150), argbOf (panelColour));
    EXPECT_EQ (argbAt (image, 37, 150), argbOf (transparent));
    EXPECT_EQ (argbAt (image, 45, 186), argbOf (transparent));

    EXPECT_EQ (argbAt (image, 45, 126), argbOf (white));
    EXPECT_EQ (argbAt (image, 45, 122), argbOf (panelColour));
    EXPECT_EQ (argbAt (image, 45, 131), argbOf (panelColour));
}

TEST_F (LevelMeterTest, ScaleTicksAndLabelsStandAtTheirLevels)
{
    // Marker away from every tick, bar empty; at ten times the size a tick covers ten rows.
    showLevels (-48.0f, -36.0f);
    const auto image = snapshotOf (meter, 10.0f);

    const auto isTick = [&image] (int row)
    {
        const auto pixel = image.getPixelAt (450, row);
        return pixel.getFloatAlpha() > 0.8f && pixel.getBrightness() > 0.8f;
    };

    const auto hasInk = [&image] (int fromRow, int toRow)
    {
        for (int row = fromRow; row < toRow; ++row)
            for (int x = 0; x < 340; ++x)
                if (image.getPixelAt (x, row).getAlpha() > 0)
                    return true;

        return false;
    };

    struct Tick
    {
        float y;
        int labelTop;
    };

    for (const auto t : { Tick { 185.0f, 176 }, Tick { 107.2f, 98 }, Tick { 68.3f, 59 }, Tick { 29.4f, 20 }, Tick { 10.0f, 1 } })
    {
        SCOPED_TRACE (testing::Message() << "tick at " << t.y);
        const auto row = juce::roundToInt (t.y * 10.0f);
        EXPECT_TRUE (isTick (row));
        EXPECT_FALSE (isTick (row - 8));
        EXPECT_FALSE (isTick (row + 8));
        EXPECT_TRUE (hasInk (t.labelTop * 10, (t.labelTop + 16) * 10));
    }

    // Labels end four pixels left of the panel.
    for (int row = 0; row < image.getHeight(); ++row)
        for (int x = 350; x < 380; ++x)
            ASSERT_EQ (image.getPixelAt (x, row).getAlpha(), 0) << x << ", " << row;
}

// Each label is right-aligned in a 16-pixel-high box that starts 9 pixels above its tick, and
// centred in it from top to bottom.
TEST_F (LevelMeterTest, LabelsAreCentredInTheirBoxesBesideTheirTicks)
{
    showLevels (-48.0f, -48.0f);

    struct Label
    {
        const char* text;
        int boxTop;
    };

    for (const auto l : { Label { "-48", 176 }, Label { "-24", 98 }, Label { "-12", 59 }, Label { "0", 20 }, Label { "+6", 1 } })
    {
        SCOPED_TRACE (l.text);
        const juce::Rectangle<int> box { 0, l.boxTop, 34, 16 };
        EXPECT_NEAR (inkBounds (meter, box, transparent, scaleInk).getCentreY(), box.toFloat().getCentreY(), 0.6f);
    }
}
