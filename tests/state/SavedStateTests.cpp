#include "BinaryStateText.h"
#include "engine/SaturatorAudioProcessor.h"
#include "shared/ParameterIds.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace
{
const std::string declaration = R"(<?xml version="1.0" encoding="UTF-8"?> )";

const std::string newEngineText = declaration
                                  + R"(<Parameters><PARAM id="crush" value="0.0"/><PARAM id="drive" value="0.0"/>)"
                                    R"(<PARAM id="mix" value="100.0"/><PARAM id="output" value="0.0"/></Parameters>)";

std::string textOf (const juce::MemoryBlock& block)
{
    const auto length = (size_t) juce::ByteOrder::littleEndianInt (block.begin() + 4);
    return { block.begin() + 8, length };
}

std::string replaced (std::string text, const std::string& from, const std::string& to)
{
    const auto position = text.find (from);
    EXPECT_NE (position, std::string::npos) << from;
    return text.replace (position, from.size(), to);
}

std::string withRoot (const std::string& root, const std::string& children)
{
    return declaration + "<" + root + ">" + children + "</" + root + ">";
}

template <typename Case>
std::string caseName (const ::testing::TestParamInfo<Case>& testCase)
{
    return testCase.param.name;
}

using Values = std::array<float, 4>; // drive, crush, output, mix

// Counts every change notification that any of the engine's parameters sends.
struct NotificationCounter : juce::AudioProcessorParameter::Listener
{
    explicit NotificationCounter (juce::AudioProcessor& processorToWatch)
        : processor (processorToWatch)
    {
        for (auto* parameter : processor.getParameters())
            parameter->addListener (this);
    }

    ~NotificationCounter() override
    {
        for (auto* parameter : processor.getParameters())
            parameter->removeListener (this);
    }

    void parameterValueChanged (int, float) override { ++count; }
    void parameterGestureChanged (int, bool) override {}

    juce::AudioProcessor& processor;
    int count = 0;
};

class SavedState : public ::testing::Test
{
protected:
    // Values a new engine does not have, so that any restore that touches them shows.
    static constexpr Values startValues { 12.3f, 50.5f, -29.9f, 0.5f };

    void SetUp() override
    {
        setValues (engine, startValues);
        ASSERT_EQ (values(), startValues);
    }

    static void set (SaturatorAudioProcessor& target, const juce::ParameterID& id, float value)
    {
        auto* parameter = target.parameterTree.getParameter (id.getParamID());
        parameter->setValueNotifyingHost (parameter->convertTo0to1 (value));
    }

    static void setValues (SaturatorAudioProcessor& target, const Values& values)
    {
        set (target, driveParameterId, values[0]);
        set (target, crushParameterId, values[1]);
        set (target, outputParameterId, values[2]);
        set (target, mixParameterId, values[3]);
    }

    static float get (SaturatorAudioProcessor& target, const juce::ParameterID& id)
    {
        return target.parameterTree.getRawParameterValue (id.getParamID())->load();
    }

    static Values valuesOf (SaturatorAudioProcessor& target)
    {
        return { get (target, driveParameterId),
                 get (target, crushParameterId),
                 get (target, outputParameterId),
                 get (target, mixParameterId) };
    }

    static juce::MemoryBlock save (SaturatorAudioProcessor& target)
    {
        juce::MemoryBlock block;
        target.getStateInformation (block);
        return block;
    }

    static void restore (SaturatorAudioProcessor& target, const juce::MemoryBlock& block)
    {
        target.setStateInformation (block.getData(), (int) block.getSize());
    }

    Values values() { return valuesOf (engine); }
    juce::MemoryBlock save() { return save (engine); }
    void restore (const juce::MemoryBlock& block) { restore (engine, block); }

    SaturatorAudioProcessor engine;
};

constexpr Values SavedState::startValues;

// A valid block that would change every parameter of the fixture's engine.
juce::MemoryBlock otherValuesBlock()
{
    return blockFromText (withRoot ("Parameters",
                                    R"(<PARAM id="crush" value="60.0"/><PARAM id="drive" value="40.0"/>)"
                                    R"(<PARAM id="mix" value="25.0"/><PARAM id="output" value="-6.0"/>)"));
}
constexpr Values otherValues { 40.0f, 60.0f, -6.0f, 25.0f };

juce::MemoryBlock truncatedTo (size_t size)
{
    auto block = otherValuesBlock();
    block.setSize (size);
    return block;
}

juce::MemoryBlock withLengthField (juce::uint32 length)
{
    auto block = otherValuesBlock();
    const auto littleEndian = juce::ByteOrder::swapIfBigEndian (length);
    std::memcpy (block.begin() + 4, &littleEndian, sizeof (littleEndian));
    return block;
}

juce::MemoryBlock withFirstByte (char byte)
{
    auto block = otherValuesBlock();
    block[0] = byte;
    return block;
}

juce::MemoryBlock withRootRenamed (const std::string& root)
{
    const auto text = replaced (textOf (otherValuesBlock()), "<Parameters>", "<" + root + ">");
    return blockFromText (replaced (text, "</Parameters>", "</" + root + ">"));
}

juce::MemoryBlock withBytesAppended()
{
    auto block = otherValuesBlock();
    block.append ("<junk/>", 7);
    return block;
}
} // namespace

TEST (SavedStateFormat, NewEngineWritesTheExactBlock)
{
    SaturatorAudioProcessor engine;
    juce::MemoryBlock block;
    engine.getStateInformation (block);

    ASSERT_EQ (newEngineText.size(), 189u);
    const auto expected = blockFromText (newEngineText);
    ASSERT_EQ (block.getSize(), 198u);
    EXPECT_EQ (block, expected) << textOf (block);

    const std::array<unsigned char, 8> header { 0x56, 0x43, 0x32, 0x21, 0xBD, 0x00, 0x00, 0x00 };
    EXPECT_EQ (0, std::memcmp (block.getData(), header.data(), header.size()));
}

TEST_F (SavedState, ValuesPrintWithTheirSinglePrecisionDigits)
{
    const auto text = textOf (save());
    EXPECT_NE (text.find (R"(<PARAM id="drive" value="12.30000019073486"/>)"), std::string::npos) << text;
    EXPECT_NE (text.find (R"(<PARAM id="output" value="-29.89999961853027"/>)"), std::string::npos) << text;
    EXPECT_NE (text.find (R"(<PARAM id="mix" value="0.5"/>)"), std::string::npos) << text;
}

TEST_F (SavedState, RoundTripRestoresEveryValueExactly)
{
    const auto block = save();

    SaturatorAudioProcessor restored;
    NotificationCounter notifications (restored);
    restore (restored, block);

    EXPECT_EQ (valuesOf (restored), startValues);
    EXPECT_EQ (notifications.count, 4);
    EXPECT_EQ (save (restored), block);
}

TEST_F (SavedState, RestoringTheCurrentStateSendsNoNotifications)
{
    const auto block = save();
    NotificationCounter notifications (engine);

    restore (block);

    EXPECT_EQ (notifications.count, 0);
    EXPECT_EQ (values(), startValues);
    EXPECT_EQ (save(), block);
}

//==============================================================================
namespace
{
struct RootCase
{
    const char* name;
    const char* root;
};

// Cases print as their names, also in the test list that CTest reads.
void PrintTo (const RootCase& testCase, std::ostream* out) { *out << testCase.name; }

class SavedStateRoot : public SavedState, public ::testing::WithParamInterface<RootCase>
{
};
} // namespace

TEST_P (SavedStateRoot, IsAcceptedAndWrittenBackAsItCame)
{
    const std::string root = GetParam().root;
    restore (withRootRenamed (root));
    EXPECT_EQ (values(), otherValues);

    const auto text = textOf (save());
    EXPECT_EQ (text.rfind (declaration + "<" + root + ">", 0), 0u) << text;
    EXPECT_NE (text.find ("</" + root + ">"), std::string::npos) << text;

    // The next restore compares with the adopted name, still without regard to case.
    restore (blockFromText (newEngineText));
    EXPECT_EQ (values(), (Values { 0.0f, 0.0f, 0.0f, 100.0f }));
}

INSTANTIATE_TEST_SUITE_P (Cases,
                          SavedStateRoot,
                          ::testing::Values (RootCase { "LowerCase", "parameters" },
                                             RootCase { "Capitals", "PARAMETERS" },
                                             RootCase { "AsWritten", "Parameters" }),
                          caseName<RootCase>);

//==============================================================================
namespace
{
// Keeps its bytes outside JUCE: the table outlives JUCE's leak detector.
struct BlockCase
{
    BlockCase (const char* caseName, const juce::MemoryBlock& block)
        : name (caseName), bytes (block.begin(), block.end())
    {
    }

    juce::MemoryBlock block() const { return { bytes.data(), bytes.size() }; }

    const char* name;
    std::string bytes;
};

void PrintTo (const BlockCase& testCase, std::ostream* out) { *out << testCase.name; }

class RejectedBlock : public SavedState, public ::testing::WithParamInterface<BlockCase>
{
};
} // namespace

TEST_P (RejectedBlock, LeavesEveryParameterAsItWas)
{
    const auto before = save();
    NotificationCounter notifications (engine);

    restore (GetParam().block());

    EXPECT_EQ (values(), startValues);
    EXPECT_EQ (notifications.count, 0);
    EXPECT_EQ (save(), before);
}

INSTANTIATE_TEST_SUITE_P (Cases,
                          RejectedBlock,
                          ::testing::Values (BlockCase { "Empty", juce::MemoryBlock() },
                                             BlockCase { "HeaderOnly", truncatedTo (8) },
                                             BlockCase { "TextCutShort", truncatedTo (otherValuesBlock().getSize() / 2) },
                                             BlockCase { "WrongMagic", withFirstByte ('W') },
                                             BlockCase { "ZeroLength", withLengthField (0) },
                                             BlockCase { "LengthWithTopBitSet", withLengthField (0x80000000u | (juce::uint32) otherValuesBlock().getSize()) },
                                             BlockCase { "LengthShorterThanText", withLengthField (100) },
                                             BlockCase { "NotXml", blockFromText ("drive=40 crush=60 mix=25 output=-6") },
                                             BlockCase { "EmptyText", blockFromText ("") },
                                             BlockCase { "OtherRoot", withRootRenamed ("Settings") },
                                             BlockCase { "RootNearlyTheName", withRootRenamed ("Parameter") },
                                             BlockCase { "TextEndsInBrokenUtf8", blockFromText (declaration + R"(<Parameters><PARAM id="mix" value="25.0"/>)" + "\xff\xff\xff\xff\xff") },
                                             BlockCase { "TextWithOverlongUtf8", blockFromText (withRoot ("Parameters", "<PARAM id=\"mix\" value=\"25.0\" note=\"\xc0\xad\"/>")) },
                                             BlockCase { "DocumentTypeDeclared", blockFromText (R"(<!DOCTYPE Parameters [<!ENTITY v "25.0">]><Parameters><PARAM id="mix" value="&v;"/></Parameters>)") },
                                             BlockCase { "InstructionInsideTheRoot", blockFromText (withRoot ("Parameters", R"(<?krel mix?><PARAM id="mix" value="25.0"/>)")) },
                                             BlockCase { "AttributeRepeated", blockFromText (withRoot ("Parameters", R"(<PARAM id="mix" value="25.0" value="60.0"/>)")) },
                                             BlockCase { "ExponentPastAnInt", blockFromText (withRoot ("Parameters", R"(<PARAM id="crush" value="899E9961853027"/>)")) }),
                          caseName<BlockCase>);

namespace
{
class AcceptedBlock : public SavedState, public ::testing::WithParamInterface<BlockCase>
{
};
} // namespace

TEST_P (AcceptedBlock, IsReadByItsLengthField)
{
    restore (GetParam().block());
    EXPECT_EQ (values(), otherValues);
}

INSTANTIATE_TEST_SUITE_P (Cases,
                          AcceptedBlock,
                          ::testing::Values (BlockCase { "WithoutTrailingZero", truncatedTo (otherValuesBlock().getSize() - 1) },
                                             BlockCase { "WithBytesAfterIt", withBytesAppended() },
                                             BlockCase { "WithoutDeclaration", blockFromText (textOf (otherValuesBlock()).substr (declaration.size())) }),
                          caseName<BlockCase>);

//==============================================================================
namespace
{
struct ValueCase
{
    const char* name;
    size_t index; // into Values
    const char* valueText; // null: the child has no "value"
    float expected;
};

const std::array<juce::ParameterID, 4> valueIds { driveParameterId, crushParameterId, outputParameterId, mixParameterId };

void PrintTo (const ValueCase& testCase, std::ostream* out) { *out << testCase.name; }

class RestoredValue : public SavedState, public ::testing::WithParamInterface<ValueCase>
{
};
} // namespace

TEST_P (RestoredValue, IsReadLimitedAndRounded)
{
    const auto& param = GetParam();
    const auto id = valueIds[param.index].getParamID().toStdString();
    const auto value = param.valueText == nullptr ? std::string() : std::string (" value=\"") + param.valueText + "\"";
    restore (blockFromText (withRoot ("Parameters", "<PARAM id=\"" + id + "\"" + value + "/>")));

    const auto restored = values();
    EXPECT_FLOAT_EQ (restored[param.index], param.expected);

    // The parameters the block does not name keep their values.
    for (size_t i = 0; i < restored.size(); ++i)
    {
        if (i != param.index)
        {
            EXPECT_EQ (restored[i], startValues[i]) << valueIds[i].getParamID();
        }
    }
}

INSTANTIATE_TEST_SUITE_P (Cases,
                          RestoredValue,
                          ::testing::Values (ValueCase { "MissingMixIsDefault", 3, nullptr, 100.0f },
                                             ValueCase { "MissingOutputIsDefault", 2, nullptr, 0.0f },
                                             ValueCase { "OutputAboveRange", 2, "45.0", 30.0f },
                                             ValueCase { "OutputBelowRange", 2, "-1000", -30.0f },
                                             ValueCase { "MixBelowRange", 3, "-5", 0.0f },
                                             ValueCase { "DriveOffStep", 0, "33.34", 33.3f },
                                             ValueCase { "CrushOffStepUp", 1, "99.96", 100.0f },
                                             ValueCase { "OutputOffStep", 2, "-6.66", -6.7f },
                                             ValueCase { "TextIsZero", 3, "loud", 0.0f },
                                             ValueCase { "EmptyTextIsZero", 2, "", 0.0f },
                                             ValueCase { "NanIsZero", 3, "nan", 0.0f },
                                             ValueCase { "NegativeNanIsZero", 0, "-NaN", 0.0f },
                                             ValueCase { "InfinityIsLimited", 2, "inf", 30.0f },
                                             ValueCase { "NineDigitExponentIsLimited", 3, "1e999999999", 100.0f }),
                          caseName<ValueCase>);

//==============================================================================
TEST_F (SavedState, TheLaterOfTwoChildrenWithOneIdWins)
{
    restore (blockFromText (withRoot ("Parameters", R"(<PARAM id="drive" value="10.0"/><PARAM id="drive" value="20.0"/>)")));
    EXPECT_FLOAT_EQ (get (engine, driveParameterId), 20.0f);

    // And keeps winning after a round trip through a save.
    set (engine, driveParameterId, 30.0f);
    SaturatorAudioProcessor restored;
    restore (restored, save());
    EXPECT_FLOAT_EQ (get (restored, driveParameterId), 30.0f);
}

TEST_F (SavedState, UnknownContentSurvivesEveryLaterSave)
{
    const std::string extras[] = { R"(<Parameters build="7">)",
                                   R"(<PARAM id="drive" value="40.0" note="warm"/>)",
                                   R"(<LEGACY id="tone" value="3.0"/>)",
                                   R"(<PARAM id="colour" value="1.0"/>)" };

    restore (blockFromText (declaration + extras[0] + extras[1] + extras[2] + extras[3] + "</Parameters>"));
    ASSERT_FLOAT_EQ (get (engine, driveParameterId), 40.0f);

    const auto expectAllExtras = [&] (const std::string& text)
    {
        EXPECT_EQ (text.rfind (declaration + extras[0], 0), 0u) << text;

        for (const auto& extra : { R"(note="warm")", extras[2].c_str(), extras[3].c_str() })
            EXPECT_NE (text.find (extra), std::string::npos) << extra << " in " << text;
    };

    expectAllExtras (textOf (save()));

    set (engine, driveParameterId, 55.0f);
    const auto afterChange = textOf (save());
    expectAllExtras (afterChange);
    EXPECT_NE (afterChange.find (R"(<PARAM id="drive" value="55.0" note="warm"/>)"), std::string::npos) << afterChange;

    SaturatorAudioProcessor restored;
    restore (restored, save());
    expectAllExtras (textOf (save (restored)));
}

// Each parameter a block leaves out keeps its value, and so must the next save: without
// a "value" of its own, the saved child would bring the default back on the next restore.
TEST_F (SavedState, ParametersTheBlockLeavesOutKeepTheirValuesInTheNextSave)
{
    NotificationCounter notifications (engine);
    restore (blockFromText (declaration + "<Parameters/>"));
    EXPECT_EQ (values(), startValues);
    EXPECT_EQ (notifications.count, 0);

    const auto text = textOf (save());
    EXPECT_EQ (text,
               declaration
                   + R"(<Parameters><PARAM id="crush" value="50.5"/><PARAM id="drive" value="12.30000019073486"/>)"
                     R"(<PARAM id="mix" value="0.5"/><PARAM id="output" value="-29.89999961853027"/></Parameters>)");

    SaturatorAudioProcessor restored;
    restore (restored, save());
    EXPECT_EQ (valuesOf (restored), startValues);
}

TEST_F (SavedState, OversamplingSurvivesARestoreAndIsNotSaved)
{
    engine.prepareToPlay (48000.0, 512);
    engine.setOversamplingEnabled (true);
    const auto latency = engine.getLatencySamples();
    ASSERT_GT (latency, 0);

    restore (otherValuesBlock());
    EXPECT_EQ (values(), otherValues);
    EXPECT_EQ (engine.getLatencySamples(), latency);

    SaturatorAudioProcessor withoutOversampling;
    setValues (withoutOversampling, otherValues);
    const auto block = save();
    EXPECT_EQ (block, save (withoutOversampling));

    SaturatorAudioProcessor restored;
    restore (restored, block);
    EXPECT_EQ (restored.getLatencySamples(), 0);
}
