#include "engine/SaturatorAudioProcessor.h"
#include "engine/StateBlock.h"

#include <iostream>

// Writes the state fuzzer's seeds: the blocks our own engine saves, blocks that it
// accepts in spite of oddities, and the kinds of block that it must ignore.
namespace
{
// Magic, length, text and a zero byte, without parsing the text: some seeds are not XML.
juce::MemoryBlock blockFromText (const juce::String& xmlText)
{
    juce::MemoryOutputStream out;
    out.write ("VC2!", 4);
    out.writeInt ((int) xmlText.getNumBytesAsUTF8());
    out << xmlText;
    out.writeByte (0);
    return out.getMemoryBlock();
}

juce::MemoryBlock withLengthField (juce::MemoryBlock block, juce::uint32 length)
{
    block.copyFrom (&length, 4, sizeof (length));
    return block;
}

juce::MemoryBlock resized (juce::MemoryBlock block, size_t size)
{
    block.setSize (size, true);
    return block;
}

// A "mix" child with elements nested below it, down to the given depth, the root counting as one.
juce::MemoryBlock nestedBlock (int depth)
{
    juce::String inner;

    for (int level = 3; level <= depth; ++level)
        inner = "<x a=\"" + juce::String (level) + "\">" + inner + "</x>";

    return blockFromText ("<Parameters><PARAM id=\"mix\" value=\"40.0\">" + inner + "</PARAM></Parameters>");
}
} // namespace

int main (int argc, char** argv)
{
    if (argc != 2)
    {
        std::cerr << "usage: KrelStateSeeds <corpus directory>\n";
        return 2;
    }

    const juce::ScopedJuceInitialiser_GUI juceInitialiser;
    const juce::File directory (juce::File::getCurrentWorkingDirectory().getChildFile (argv[1]));

    if (! directory.createDirectory())
        return 1;

    SaturatorAudioProcessor engine;
    juce::MemoryBlock fresh;
    engine.getStateInformation (fresh);

    for (auto [id, value] : { std::pair { "drive", 50.5f }, { "crush", 12.3f }, { "output", -29.9f }, { "mix", 0.0f } })
        if (auto* parameter = engine.parameterTree.getParameter (id))
            parameter->setValueNotifyingHost (parameter->convertTo0to1 (value));

    juce::MemoryBlock changed;
    engine.getStateInformation (changed);

    auto wrongMagic = fresh;
    wrongMagic[0] = 'X';

    const std::pair<const char*, juce::MemoryBlock> seeds[] {
        { "fresh", fresh },
        { "changed", changed },
        { "lower-case-root", blockFromText ("<parameters><PARAM id=\"drive\" value=\"10.0\"/></parameters>") },
        { "capital-root", blockFromText ("<PARAMETERS><PARAM id=\"mix\" value=\"40.0\"/></PARAMETERS>") },
        { "other-root", blockFromText ("<Settings><PARAM id=\"drive\" value=\"10.0\"/></Settings>") },
        { "root-alone", blockFromText ("<Parameters/>") },
        { "mix-without-value", blockFromText ("<Parameters><PARAM id=\"mix\"/></Parameters>") },
        { "out-of-range-and-off-step",
          blockFromText ("<Parameters><PARAM id=\"output\" value=\"45.0\"/><PARAM id=\"drive\" value=\"12.34\"/>"
                         "<PARAM id=\"crush\" value=\"loud\"/><PARAM id=\"mix\" value=\"-1e400\"/></Parameters>") },
        { "duplicates-and-strangers",
          blockFromText ("<Parameters extra=\"1\"><PARAM id=\"drive\" value=\"1.0\"/><PARAM id=\"drive\" value=\"2.0\"/>"
                         "<PARAM id=\"tone\" value=\"3.0\"/><Other id=\"crush\" value=\"4.0\" note=\"x\"/></Parameters>") },
        { "instruction-before-text", blockFromText ("<Parameters><PARAM id=\"mix\" value=\"40.0\"/><?x?>a</Parameters>") },
        { "nested-to-the-limit", nestedBlock (maximumStateDepth) },
        { "nested-past-the-limit", nestedBlock (maximumStateDepth + 1) },
        { "document-type", blockFromText ("<!DOCTYPE Parameters [<!ENTITY v \"40.0\">]><Parameters><PARAM id=\"mix\" value=\"&v;\"/></Parameters>") },
        { "too-short", resized (fresh, 8) },
        { "wrong-magic", wrongMagic },
        { "zero-length", withLengthField (fresh, 0) },
        { "top-bit-length", withLengthField (fresh, 0x800000bd) },
        { "length-beyond-data", withLengthField (fresh, 4096) },
        { "without-trailing-zero", resized (fresh, fresh.getSize() - 1) },
        { "trailing-bytes", resized (fresh, fresh.getSize() + 16) },
    };

    for (const auto& [name, block] : seeds)
        if (! directory.getChildFile (name).replaceWithData (block.getData(), block.getSize()))
            return 1;

    return 0;
}
