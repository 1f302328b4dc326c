#include "BufferChecks.h"
#include "editor/EditorParts.h"
#include "engine/EngineTestHelpers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace
{
struct Life
{
    juce::AudioChannelSet layout;
    double sampleRate;
    int blockSize;
    EngineSettings settings;
    int blocks;
};

const Life monoLife { juce::AudioChannelSet::mono(), 44100.0, 64, { 30.0f, 40.0f, -6.0f, 70.0f, false }, 4 };
const Life stereoLife { juce::AudioChannelSet::stereo(), 96000.0, 256, { 80.0f, 100.0f, 6.0f, 50.0f, true }, 4 };

// One instance from construction to destruction: prepared, fed noise with the 4x switch
// flipped halfway through, released. Returns what it played.
juce::AudioBuffer<float> liveThrough (const Life& life)
{
    SaturatorAudioProcessor engine;
    prepareEngine (engine, life.layout, life.sampleRate, life.blockSize);
    applySettings (engine, life.settings);

    const auto numChannels = life.layout.size();
    const auto half = life.blocks / 2 * life.blockSize;
    auto signal = makeNoise (numChannels, life.blocks * life.blockSize, 0.8f);
    juce::AudioBuffer<float> firstHalf (signal.getArrayOfWritePointers(), numChannels, 0, half);
    juce::AudioBuffer<float> secondHalf (signal.getArrayOfWritePointers(), numChannels, half, signal.getNumSamples() - half);

    processInBlocks (engine, firstHalf, life.blockSize);
    engine.setOversamplingEnabled (! life.settings.oversampling);
    processInBlocks (engine, secondHalf, life.blockSize);
    engine.releaseResources();
    return signal;
}

} // namespace

// Instances share nothing that one of them could leave behind for the next: every life
// plays exactly what the first of its kind played. Leaks show in Debug and under LeakSanitizer.
TEST (Lifecycle, AThousandLivesInOneProcessEachPlayLikeTheFirst)
{
    const Life lives[] { monoLife, stereoLife };
    const juce::AudioBuffer<float> firstPlayed[] { liveThrough (monoLife), liveThrough (stereoLife) };

    for (int i = 0; i < 1000; ++i)
        ASSERT_TRUE (sameSamples (liveThrough (lives[i % 2]), firstPlayed[i % 2])) << "life " << i;
}

TEST (Lifecycle, TwoEnginesOnTwoThreadsPlayAsEachDoesAlone)
{
    auto monoLong = monoLife;
    auto stereoLong = stereoLife;
    monoLong.blocks = stereoLong.blocks = 200;

    const auto monoAlone = liveThrough (monoLong);
    const auto stereoAlone = liveThrough (stereoLong);
    std::atomic<int> mismatches { 0 };

    const auto repeat = [&mismatches] (const Life& life, const juce::AudioBuffer<float>& expected)
    {
        for (int i = 0; i < 10; ++i)
            if (! sameSamples (liveThrough (life), expected))
                ++mismatches;
    };

    std::thread first (repeat, std::cref (monoLong), std::cref (monoAlone));
    std::thread second (repeat, std::cref (stereoLong), std::cref (stereoAlone));
    first.join();
    second.join();

    EXPECT_EQ (mismatches.load(), 0);
}

// The host's message thread opens and closes the editor while its audio thread plays on.
TEST (Lifecycle, EditorOpenedAndClosedAHundredTimesWhileProcessing)
{
    SaturatorAudioProcessor engine;
    prepareEngine (engine, juce::AudioChannelSet::stereo(), 48000.0, 256);
    applySettings (engine, { 60.0f, 50.0f, 0.0f, 80.0f, false });

    std::atomic<bool> stop { false };
    std::atomic<int> blocks { 0 };
    std::atomic<int> nonFiniteBlocks { 0 };

    std::thread audioThread ([&]
                             {
                                 auto noise = makeNoise (2, 256, 0.7f);
                                 juce::AudioBuffer<float> buffer (2, 256);
                                 juce::MidiBuffer midi;

                                 while (! stop)
                                 {
                                     buffer.makeCopyOf (noise, true);
                                     engine.processBlock (buffer, midi);

                                     if (! allFinite (buffer))
                                         ++nonFiniteBlocks;

                                     ++blocks;
                                     std::this_thread::yield();
                                 } });

    for (int i = 0; i < 100; ++i)
    {
        auto editor = openEditor (engine);

        if (editor == nullptr)
        {
            ADD_FAILURE() << "no editor";
            break;
        }

        // Long enough for the editor's and the meters' 33 ms timers to fire.
        juce::MessageManager::getInstance()->runDispatchLoopUntil (40);

        if (i % 10 == 0)
            editor->createComponentSnapshot (editor->getLocalBounds());

        editor.reset();
        EXPECT_EQ (engine.getActiveEditor(), nullptr);
    }

    stop = true;
    audioThread.join();

    EXPECT_GT (blocks.load(), 0);
    EXPECT_EQ (nonFiniteBlocks.load(), 0);
}
