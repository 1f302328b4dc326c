#pragma once

#include <juce_core/juce_core.h>

#include <string>

// Magic, 32-bit little-endian length, text, zero byte: the layout JUCE's binary XML uses.
inline juce::MemoryBlock blockFromText (const std::string& text)
{
    juce::MemoryOutputStream out;
    out.write ("VC2!", 4);
    out.writeInt ((int) text.size());
    out.write (text.data(), text.size());
    out.writeByte (0);
    return out.getMemoryBlock();
}
