#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A vertical level meter: an RMS bar with instant rise and timed fall, a
// peak-hold marker and a dB scale from -48 to +6. It knows nothing of the
// engine; everything it shows arrives through setLevels.
class LevelMeter : public juce::Component,
                   private juce::Timer
{
public:
    LevelMeter();
    ~LevelMeter() override;

    void paint (juce::Graphics&) override;

    // Both levels in dB, limited to the display range; the next tick takes them up.
    void setLevels (float rmsDb, float peakDb);

private:
    void timerCallback() override;

    float peakLevel = -48.0f;
    float rmsLevel = -48.0f;
    float displayedRms = -48.0f;
    float displayedPeak = -48.0f;
    const float rmsDecayRate = 27.0f;
    const float peakDecayRate = 60.0f;
    const float peakHoldTime = 0.15f;
    float peakHoldRemaining = 0.0f;

    // Steps the ballistics tick by tick instead of waiting for the timer.
    friend class LevelMeterTest;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LevelMeter)
};
