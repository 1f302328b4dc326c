#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

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

// Where the text drawn in an area of a component lies, in the component's coordinates. It is
// measured on a rendering eight times the size, where each row's and column's strongest pixel,
// weighted by how far it has gone from the background towards the ink, tells how much of it an
// edge covers. Glyph shapes differ between fonts and renderers; where the text as a whole
// sits, to a fraction of a pixel, does not.
inline juce::Rectangle<float> inkBounds (juce::Component& component, juce::Rectangle<int> area, juce::Colour background, juce::Colour ink)
{
    constexpr float scale = 8.0f;
    const auto image = component.createComponentSnapshot (area, true, scale);

    const auto channels = [] (juce::Colour c)
    { return std::array<int, 4> { c.getAlpha(), c.getRed(), c.getGreen(), c.getBlue() }; };

    // The channel in which ink and background differ most.
    const auto from = channels (background);
    const auto to = channels (ink);
    size_t strongest = 0;

    for (size_t i = 1; i < 4; ++i)
        if (std::abs (to[i] - from[i]) > std::abs (to[strongest] - from[strongest]))
            strongest = i;

    std::vector<float> columns ((size_t) image.getWidth()), rows ((size_t) image.getHeight());

    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
        {
            const auto value = channels (image.getPixelAt (x, y))[strongest];
            const auto coverage = juce::jlimit (0.0f, 1.0f, (float) (value - from[strongest]) / (float) (to[strongest] - from[strongest]));
            columns[(size_t) x] = juce::jmax (columns[(size_t) x], coverage);
            rows[(size_t) y] = juce::jmax (rows[(size_t) y], coverage);
        }

    // From the first to the last line with ink, less what the outermost ones leave uncovered.
    const auto extent = [] (const std::vector<float>& lines)
    {
        const auto inked = [] (float c)
        { return c > 0.0f; };
        const auto first = std::find_if (lines.begin(), lines.end(), inked);
        const auto last = std::find_if (lines.rbegin(), lines.rend(), inked);

        if (first == lines.end())
            return juce::Range<float>();

        return juce::Range<float> ((float) (first - lines.begin()) + 1.0f - *first, (float) (lines.rend() - last) - 1.0f + *last);
    };

    const auto horizontal = extent (columns);
    const auto vertical = extent (rows);
    return juce::Rectangle<float> (horizontal.getStart(), vertical.getStart(), horizontal.getLength(), vertical.getLength()) / scale
           + area.getPosition().toFloat();
}
