#pragma once

#include "editor/LevelMeter.h"

#include <gtest/gtest.h>

// The meter's friend: ticks it and reads its state, for its own tests and the editor's.
class LevelMeterTest : public ::testing::Test
{
public:
    static void tick (LevelMeter& meter) { meter.timerCallback(); }
    static float rmsLevel (const LevelMeter& meter) { return meter.rmsLevel; }
    static float peakLevel (const LevelMeter& meter) { return meter.peakLevel; }
    static float displayedRms (const LevelMeter& meter) { return meter.displayedRms; }
    static float displayedPeak (const LevelMeter& meter) { return meter.displayedPeak; }
    static float peakHoldRemaining (const LevelMeter& meter) { return meter.peakHoldRemaining; }

protected:
    // At the editor's meter size, one tick after the readings.
    void showLevels (float rmsDb, float peakDb)
    {
        meter.setSize (53, 195);
        meter.setLevels (rmsDb, peakDb);
        tick (meter);
    }

    LevelMeter meter;
};
