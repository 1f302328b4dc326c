#include "engine/SaturatorAudioProcessor.h"

#include <gtest/gtest.h>

namespace
{
using ChannelSetFactory = juce::AudioChannelSet (*)();

// Factories rather than sets: gtest keeps its copies of the cases past JUCE's leak check.
struct LayoutCase
{
    const char* name;
    ChannelSetFactory input;
    ChannelSetFactory output;
    bool accepted;
};

// Cases print as their names, also in the test list that CTest reads.
void PrintTo (const LayoutCase& c, std::ostream* out) { *out << c.name; }

juce::AudioChannelSet twoDiscreteChannels() { return juce::AudioChannelSet::discreteChannels (2); }

class BusLayoutRule : public ::testing::TestWithParam<LayoutCase>
{
};

const LayoutCase layoutCases[] = {
    { "MonoToMono", juce::AudioChannelSet::mono, juce::AudioChannelSet::mono, true },
    { "StereoToStereo", juce::AudioChannelSet::stereo, juce::AudioChannelSet::stereo, true },
    { "MonoToStereo", juce::AudioChannelSet::mono, juce::AudioChannelSet::stereo, false },
    { "StereoToMono", juce::AudioChannelSet::stereo, juce::AudioChannelSet::mono, false },
    { "DisabledInputToStereo", juce::AudioChannelSet::disabled, juce::AudioChannelSet::stereo, false },
    { "StereoToDisabledOutput", juce::AudioChannelSet::stereo, juce::AudioChannelSet::disabled, false },
    { "DiscreteTwoChannels", twoDiscreteChannels, twoDiscreteChannels, false },
    { "FivePointOne", juce::AudioChannelSet::create5point1, juce::AudioChannelSet::create5point1, false },
    { "NoBuses", juce::AudioChannelSet::disabled, juce::AudioChannelSet::disabled, false },
};
} // namespace

TEST_P (BusLayoutRule, AcceptsOnlyMatchingMonoOrStereo)
{
    const auto& c = GetParam();
    SaturatorAudioProcessor engine;

    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (c.input());
    layout.outputBuses.add (c.output());

    EXPECT_EQ (engine.isBusesLayoutSupported (layout), c.accepted);

    // What a host negotiates goes through JUCE's own check, which must agree.
    EXPECT_EQ (engine.checkBusesLayoutSupported (layout), c.accepted);
}

INSTANTIATE_TEST_SUITE_P (Engine,
                          BusLayoutRule,
                          ::testing::ValuesIn (layoutCases),
                          [] (const auto& caseInfo)
                          { return std::string (caseInfo.param.name); });

TEST (BusLayout, StartsAsOneStereoBusEachWay)
{
    SaturatorAudioProcessor engine;

    ASSERT_EQ (engine.getBusCount (true), 1);
    ASSERT_EQ (engine.getBusCount (false), 1);
    EXPECT_EQ (engine.getBus (true, 0)->getName(), "Input");
    EXPECT_EQ (engine.getBus (false, 0)->getName(), "Output");
    EXPECT_EQ (engine.getBus (true, 0)->getCurrentLayout(), juce::AudioChannelSet::stereo());
    EXPECT_EQ (engine.getBus (false, 0)->getCurrentLayout(), juce::AudioChannelSet::stereo());
    EXPECT_TRUE (engine.getBus (true, 0)->isEnabled());
    EXPECT_TRUE (engine.getBus (false, 0)->isEnabled());
}
