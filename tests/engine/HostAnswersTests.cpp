#include "EngineTestHelpers.h"

#include <gtest/gtest.h>

TEST (HostAnswers, FixedAnswers)
{
    SaturatorAudioProcessor engine;

    EXPECT_EQ (engine.getName(), "Krel");
    EXPECT_EQ (engine.getTailLengthSeconds(), 0.0);
    EXPECT_FALSE (engine.acceptsMidi());
    EXPECT_FALSE (engine.producesMidi());
    EXPECT_FALSE (engine.isMidiEffect());
    EXPECT_TRUE (engine.hasEditor());
    EXPECT_FALSE (engine.supportsDoublePrecisionProcessing());
}

TEST (HostAnswers, OneProgramWhateverTheIndex)
{
    SaturatorAudioProcessor engine;
    EXPECT_EQ (engine.getNumPrograms(), 1);

    for (const auto index : { -1, 0, 1, 7, 1000 })
    {
        SCOPED_TRACE (index);
        engine.setCurrentProgram (index);
        EXPECT_EQ (engine.getCurrentProgram(), 0);
        EXPECT_TRUE (engine.getProgramName (index).isEmpty());

        engine.changeProgramName (index, "Renamed");
        EXPECT_TRUE (engine.getProgramName (index).isEmpty());
    }
}

TEST (HostAnswers, NewEngineHasNoLatencyAndSilentReadings)
{
    SaturatorAudioProcessor engine;

    EXPECT_EQ (engine.getLatencySamples(), 0);
    EXPECT_EQ (engine.inputRmsLevel.load(), -100.0f);
    EXPECT_EQ (engine.inputPeakLevel.load(), -100.0f);
    EXPECT_EQ (engine.outputRmsLevel.load(), -100.0f);
    EXPECT_EQ (engine.outputPeakLevel.load(), -100.0f);
}

// With the switch off and the default parameters the chain is transparent; with it on
// the wet path would be filtered and delayed.
TEST (HostAnswers, NewEngineStartsWithOversamplingOff)
{
    SaturatorAudioProcessor engine;
    prepareEngine (engine);
    EXPECT_EQ (engine.getLatencySamples(), 0);

    const auto input = makeNoise (2, 512);
    auto output = input;
    processInBlocks (engine, output, 512);

    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < 512; ++i)
            ASSERT_EQ (output.getSample (channel, i), input.getSample (channel, i));
}

namespace
{
struct ChangeCounter : juce::AudioProcessorListener
{
    void audioProcessorParameterChanged (juce::AudioProcessor*, int, float) override { ++parameterChanges; }
    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override { ++changes; }

    int parameterChanges = 0;
    int changes = 0;
};
} // namespace

// As for a host's compatibility query: built, asked, destroyed, never prepared.
TEST (HostAnswers, EngineThatIsNeverPreparedIsDestroyedQuietly)
{
    ChangeCounter counter;

    {
        SaturatorAudioProcessor engine;
        engine.addListener (&counter);
        EXPECT_EQ (engine.getName(), "Krel");
        EXPECT_EQ (engine.getParameters().size(), 4);
        engine.releaseResources();
        engine.removeListener (&counter);
    }

    EXPECT_EQ (counter.changes, 0);
    EXPECT_EQ (counter.parameterChanges, 0);
}
