#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <string>

// Renders a component the way JUCE paints it, without putting it on the desktop.
inline juce::Image snapshotOf (juce::Component& component, float scale = 1.0f)
{
    return component.createComponentSnapshot (component.getLocalBounds(), true, scale);
}

// ARGB as hex, so that a mismatch reads as two colours.
inline std::string argbAt (const juce::Image& image, int x, int y)
{
    return image.getPixelAt (x, y).toDisplayString (true).toStdString();
}

inline std::string argbOf (juce::Colour colour) { return colour.toDisplayString (true).toStdString(); }
