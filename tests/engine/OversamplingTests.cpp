#include "EngineTestHelpers.h"

#include <gtest/gtest.h>

#include <complex>
#include <thread>

namespace
{
struct LatencyCounter : juce::AudioProcessorListener
{
    void audioProcessorParameterChanged (juce::AudioProcessor*, int, float) override {}

    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails& details) override
    {
        if (details.latencyChanged)
            ++notifications;
    }

    int notifications = 0;
};

int latencyWithOversampling (double sampleRate, int blockSize)
{
    SaturatorAudioProcessor engine;
    prepareEngine (engine, juce::AudioChannelSet::stereo(), sampleRate, blockSize);
    engine.setOversamplingEnabled (true);
    return engine.getLatencySamples();
}
} // namespace

TEST (Latency, IsZeroWhileOversamplingIsOff)
{
    SaturatorAudioProcessor engine;
    prepareEngine (engine);
    EXPECT_EQ (engine.getLatencySamples(), 0);

    engine.setOversamplingEnabled (true);
    engine.setOversamplingEnabled (false);
    EXPECT_EQ (engine.getLatencySamples(), 0);
}

// Two polyphase IIR half-band stages at maximum quality (transition widths 0.05 and 0.10 up,
// 0.06 and 0.12 down; stop bands -90, -80, -75 and -65 dB) delay by 4.43 samples at the host
// rate. Integer latency pads that with a fractional delay of 0.57, and with one more sample
// since the pad is under 0.618: six. Without maximum quality the filters give 3.42, so five.
TEST (Latency, IsSixSamplesAtEveryRateAndBlockSize)
{
    const auto reference = latencyWithOversampling (48000.0, 512);
    EXPECT_EQ (reference, 6);

    for (const auto sampleRate : { 44100.0, 48000.0, 88200.0, 96000.0, 192000.0 })
        for (const auto blockSize : { 1, 32, 64, 512, 4096 })
            EXPECT_EQ (latencyWithOversampling (sampleRate, blockSize), reference) << sampleRate << " Hz, " << blockSize;
}

TEST (Latency, HostHearsOfEveryRealChangeOnlyOnce)
{
    SaturatorAudioProcessor engine;
    prepareEngine (engine);
    LatencyCounter counter;
    engine.addListener (&counter);

    engine.setOversamplingEnabled (true);
    EXPECT_EQ (counter.notifications, 1);
    const auto latency = engine.getLatencySamples();

    engine.setOversamplingEnabled (true);
    EXPECT_EQ (counter.notifications, 1);

    // The switch survives preparation, and the latency does not move with the rate.
    engine.releaseResources();
    prepareEngine (engine, juce::AudioChannelSet::stereo(), 96000.0, 128);
    EXPECT_EQ (counter.notifications, 1);
    EXPECT_EQ (engine.getLatencySamples(), latency);

    engine.setOversamplingEnabled (false);
    EXPECT_EQ (counter.notifications, 2);
    EXPECT_EQ (engine.getLatencySamples(), 0);

    engine.setOversamplingEnabled (false);
    prepareEngine (engine, juce::AudioChannelSet::mono(), 44100.0, 64);
    EXPECT_EQ (counter.notifications, 2);

    engine.removeListener (&counter);
}

// Before the first preparation the oversampler has no delay compensation yet, so its latency is
// a truncated fraction; preparation then reports the whole number that prepared engines report.
TEST (Latency, SwitchedOnBeforePreparationSettlesOnPreparation)
{
    SaturatorAudioProcessor engine;
    engine.setOversamplingEnabled (true);
    EXPECT_GT (engine.getLatencySamples(), 0);

    prepareEngine (engine);
    EXPECT_EQ (engine.getLatencySamples(), latencyWithOversampling (48000.0, 512));
}

namespace
{
// Runs the input through in blocks, switching the "4x" mode before each block as asked, and
// checks every output block against the input delayed by the latency then reported.
void expectDryPathDelayedByReportedLatency (const std::vector<bool>& modePerBlock, int blockSize)
{
    SaturatorAudioProcessor engine;
    prepareEngine (engine, juce::AudioChannelSet::stereo(), 48000.0, blockSize);
    applySettings (engine, { 100.0f, 100.0f, 0.0f, 0.0f, false });

    const auto numSamples = (int) modePerBlock.size() * blockSize;
    const auto input = makeNoise (2, numSamples);
    auto output = input;
    juce::MidiBuffer midi;

    for (size_t block = 0; block < modePerBlock.size(); ++block)
    {
        engine.setOversamplingEnabled (modePerBlock[block]);
        const auto latency = engine.getLatencySamples();
        const auto start = (int) block * blockSize;

        juce::AudioBuffer<float> view (output.getArrayOfWritePointers(), 2, start, blockSize);
        engine.processBlock (view, midi);

        for (int channel = 0; channel < 2; ++channel)
            for (int i = start; i < start + blockSize; ++i)
            {
                const auto expected = i >= latency ? input.getSample (channel, i - latency) : 0.0f;
                ASSERT_EQ (output.getSample (channel, i), expected) << "block " << block << ", sample " << i;
            }
    }
}
} // namespace

TEST (Latency, MixZeroIsTheInputDelayedByExactlyTheLatency)
{
    expectDryPathDelayedByReportedLatency (std::vector<bool> (16, true), 256);
}

// The dry line runs in both modes, so a new delay acts at once on real history.
TEST (Latency, DryDelayFollowsTheSwitchFromTheNextBlock)
{
    expectDryPathDelayedByReportedLatency ({ false, false, true, true, false, true, false, false, true }, 128);
}

// The wet path's own delay at 4x is what the host is told, so wet and dry line up.
TEST (Latency, OversampledWetPathIsDelayedByTheReportedLatency)
{
    SaturatorAudioProcessor engine;
    prepareEngine (engine);
    applySettings (engine, { 0.0f, 0.0f, 0.0f, 100.0f, true });
    const auto latency = engine.getLatencySamples();

    const auto input = makeSine (2, 24000, 100.0, 48000.0);
    auto output = input;
    processInBlocks (engine, output, 512);

    for (int channel = 0; channel < 2; ++channel)
        for (int i = 4800; i < input.getNumSamples(); ++i)
            ASSERT_NEAR (output.getSample (channel, i), input.getSample (channel, i - latency), 1.0e-5f) << i;
}

namespace
{
constexpr int pulseBlockSize = 256;
constexpr int pulsePosition = 64;

// With mix 50 % and drive 0 a unit pulse comes out whole when both paths run undelayed
// (host rate), and with hardly anything at its own position when both are delayed (4x). A
// block whose flag and dry delay disagree puts half the pulse, from the dry path alone, there.
enum class PulseBlock
{
    hostRate,
    oversampled,
    outOfStep
};

PulseBlock processPulseBlock (SaturatorAudioProcessor& engine)
{
    juce::AudioBuffer<float> buffer (1, pulseBlockSize);
    buffer.clear();
    buffer.setSample (0, pulsePosition, 1.0f);

    juce::MidiBuffer midi;
    engine.processBlock (buffer, midi);

    const auto atPulse = buffer.getSample (0, pulsePosition);

    if (atPulse == 1.0f)
        return PulseBlock::hostRate;

    return std::abs (atPulse) < 0.1f ? PulseBlock::oversampled : PulseBlock::outOfStep;
}

void preparePulseEngine (SaturatorAudioProcessor& engine)
{
    prepareEngine (engine, juce::AudioChannelSet::mono(), 48000.0, pulseBlockSize);
    applySettings (engine, { 0.0f, 0.0f, 0.0f, 50.0f, false });
}
} // namespace

TEST (Oversampling, SwitchTakesEffectWholeAtTheNextBlock)
{
    SaturatorAudioProcessor engine;
    preparePulseEngine (engine);

    const bool pattern[] = { false, true, true, false, true, false, false, true, false, true, true, true, false };

    for (const auto enabled : pattern)
    {
        engine.setOversamplingEnabled (enabled);
        EXPECT_EQ (processPulseBlock (engine), enabled ? PulseBlock::oversampled : PulseBlock::hostRate);
    }
}

TEST (Oversampling, SwitchingFromAnotherThreadNeverSplitsFlagAndDelay)
{
    SaturatorAudioProcessor engine;
    preparePulseEngine (engine);

    std::atomic<bool> done { false };
    std::thread switcher ([&]
                          {
                              for (auto enabled = true; ! done.load(); enabled = ! enabled)
                              {
                                  engine.setOversamplingEnabled (enabled);
                                  std::this_thread::sleep_for (std::chrono::microseconds (20));
                              } });

    int counts[3] = {};

    for (int block = 0; block < 20000; ++block)
        ++counts[(int) processPulseBlock (engine)];

    done = true;
    switcher.join();

    EXPECT_EQ (counts[(int) PulseBlock::outOfStep], 0);
    EXPECT_GT (counts[(int) PulseBlock::hostRate], 0);
    EXPECT_GT (counts[(int) PulseBlock::oversampled], 0);
}

namespace
{
// The level of one frequency relative to another in a Hann-windowed stretch of the output;
// both lie on bins of the stretch, so neither leaks into the other.
double relativeLevelDb (const juce::AudioBuffer<float>& buffer, int start, int length, double frequency, double reference, double sampleRate)
{
    const auto magnitudeAt = [&] (double f)
    {
        std::complex<double> sum;

        for (int i = 0; i < length; ++i)
        {
            const auto window = 0.5 - 0.5 * std::cos (juce::MathConstants<double>::twoPi * i / length);
            sum += window * (double) buffer.getSample (0, start + i) * std::polar (1.0, -juce::MathConstants<double>::twoPi * f * i / sampleRate);
        }

        return std::abs (sum);
    };

    return 20.0 * std::log10 (magnitudeAt (frequency) / magnitudeAt (reference));
}

// A 10 kHz tone driven hard has its third harmonic at 30 kHz, beyond the host's Nyquist:
// shaped at the host rate it folds back to 18 kHz; shaped at four times the rate it stays
// below that rate's Nyquist and the down-sampling filters remove it.
double aliasOfDrivenTone (bool oversampling)
{
    const auto input = makeSine (1, 24000, 10000.0, 48000.0, 0.5f);
    const auto output = processWithNewEngine (juce::AudioChannelSet::mono(), { 50.0f, 0.0f, 0.0f, 100.0f, oversampling }, input);
    return relativeLevelDb (output, 9600, 9600, 18000.0, 10000.0, 48000.0);
}
} // namespace

TEST (Oversampling, FourTimesKeepsTheWaveshapersAliasOutOfTheBand)
{
    const auto hostRate = aliasOfDrivenTone (false);
    const auto oversampled = aliasOfDrivenTone (true);

    EXPECT_GT (hostRate, -20.0) << "an audible alias at the host rate";
    EXPECT_LT (oversampled, hostRate - 50.0) << "host rate " << hostRate << " dB";
}
