#include "editor/EditorParts.h"
#include "engine/EngineTestHelpers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <iostream>
#include <thread>

namespace
{
constexpr int blockSize = 256;
constexpr auto runTime = std::chrono::seconds (3);

// Input sample n of a channel: a ramp that is never zero and never repeats within the
// dry delay's reach, so that every output sample tells which delay it went through.
float inputSample (juce::int64 n, int channel)
{
    const auto ramp = 1.0f + (float) (n % 4096) / 4096.0f;
    return channel == 0 ? ramp : -ramp;
}

// With mix at 0 the block is g times the input delayed by d, one g and one d for all of it.
bool isDelayedInput (const juce::AudioBuffer<float>& block, juce::int64 start, int delay)
{
    const auto gain = block.getSample (0, 0) / inputSample (start - delay, 0);

    for (int channel = 0; channel < block.getNumChannels(); ++channel)
    {
        for (int i = 0; i < block.getNumSamples(); ++i)
        {
            const auto expected = gain * inputSample (start + i - delay, channel);

            if (! (std::abs (block.getSample (channel, i) - expected) <= 1.0e-5f * std::abs (expected)))
                return false;
        }
    }

    return true;
}

struct DelayCounts
{
    std::atomic<int> undelayed { 0 };
    std::atomic<int> byLatency { 0 };
    std::atomic<int> neither { 0 };

    int total() const { return undelayed + byLatency + neither; }
};
} // namespace

// Everything a host does at once: its audio thread plays, its message thread flips the 4x
// switch and opens and closes the editor, automation moves every parameter but mix, and
// another thread saves and restores the state. Built with ThreadSanitizer, it also proves
// the engine's side of this free of data races.
TEST (ThreadStress, HostThreadsAtOnceNeverSplitABlockBetweenTwoDelays)
{
    SaturatorAudioProcessor engine;
    prepareEngine (engine, juce::AudioChannelSet::stereo(), 48000.0, blockSize);
    applySettings (engine, { 50.0f, 50.0f, 0.0f, 0.0f, true });
    const auto latency = engine.getLatencySamples();
    engine.setOversamplingEnabled (false);
    ASSERT_GT (latency, 0);

    std::atomic<bool> stop { false };
    DelayCounts counts;

    std::thread audioThread ([&]
                             {
                                 juce::AudioBuffer<float> buffer (2, blockSize);
                                 juce::MidiBuffer midi;

                                 for (juce::int64 start = 0; ! stop; start += blockSize)
                                 {
                                     for (int channel = 0; channel < 2; ++channel)
                                         for (int i = 0; i < blockSize; ++i)
                                             buffer.setSample (channel, i, inputSample (start + i, channel));

                                     engine.processBlock (buffer, midi);

                                     if (isDelayedInput (buffer, start, 0))
                                         ++counts.undelayed;
                                     else if (isDelayedInput (buffer, start, latency))
                                         ++counts.byLatency;
                                     else
                                         ++counts.neither;
                                 } });

    std::thread automationThread ([&]
                                  {
                                      juce::Random random (1);
                                      juce::AudioProcessorParameter* automated[] {
                                          engine.parameterTree.getParameter (driveParameterId.getParamID()),
                                          engine.parameterTree.getParameter (crushParameterId.getParamID()),
                                          engine.parameterTree.getParameter (outputParameterId.getParamID())
                                      };

                                      while (! stop)
                                      {
                                          auto* parameter = automated[random.nextInt (3)];
                                          parameter->beginChangeGesture();
                                          parameter->setValueNotifyingHost (random.nextFloat());
                                          parameter->endChangeGesture();
                                          std::this_thread::sleep_for (std::chrono::microseconds (50));
                                      } });

    std::thread stateThread ([&]
                             {
                                 while (! stop)
                                 {
                                     juce::MemoryBlock state;
                                     engine.getStateInformation (state);
                                     engine.setStateInformation (state.getData(), (int) state.getSize());
                                     std::this_thread::sleep_for (std::chrono::milliseconds (1));
                                 } });

    // The test's own thread is the message thread.
    juce::Random random (2);
    auto enabled = false;
    const auto started = std::chrono::steady_clock::now();

    for (int round = 0; std::chrono::steady_clock::now() - started < runTime; ++round)
    {
        if (counts.total() > 0)
        {
            enabled = random.nextBool();
            engine.setOversamplingEnabled (enabled);
        }

        if (round % 25 == 0)
        {
            auto editor = openEditor (engine);
            juce::MessageManager::getInstance()->runDispatchLoopUntil (40);
        }

        juce::MessageManager::getInstance()->runDispatchLoopUntil (1);
    }

    stop = true;
    audioThread.join();
    automationThread.join();
    stateThread.join();

    std::cout << "[ stress   ] " << counts.total() << " blocks in "
              << std::chrono::duration<double> (std::chrono::steady_clock::now() - started).count() << " s: "
              << counts.undelayed << " undelayed, " << counts.byLatency << " delayed by " << latency << std::endl;

    EXPECT_EQ (counts.neither.load(), 0);
    EXPECT_GT (counts.undelayed.load(), 0);
    EXPECT_GT (counts.byLatency.load(), 0);
    EXPECT_EQ (engine.getLatencySamples(), enabled ? latency : 0);
    EXPECT_EQ (engine.parameterTree.getRawParameterValue (mixParameterId.getParamID())->load(), 0.0f);
}
