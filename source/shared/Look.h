#pragma once

#include <juce_graphics/juce_graphics.h>

static const juce::String titleString { "KREL" };

// JUCE 7's Colour has no constexpr constructor, so these are built at load too.
static const juce::Colour backgroundColour { 0xFF1D238C };
static const juce::Colour panelColour { 0xFF1D238C };
static const juce::Colour creamColour { 0xFFFCFBF4 };
static const juce::Colour frameColour { creamColour };
static const juce::Colour trackColour { creamColour };
static const juce::Colour knobRingColour { 0xFFFFFAF5 };
static const juce::Colour knobShadowColour { 0xFFC3BEB9 };
static const juce::Colour valueArcColour { 0xFF000000 };
static const juce::Colour pointerColour { 0xFF000000 };
