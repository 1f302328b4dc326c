#include "LevelMeter.h"

namespace
{
constexpr float minimumLevel = -48.0f;
constexpr float maximumLevel = 6.0f;

// Each tick advances the ballistics by a fixed step, however late the timer fires.
constexpr float tickSeconds = 1.0f / 30.0f;
constexpr int timerIntervalMs = 33;

constexpr float maximumScaleWidth = 38.0f;
constexpr float panelInset = 10.0f;
constexpr float panelCornerSize = 3.0f;
constexpr float peakMarkerThickness = 2.0f;
constexpr float tickThickness = 1.0f;
constexpr float scaleFontHeight = 13.5f;
constexpr int labelHeight = 16;
constexpr float labelRaise = 9.0f;
constexpr int labelGap = 4;
constexpr int tickLevels[] { -48, -24, -12, 0, 6 };

float limitToDisplay (float level) { return juce::jlimit (minimumLevel, maximumLevel, level); }

float positionOf (float level, juce::Rectangle<float> panel)
{
    const auto proportion = 1.0f - (limitToDisplay (level) - minimumLevel) / (maximumLevel - minimumLevel);
    return panel.getY() + proportion * panel.getHeight();
}

juce::Colour barColourFor (float level)
{
    if (level >= 0.0f)
        return juce::Colours::red;

    if (level >= -6.0f)
        return juce::Colours::yellow;

    return juce::Colours::limegreen;
}
} // namespace

LevelMeter::LevelMeter() { startTimer (timerIntervalMs); }

LevelMeter::~LevelMeter() = default;

void LevelMeter::setLevels (float rmsDb, float peakDb)
{
    rmsLevel = limitToDisplay (rmsDb);
    peakLevel = limitToDisplay (peakDb);
}

void LevelMeter::timerCallback()
{
    if (rmsLevel > displayedRms)
        displayedRms = rmsLevel;
    else
        displayedRms = juce::jmax (juce::jmax (rmsLevel, displayedRms - rmsDecayRate * tickSeconds), minimumLevel);

    if (peakLevel > displayedPeak)
    {
        peakHoldRemaining = peakHoldTime;
        displayedPeak = peakLevel;
    }
    else if (peakHoldRemaining > 0.0f)
    {
        peakHoldRemaining -= tickSeconds;
    }
    else
    {
        // Unlike the bar, the marker may fall below the current reading; it jumps back on the next tick.
        displayedPeak = juce::jmax (minimumLevel, displayedPeak - peakDecayRate * tickSeconds);
    }

    repaint();
}

void LevelMeter::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::transparentBlack);

    const auto width = (float) getWidth();
    const auto height = (float) getHeight();
    const auto scaleWidth = juce::jmin (width, maximumScaleWidth);
    const juce::Rectangle<float> panel { scaleWidth,
                                         panelInset,
                                         juce::jmax (width - scaleWidth, 0.0f),
                                         juce::jmax (height - 2.0f * panelInset, 0.0f) };

    g.setColour (juce::Colours::black.withAlpha (0.6f));
    g.fillRoundedRectangle (panel, panelCornerSize);

    const auto barTop = positionOf (displayedRms, panel);
    g.setColour (barColourFor (displayedRms));
    g.fillRect (juce::Rectangle<float> (panel.getX(), barTop, panel.getWidth(), juce::jmax (panel.getBottom() - barTop, 0.0f)));

    const auto markerY = positionOf (displayedPeak, panel);
    g.setColour (juce::Colours::white);
    g.drawLine (panel.getX(), markerY, panel.getRight(), markerY, peakMarkerThickness);

    // JUCE 8 deprecates this constructor, yet it is the one that keeps JUCE's legacy typeface
    // metrics, which the scale is laid out with.
    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")
    g.setFont (juce::Font (scaleFontHeight, juce::Font::bold));
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE
    g.setColour (juce::Colours::white.withAlpha (0.85f));

    for (const auto level : tickLevels)
    {
        const auto y = positionOf ((float) level, panel);
        g.drawLine (panel.getX(), y, panel.getRight(), y, tickThickness);

        const auto label = (level > 0 ? "+" : "") + juce::String (level);
        g.drawText (label,
                    juce::Rectangle<int> (0, (int) (y - labelRaise), (int) scaleWidth - labelGap, labelHeight),
                    juce::Justification::centredRight,
                    true);
    }
}
