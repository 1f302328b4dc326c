#include "AllocationCounter.h"
#include "EngineTestHelpers.h"

#include <gtest/gtest.h>

// The counter itself must see both kinds of allocation JUCE makes.
TEST (AllocationCounter, SeesNewAndMalloc)
{
    ScopedAllocationCounter counter;
    auto vector = std::make_unique<std::vector<int>> (100);
    juce::AudioBuffer<float> buffer (2, 1000);
    EXPECT_GE (counter.getAllocations(), 3);
}

namespace
{
struct AllocationCase
{
    const char* name;
    int numChannels;
    bool oversampling;
};

void PrintTo (const AllocationCase& c, std::ostream* out) { *out << c.name; }

class NoAllocation : public ::testing::TestWithParam<AllocationCase>
{
};

const AllocationCase allocationCases[] = {
    { "StereoHostRate", 2, false },
    { "StereoOversampled", 2, true },
    { "MonoHostRate", 1, false },
    { "MonoOversampled", 1, true },
};

void expectNoAllocation (SaturatorAudioProcessor& engine, juce::AudioBuffer<float>& buffer)
{
    juce::MidiBuffer midi;
    ScopedAllocationCounter counter;
    engine.processBlock (buffer, midi);

    EXPECT_EQ (counter.getAllocations(), 0);
    EXPECT_EQ (counter.getReleases(), 0);
}
} // namespace

TEST_P (NoAllocation, ProcessBlockNeverTouchesTheHeap)
{
    const auto& c = GetParam();
    const auto numChannels = c.numChannels;
    constexpr int blockSize = 512;

    SaturatorAudioProcessor engine;
    prepareEngine (engine, juce::AudioChannelSet::canonicalChannelSet (numChannels), 48000.0, blockSize);
    applySettings (engine, { 100.0f, 100.0f, 6.0f, 50.0f, c.oversampling });

    // From the very first block on, with a new value for every parameter before each block.
    for (int block = 0; block < 16; ++block)
    {
        for (auto* parameter : engine.getParameters())
            parameter->setValueNotifyingHost (0.2f + 0.05f * (float) (block % 8));

        auto buffer = makeNoise (numChannels, blockSize, 0.8f, block);
        expectNoAllocation (engine, buffer);
    }

    // The block that takes up a switch of the "4x" mode.
    engine.setOversamplingEnabled (! c.oversampling);
    auto afterSwitch = makeNoise (numChannels, blockSize);
    expectNoAllocation (engine, afterSwitch);

    // Blocks shorter and longer than announced, and one with more channels than prepared.
    auto shorter = makeNoise (numChannels, 17);
    expectNoAllocation (engine, shorter);
    auto longer = makeNoise (numChannels, 3 * blockSize + 5);
    expectNoAllocation (engine, longer);
    auto wider = makeNoise (numChannels + 2, blockSize);
    expectNoAllocation (engine, wider);
}

INSTANTIATE_TEST_SUITE_P (Engine,
                          NoAllocation,
                          ::testing::ValuesIn (allocationCases),
                          [] (const auto& caseInfo)
                          { return std::string (caseInfo.param.name); });
