#include "StateBlock.h"

#include <set>
#include <string_view>

namespace
{
const juce::Identifier idProperty { "id" };
const juce::Identifier valueProperty { "value" };

// The text that JUCE's getXmlFromBinary parses: up to the length field or the data's end,
// and up to the first zero byte. Empty when the block has no text.
std::string_view textOf (const void* data, int sizeInBytes)
{
    if (sizeInBytes <= 8)
        return {};

    const auto length = (int) juce::ByteOrder::littleEndianInt (juce::addBytesToPointer (data, 4));

    if (length <= 0)
        return {};

    const std::string_view text { static_cast<const char*> (data) + 8, (size_t) juce::jmin (sizeInBytes - 8, length) };
    return text.substr (0, text.find ('\0'));
}

// Well-formed UTF-8 as Unicode defines it: no overlong forms, surrogates or values past
// U+10FFFF, which JUCE's own check lets through and its strings then change on the way.
bool isWellFormedUtf8 (std::string_view text)
{
    for (size_t i = 0; i < text.size();)
    {
        const auto lead = (unsigned char) text[i];
        const auto continuation = [&] (size_t offset, unsigned char low = 0x80, unsigned char high = 0xbf)
        {
            return i + offset < text.size() && (unsigned char) text[i + offset] >= low && (unsigned char) text[i + offset] <= high;
        };

        size_t length = 0;

        if (lead < 0x80)
            length = 1;
        else if (lead >= 0xc2 && lead <= 0xdf && continuation (1))
            length = 2;
        else if (lead >= 0xe0 && lead <= 0xef
                 && continuation (1, lead == 0xe0 ? 0xa0 : 0x80, lead == 0xed ? 0x9f : 0xbf) && continuation (2))
            length = 3;
        else if (lead >= 0xf0 && lead <= 0xf4
                 && continuation (1, lead == 0xf0 ? 0x90 : 0x80, lead == 0xf4 ? 0x8f : 0xbf) && continuation (2) && continuation (3))
            length = 4;
        else
            return false;

        i += length;
    }

    return true;
}

// JUCE's XML parser reads past the end of text that is not valid UTF-8, expands the
// entities that a document type declaration defines (a few nested ones grow without bound)
// and loops for ever on a processing instruction followed by text inside an element. The
// engine's state has none of these; its one processing instruction is the declaration.
bool isSafeToParse (std::string_view text)
{
    if (! isWellFormedUtf8 (text))
        return false;

    if (text.substr (0, 2) == "<?")
    {
        const auto declarationEnd = text.find ("?>");

        if (declarationEnd == std::string_view::npos)
            return false;

        text.remove_prefix (declarationEnd + 2);
    }

    return text.find ("<!DOCTYPE") == std::string_view::npos && text.find ("<?") == std::string_view::npos;
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
    if (! isSafeToParse (textOf (data, sizeInBytes)))
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
