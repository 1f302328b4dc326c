#include "BinaryStateText.h"
#include "engine/SaturatorAudioProcessor.h"
#include "engine/StateBlock.h"

#include <gtest/gtest.h>

#include <string>

// JUCE's parser recurses once per level of nesting, so a block nested deeper than the
// limit is refused before it is parsed: a damaged or hostile project must not take the
// host's stack, and the parameters and the next save stay as they were.
namespace
{
// The root, a "mix" child and below it elements to the given depth, the root counting as one;
// the deepest level may hold empty elements side by side.
std::string nestedText (int depth, const std::string& element = "x", int emptyElementsAtTheBottom = 0)
{
    std::string opening, closing;

    for (int level = 3; level < depth; ++level)
    {
        opening += "<" + element + ">";
        closing += "</" + element + ">";
    }

    std::string bottom;

    for (int i = 0; i < emptyElementsAtTheBottom; ++i)
        bottom += "<" + element + "/>";

    if (depth >= 3 && emptyElementsAtTheBottom == 0)
        bottom = "<" + element + "></" + element + ">";

    return R"(<?xml version="1.0" encoding="UTF-8"?> <Parameters><PARAM id="mix" value="25.0">)" + opening + bottom + closing
           + "</PARAM></Parameters>";
}

juce::MemoryBlock save (SaturatorAudioProcessor& engine)
{
    juce::MemoryBlock block;
    engine.getStateInformation (block);
    return block;
}

float mixOf (SaturatorAudioProcessor& engine) { return engine.parameterTree.getRawParameterValue ("mix")->load(); }

struct DepthCase
{
    const char* name;
    std::string text;
    bool accepted;
};

void PrintTo (const DepthCase& c, std::ostream* out) { *out << c.name; }

class NestedState : public ::testing::TestWithParam<DepthCase>
{
};

// Nothing that is not an element opens a level, and nothing but a closing tag ends one.
// Character data only where the block is refused: a value tree has no place for it.
std::string disguised (int depth, bool withCharacterData)
{
    std::string text;

    for (int level = 3; level <= depth; ++level)
        text += std::string ("<x a=\"</x>\" b='/>'><!-- </x> -->") + (withCharacterData ? "<![CDATA[</x>]]>" : "");

    for (int level = 3; level <= depth; ++level)
        text += "</x>";

    return R"(<Parameters><PARAM id="mix" value="25.0">)" + text + "</PARAM></Parameters>";
}

// Levels past the limit that a reading less careful than JUCE's would not see: behind a
// quote that JUCE does not read as one, or an entity that JUCE reads up to its semicolon.
std::string hidden (const std::string& before, const std::string& after)
{
    std::string levels;

    for (int level = 0; level <= maximumStateDepth; ++level)
        levels += "<x>";

    return "<Parameters>" + before + levels + after + "</Parameters>";
}
} // namespace

TEST_P (NestedState, IsAcceptedUpToTheLimitAndRefusedBeyond)
{
    SaturatorAudioProcessor engine;
    const auto before = save (engine);

    const auto block = blockFromText (GetParam().text);
    engine.setStateInformation (block.getData(), (int) block.getSize());

    if (GetParam().accepted)
    {
        EXPECT_EQ (mixOf (engine), 25.0f);
    }
    else
    {
        EXPECT_EQ (mixOf (engine), 100.0f);
        EXPECT_EQ (save (engine), before);
    }
}

INSTANTIATE_TEST_SUITE_P (Depths,
                          NestedState,
                          ::testing::Values (DepthCase { "EnginesOwnTwoLevels", nestedText (2), true },
                                             DepthCase { "AFewLevels", nestedText (5), true },
                                             DepthCase { "AtTheLimit", nestedText (maximumStateDepth), true },
                                             DepthCase { "EmptyElementsAtTheLimit", nestedText (maximumStateDepth, "x", 1000), true },
                                             DepthCase { "OnePastTheLimit", nestedText (maximumStateDepth + 1), false },
                                             DepthCase { "EmptyElementsPastTheLimit", nestedText (maximumStateDepth + 1, "x", 1), false },
                                             DepthCase { "OnePastTheLimitWithSpaceInTheTags", nestedText (maximumStateDepth + 1, "x "), false },
                                             DepthCase { "DisguisedClosingTagsPastTheLimit", disguised (maximumStateDepth + 1, true), false },
                                             DepthCase { "DisguisedClosingTagsAtTheLimit", disguised (maximumStateDepth, false), true },
                                             DepthCase { "HundredThousandLevels", nestedText (100000), false },
                                             DepthCase { "LevelsBehindAnUnquotedValue", hidden (R"(<PARAM id="mix" value="25.0" a=b"/>)", R"("/>)"), false },
                                             DepthCase { "LevelsBehindAnEntityInAValue", hidden (R"(<PARAM id="mix" value="25.0&e"/>)", R"(;"/>)"), false },
                                             DepthCase { "LevelsBehindAnEntityInText", hidden (R"(<PARAM id="mix" value="25.0"/>&e<!--;)", "-->"), false }),
                          [] (const auto& testCase)
                          { return std::string (testCase.param.name); });

// Refused before the parser runs: on a thread with a small stack too, where JUCE's parser
// would have overflowed it long before the end.
TEST (NestedState, HundredThousandLevelsAreRefusedOnASmallStack)
{
    struct Restore : juce::Thread
    {
        Restore()
            : juce::Thread ("restore", 512 * 1024) {}

        void run() override
        {
            const auto block = blockFromText (nestedText (100000));
            engine.setStateInformation (block.getData(), (int) block.getSize());
            mix = mixOf (engine);
        }

        SaturatorAudioProcessor engine;
        float mix = 0.0f;
    };

    Restore restore;
    const auto before = save (restore.engine);
    ASSERT_TRUE (restore.startThread());
    ASSERT_TRUE (restore.waitForThreadToExit (60000));

    EXPECT_EQ (restore.mix, 100.0f);
    EXPECT_EQ (save (restore.engine), before);
}
