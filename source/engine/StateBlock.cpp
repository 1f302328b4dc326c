#include "StateBlock.h"

#include <set>

namespace
{
const juce::Identifier idProperty { "id" };
const juce::Identifier valueProperty { "value" };

// JUCE's XML parser reads past the end of text that is not valid UTF-8.
bool holdsValidUtf8Text (const void* data, int sizeInBytes)
{
    if (sizeInBytes <= 8)
        return false;

    const auto length = (int) juce::ByteOrder::littleEndianInt (juce::addBytesToPointer (data, 4));
    return length > 0
           && juce::CharPointer_UTF8::isValidString (static_cast<const char*> (data) + 8, juce::jmin (sizeInBytes - 8, length));
}

// XML forbids it, and JUCE keeps both: the parameter would take the first value and a save write the last.
bool repeatsAnAttribute (const juce::XmlElement& element)
{
    std::set<juce::String> names;

    for (int i = 0; i < element.getNumAttributes(); ++i)
        if (! names.insert (element.getAttributeName (i)).second)
            return true;

    for (const auto* child : element.getChildIterator())
        if (repeatsAnAttribute (*child))
            return true;

    return false;
}
} // namespace

std::unique_ptr<juce::XmlElement> readStateBlock (const void* data,
                                                  int sizeInBytes,
                                                  const juce::AudioProcessorValueTreeState& tree)
{
    if (! holdsValidUtf8Text (data, sizeInBytes))
        return {};

    auto xml = juce::AudioProcessor::getXmlFromBinary (data, sizeInBytes);

    if (xml == nullptr || repeatsAnAttribute (*xml))
        return {};

    // JUCE reads "nan" as a number and would hand it to the parameter; like any other
    // text that is not a number it reads as 0.
    for (auto* child : xml->getChildIterator())
        if (tree.getParameter (child->getStringAttribute (idProperty)) != nullptr
            && std::isnan (child->getDoubleAttribute (valueProperty)))
            child->setAttribute (valueProperty, 0.0);

    return xml;
}
