#include "StateBlock.h"

#include <algorithm>
#include <set>
#include <string_view>
#include <vector>

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

// The characters of element and attribute names in ASCII, as JUCE's parser reads them.
bool isNameCharacter (char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' || c == ':' || c == '.';
}

bool isDigit (char c, bool hex)
{
    return (c >= '0' && c <= '9') || (hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
}

// Whether the elements nest no deeper than maximumStateDepth, read in one pass as JUCE's
// parser reads them: comments, character data, closing tags and quoted attribute values
// open no level. What a pass this simple could read differently from JUCE is refused as
// well, so that no level can hide from it: a tag other than a name and name="value"
// attributes with ASCII spaces, an instruction past the declaration, or an entity that
// JUCE's parser would read past a quote or a tag. Neither our writer nor any block worth
// restoring has them.
bool nestsWithinLimit (std::string_view text)
{
    size_t i = 0;
    const auto at = [&] (std::string_view token)
    { return text.substr (i, token.size()) == token; };

    const auto skipPast = [&] (std::string_view end)
    {
        const auto position = text.find (end, i);
        i = position == std::string_view::npos ? text.size() : position + end.size();
    };

    const auto skipSpaces = [&]
    {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r'))
            ++i;
    };

    const auto skipName = [&]
    {
        const auto start = i;

        while (i < text.size() && isNameCharacter (text[i]))
            ++i;

        return i > start;
    };

    // From the ampersand. JUCE reads a named entity up to the next semicolon and a numeric one
    // in ways of its own, whatever lies between: none of that may be a quote or a tag.
    const auto skipEntity = [&] (char mustNotCover)
    {
        if (at ("&#x") || at ("&#"))
        {
            const auto hex = at ("&#x");
            i += hex ? 3 : 2;
            const auto start = i;

            while (i < text.size() && i - start < (hex ? 8u : 12u) && isDigit (text[i], hex))
                ++i;

            if (i == start || ! at (";"))
                return false;

            ++i;
            return true;
        }

        const auto end = text.find (';', i);

        if (end == std::string_view::npos || text.substr (i, end - i).find (mustNotCover) != std::string_view::npos)
            return false;

        i = end + 1;
        return true;
    };

    if (at ("<?"))
        skipPast ("?>");

    int depth = 0;

    while (i < text.size())
    {
        if (at ("&"))
        {
            if (! skipEntity ('<'))
                return false;
        }
        else if (! at ("<"))
            ++i;
        else if (at ("<!--"))
            skipPast ("-->");
        else if (at ("<![CDATA["))
            skipPast ("]]>");
        else if (at ("</"))
        {
            depth = juce::jmax (0, depth - 1);
            skipPast (">");
        }
        else
        {
            if (++depth > maximumStateDepth)
                return false;

            ++i;

            if (! skipName())
                return false;

            for (;;)
            {
                skipSpaces();

                if (at ("/>") || at (">"))
                {
                    depth -= at ("/>") ? 1 : 0;
                    skipPast (">");
                    break;
                }

                if (! skipName())
                    return false;

                skipSpaces();

                if (! at ("="))
                    return false;

                ++i;
                skipSpaces();

                if (! at ("\"") && ! at ("'"))
                    return false;

                const auto quote = text[i++];

                while (i < text.size() && text[i] != quote)
                    if (text[i] != '&')
                        ++i;
                    else if (! skipEntity (quote))
                        return false;

                if (i++ >= text.size())
                    return false;
            }
        }
    }

    return true;
}

// JUCE's XML parser reads past the end of text that is not valid UTF-8, expands the
// entities that a document type declaration defines (a few nested ones grow without bound)
// and loops for ever on a processing instruction followed by text inside an element. The
// engine's state has none of these; its one processing instruction is the declaration.
bool isSafeToParse (std::string_view text)
{
    if (! isWellFormedUtf8 (text) || ! nestsWithinLimit (text))
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

// JUCE's number reading adds the exponent up in an int, which overflows (undefined
// behaviour) on more digits than it holds. A double needs three at most.
bool hasOverlongExponent (const juce::String& number)
{
    constexpr int maximumExponentDigits = 9;
    const auto exponentStart = number.indexOfAnyOf ("eE");

    if (exponentStart < 0)
        return false;

    const auto digits = number.substring (exponentStart + 1).trimCharactersAtStart ("+-").trimCharactersAtStart ("0");
    return digits.initialSectionContainingOnly ("0123456789").length() > maximumExponentDigits;
}

// A parameter that the restored tree does not name keeps its value. Left to itself, JUCE
// would append a child without "value" for it, which resets it to its default, now or at
// the next restore of a save.
void addParametersNotNamedIn (juce::ValueTree& newState, const juce::AudioProcessorValueTreeState& tree)
{
    std::vector<juce::String> missing;

    for (auto* parameter : tree.processor.getParameters())
        if (const auto* ranged = dynamic_cast<const juce::RangedAudioParameter*> (parameter))
            if (! newState.getChildWithProperty (idProperty, ranged->paramID).isValid())
                missing.push_back (ranged->paramID);

    // In the order in which JUCE first creates the children.
    std::sort (missing.begin(), missing.end());

    for (const auto& id : missing)
    {
        const auto value = tree.getRawParameterValue (id)->load();
        newState.appendChild (juce::ValueTree ("PARAM", { { idProperty, id }, { valueProperty, (double) value } }), nullptr);
    }
}
} // namespace

juce::ValueTree readStateBlock (const void* data, int sizeInBytes, const juce::AudioProcessorValueTreeState& tree)
{
    if (! isSafeToParse (textOf (data, sizeInBytes)))
        return {};

    const auto xml = juce::AudioProcessor::getXmlFromBinary (data, sizeInBytes);

    // The same test as hasTagName, which would assert on the case-insensitive match it allows.
    if (xml == nullptr || ! xml->getTagName().equalsIgnoreCase (tree.state.getType().toString()) || repeatsAnAttribute (*xml))
        return {};

    for (auto* child : xml->getChildIterator())
    {
        if (tree.getParameter (child->getStringAttribute (idProperty)) == nullptr)
            continue;

        if (hasOverlongExponent (child->getStringAttribute (valueProperty)))
            return {};

        // JUCE reads "nan" as a number; like any other text that is not a number it reads as 0.
        if (std::isnan (child->getDoubleAttribute (valueProperty)))
            child->setAttribute (valueProperty, 0.0);
    }

    auto newState = juce::ValueTree::fromXml (*xml);
    addParametersNotNamedIn (newState, tree);
    return newState;
}
