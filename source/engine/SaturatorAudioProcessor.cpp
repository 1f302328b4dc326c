#include "SaturatorAudioProcessor.h"

#include "StateBlock.h"
#include "editor/SaturatorAudioProcessorEditor.h"
#include "shared/Look.h"
#include "shared/ParameterIds.h"

namespace
{
constexpr int maximumDryDelay = 8192;
constexpr int oversamplerChannels = 2;
constexpr float compressorRatio = 2.0f;
constexpr float compressorThresholdDb = -18.0f;
constexpr float makeupGainDb = 3.5f;
constexpr float crushThreshold = 0.0001f;
constexpr float crushMaximumBoostDb = 10.0f;
constexpr float crushFrequency = 8000.0f;
constexpr float crushQ = 1.0f;

// A NaN or infinity from upstream would stay in the oversampler's and the compressor's
// memory for good and turn every later block to NaN; measured first, it is then silenced.
// So would a sample past about +110 dBFS, whose seventh power overflows in the waveshaper:
// such samples are limited to +60 dBFS, far beyond anything that audio carries.
void silenceNonFiniteSamples (juce::dsp::AudioBlock<float> block) noexcept
{
    constexpr float largestUsableSample = 1000.0f;

    for (size_t channel = 0; channel < block.getNumChannels(); ++channel)
    {
        auto* samples = block.getChannelPointer (channel);

        for (size_t i = 0; i < block.getNumSamples(); ++i)
            samples[i] = std::isfinite (samples[i]) ? juce::jlimit (-largestUsableSample, largestUsableSample, samples[i]) : 0.0f;
    }
}

// One mean over all channels together, so one silent channel of two reads 3 dB lower.
void publishLevels (const juce::AudioBuffer<float>& buffer,
                    std::atomic<float>& rmsLevel,
                    std::atomic<float>& peakLevel) noexcept
{
    const auto numChannels = buffer.getNumChannels();
    const auto numSamples = buffer.getNumSamples();
    float sumOfSquares = 0.0f;
    float peak = 0.0f;

    for (int channel = 0; channel < numChannels; ++channel)
    {
        const auto* samples = buffer.getReadPointer (channel);

        for (int i = 0; i < numSamples; ++i)
        {
            const auto x = samples[i];
            sumOfSquares += x * x;

            if (std::abs (x) > peak)
                peak = std::abs (x);
        }
    }

    const auto mean = sumOfSquares / (float) (numChannels * numSamples);
    rmsLevel.store (juce::Decibels::gainToDecibels (std::sqrt (mean)));
    peakLevel.store (juce::Decibels::gainToDecibels (peak));
}
} // namespace

SaturatorAudioProcessor::SaturatorAudioProcessor()
    : AudioProcessor (BusesProperties()
                          .withInput ("Input", juce::AudioChannelSet::stereo(), true)
                          .withOutput ("Output", juce::AudioChannelSet::stereo(), true))
    , parameterTree (*this, nullptr, "Parameters", createParameterLayout())
    , parameterSnapshot (parameterTree)
{
    oversampler = std::make_unique<juce::dsp::Oversampling<float>> (
        oversamplerChannels, 2, juce::dsp::Oversampling<float>::filterHalfBandPolyphaseIIR, true, false);
}

SaturatorAudioProcessor::~SaturatorAudioProcessor() = default;

const juce::String SaturatorAudioProcessor::getName() const { return "Krel"; }

void SaturatorAudioProcessor::prepareToPlay (double sampleRate, int samplesPerBlock)
{
    const auto maximumBlockSize = juce::jmax (1, samplesPerBlock);
    const auto numChannels = juce::jmax (getTotalNumInputChannels(), getTotalNumOutputChannels());
    const auto numOutputs = getTotalNumOutputChannels();
    const juce::dsp::ProcessSpec spec { sampleRate, (juce::uint32) maximumBlockSize, (juce::uint32) numChannels };

    oversampler->reset();
    oversampler->initProcessing ((size_t) maximumBlockSize);
    oversampler->setUsingIntegerLatency (true);

    oversamplingActive = oversamplingEnabled.load();
    const auto latency = latencyFor (oversamplingActive);
    setLatencySamples (latency);

    crushFilter.reset();
    crushFilter.prepare (spec);

    // The oversampled block always has the oversampler's two channels, also in mono,
    // and each of them needs its own envelope.
    compressor.reset();
    compressor.prepare ({ sampleRate, (juce::uint32) maximumBlockSize, (juce::uint32) juce::jmax (numChannels, oversamplerChannels) });
    compressor.setAttack (30.0f);
    compressor.setRelease (160.0f);

    dryDelay.reset();
    dryDelay.setMaximumDelayInSamples (maximumDryDelay);
    dryDelay.prepare ({ sampleRate, (juce::uint32) maximumBlockSize, (juce::uint32) juce::jmax (numOutputs, 1) });
    dryDelay.setDelay ((float) latency);

    preparedSampleRate = sampleRate;
    preparedBlockSize = maximumBlockSize;

    // The oversampler cannot take more than its two channels, so neither can the chain.
    preparedChannels = juce::jmin (numChannels, numOutputs, oversamplerChannels);
    dryBuffer.setSize (preparedChannels, preparedBlockSize);
    wetBuffer.setSize (oversamplerChannels, preparedBlockSize);
}

void SaturatorAudioProcessor::releaseResources() {}

void SaturatorAudioProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    juce::ScopedNoDenormals noDenormals;
    parameterSnapshot.update();
    publishLevels (buffer, inputRmsLevel, inputPeakLevel);

    // The flag and the dry delay change together, and only here, between blocks.
    const auto enabled = oversamplingEnabled.load();

    if (enabled != oversamplingActive)
    {
        oversamplingActive = enabled;
        dryDelay.setDelay ((float) latencyFor (enabled));
    }

    // Nothing is sized before preparation, so an unprepared engine hands the audio back as it came.
    if (preparedBlockSize > 0)
    {
        const auto numChannels = juce::jmin (buffer.getNumChannels(), preparedChannels);
        const auto numSamples = buffer.getNumSamples();

        // Channels beyond the prepared layout have no place in the chain.
        for (int channel = numChannels; channel < buffer.getNumChannels(); ++channel)
            buffer.clear (channel, 0, numSamples);

        if (numChannels > 0 && numSamples > 0)
        {
            auto block = juce::dsp::AudioBlock<float> (buffer).getSubsetChannelBlock (0, (size_t) numChannels);
            silenceNonFiniteSamples (block);

            // A host may hand over more than it announced; the DSP is sized for that much only.
            for (int start = 0; start < numSamples; start += preparedBlockSize)
                processChunk (block.getSubBlock ((size_t) start, (size_t) juce::jmin (preparedBlockSize, numSamples - start)));
        }
    }

    publishLevels (buffer, outputRmsLevel, outputPeakLevel);
}

void SaturatorAudioProcessor::processChunk (juce::dsp::AudioBlock<float> block)
{
    const auto numChannels = block.getNumChannels();
    const auto numSamples = block.getNumSamples();
    auto dry = juce::dsp::AudioBlock<float> (dryBuffer).getSubsetChannelBlock (0, numChannels).getSubBlock (0, numSamples);
    auto oversamplerInput = juce::dsp::AudioBlock<float> (wetBuffer).getSubBlock (0, numSamples);
    auto wet = oversamplerInput.getSubsetChannelBlock (0, numChannels);
    dry.copyFrom (block);
    wet.copyFrom (block);

    // DelayLine::process insists on every prepared channel; this also serves a short buffer.
    for (size_t channel = 0; channel < numChannels; ++channel)
    {
        auto* samples = dry.getChannelPointer (channel);

        for (size_t i = 0; i < numSamples; ++i)
        {
            dryDelay.pushSample ((int) channel, samples[i]);
            samples[i] = dryDelay.popSample ((int) channel);
        }
    }

    const auto drive = parameterSnapshot.drive;

    if (oversamplingActive)
    {
        // The oversampler always runs on both its channels; one that the block lacks carries silence.
        for (auto channel = numChannels; channel < oversamplerInput.getNumChannels(); ++channel)
            oversamplerInput.getSingleChannelBlock (channel).clear();

        auto up = oversampler->processSamplesUp (oversamplerInput);
        applyWaveshaper (up, up);

        if (drive > 0.0f)
            applyCompressor (up);

        oversampler->processSamplesDown (oversamplerInput);
    }
    else
    {
        applyWaveshaper (dry, wet);

        if (drive > 0.0f)
            applyCompressor (wet);
    }

    applyCrush (wet);

    const auto mix = parameterSnapshot.mix;
    const auto gain = parameterSnapshot.outputGain;

    for (size_t channel = 0; channel < numChannels; ++channel)
    {
        const auto* drySamples = dry.getChannelPointer (channel);
        const auto* wetSamples = wet.getChannelPointer (channel);
        auto* out = block.getChannelPointer (channel);

        for (size_t i = 0; i < numSamples; ++i)
            out[i] = ((1.0f - mix) * drySamples[i] + mix * wetSamples[i]) * gain;
    }
}

void SaturatorAudioProcessor::applyWaveshaper (const juce::dsp::AudioBlock<float> source,
                                               juce::dsp::AudioBlock<float> destination) const noexcept
{
    const auto d = parameterSnapshot.drive;
    const auto k = d * d * 6.0f + 2.0f;

    for (size_t channel = 0; channel < destination.getNumChannels(); ++channel)
    {
        const auto* in = source.getChannelPointer (channel);
        auto* out = destination.getChannelPointer (channel);

        // The tanh of a tile first, so that the polynomial runs as one vectorised loop.
        constexpr size_t tileSize = 64;
        float t[tileSize];

        for (size_t start = 0; start < destination.getNumSamples(); start += tileSize)
        {
            const auto length = juce::jmin (tileSize, destination.getNumSamples() - start);

            for (size_t i = 0; i < length; ++i)
                t[i] = std::tanh (k * in[start + i]);

            for (size_t i = 0; i < length; ++i)
            {
                const auto x = in[start + i];
                const auto x3 = (x * x) * x;
                const auto x7 = (x3 * x3) * x;
                const auto s = (t[i] + 0.25f * x3) + 0.18f * x7;
                out[start + i] = (1.0f - d) * x + d * s;
            }
        }
    }
}

void SaturatorAudioProcessor::applyCompressor (juce::dsp::AudioBlock<float> block)
{
    compressor.setRatio (compressorRatio);
    compressor.setThreshold (compressorThresholdDb);
    compressor.process (juce::dsp::ProcessContextReplacing<float> (block));
    block.multiplyBy (juce::Decibels::decibelsToGain (makeupGainDb));
}

void SaturatorAudioProcessor::applyCrush (juce::dsp::AudioBlock<float> block)
{
    const auto crush = parameterSnapshot.crush;

    // Up to 16 kHz the centre is not below Nyquist: there is nothing there to lift,
    // and the filter's poles would leave the unit circle.
    if (! (crush > crushThreshold) || ! ((double) crushFrequency < preparedSampleRate * 0.5))
        return;

    // Written into the shared coefficients in place: makePeakFilter's Ptr form would allocate.
    *crushFilter.state = juce::dsp::IIR::ArrayCoefficients<float>::makePeakFilter (
        preparedSampleRate, crushFrequency, crushQ, juce::Decibels::decibelsToGain (crush * crushMaximumBoostDb));
    crushFilter.process (juce::dsp::ProcessContextReplacing<float> (block));
}

int SaturatorAudioProcessor::latencyFor (bool enabled) const
{
    return enabled ? (int) oversampler->getLatencyInSamples() : 0;
}

void SaturatorAudioProcessor::setOversamplingEnabled (bool enabled)
{
    oversamplingEnabled.store (enabled);
    setLatencySamples (latencyFor (enabled));
}

double SaturatorAudioProcessor::getTailLengthSeconds() const { return 0.0; }
bool SaturatorAudioProcessor::acceptsMidi() const { return false; }
bool SaturatorAudioProcessor::producesMidi() const { return false; }
bool SaturatorAudioProcessor::isMidiEffect() const { return false; }

juce::AudioProcessorEditor* SaturatorAudioProcessor::createEditor() { return new SaturatorAudioProcessorEditor (*this); }
bool SaturatorAudioProcessor::hasEditor() const { return true; }

int SaturatorAudioProcessor::getNumPrograms() { return 1; }
int SaturatorAudioProcessor::getCurrentProgram() { return 0; }
void SaturatorAudioProcessor::setCurrentProgram (int) {}
const juce::String SaturatorAudioProcessor::getProgramName (int) { return {}; }
void SaturatorAudioProcessor::changeProgramName (int, const juce::String&) {}

void SaturatorAudioProcessor::getStateInformation (juce::MemoryBlock& destData)
{
    const auto state = parameterTree.copyState();

    if (const auto xml = state.createXml())
        copyXmlToBinary (*xml, destData);
}

void SaturatorAudioProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    if (const auto newState = readStateBlock (data, sizeInBytes, parameterTree); newState.isValid())
        parameterTree.replaceState (newState);
}

bool SaturatorAudioProcessor::isBusesLayoutSupported (const BusesLayout& layouts) const
{
    const auto output = layouts.getMainOutputChannelSet();

    if (output != juce::AudioChannelSet::mono() && output != juce::AudioChannelSet::stereo())
        return false;

    return layouts.getMainInputChannelSet() == output;
}

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new SaturatorAudioProcessor();
}
