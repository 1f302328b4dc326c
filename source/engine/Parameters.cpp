#include "Parameters.h"

#include "FiniteAudioParameterFloat.h"
#include "SaturatorAudioProcessor.h"
#include "shared/ParameterIds.h"

namespace
{
void findFloatParameter (juce::AudioProcessorValueTreeState& tree,
                         const juce::ParameterID& id,
                         juce::AudioParameterFloat*& destination)
{
    destination = dynamic_cast<juce::AudioParameterFloat*> (tree.getParameter (id.getParamID()));
    jassert (destination != nullptr);
}

std::unique_ptr<juce::AudioParameterFloat> makePercentParameter (const juce::ParameterID& id,
                                                                 const juce::String& name,
                                                                 float defaultValue)
{
    return std::make_unique<FiniteAudioParameterFloat> (id,
                                                        name,
                                                        juce::NormalisableRange<float> { 0.0f, 100.0f, 0.1f },
                                                        defaultValue,
                                                        juce::AudioParameterFloatAttributes().withLabel ("%"));
}

// A factor that is not a number would stay in the oversampler's and the compressor's memory
// and turn all later output into NaN: the last finite one holds instead. Four checks per
// block, where guarding the samples would cost one per sample.
void takeIfFinite (float& factor, float newFactor) noexcept
{
    if (std::isfinite (newFactor))
        factor = newFactor;
}
} // namespace

juce::AudioProcessorValueTreeState::ParameterLayout SaturatorAudioProcessor::createParameterLayout()
{
    juce::AudioProcessorValueTreeState::ParameterLayout layout;

    layout.add (makePercentParameter (driveParameterId, "Drive", 0.0f));
    layout.add (makePercentParameter (crushParameterId, "Crush", 0.0f));

    juce::NormalisableRange<float> outputRange { -30.0f, 30.0f, 0.1f };
    outputRange.setSkewForCentre (0.0f);
    layout.add (std::make_unique<FiniteAudioParameterFloat> (outputParameterId,
                                                             "Output",
                                                             outputRange,
                                                             0.0f,
                                                             juce::AudioParameterFloatAttributes().withLabel ("dB")));

    layout.add (makePercentParameter (mixParameterId, "Mix", 100.0f));
    return layout;
}

ParameterSnapshot::ParameterSnapshot (juce::AudioProcessorValueTreeState& tree)
{
    findFloatParameter (tree, driveParameterId, driveParameter);
    findFloatParameter (tree, crushParameterId, crushParameter);
    findFloatParameter (tree, outputParameterId, outputParameter);
    findFloatParameter (tree, mixParameterId, mixParameter);
}

void ParameterSnapshot::update() noexcept
{
    takeIfFinite (drive, driveParameter->get() * 0.02f);
    takeIfFinite (crush, crushParameter->get() * 0.01f);
    takeIfFinite (mix, mixParameter->get() * 0.01f);

    // decibelsToGain would read NaN as silence.
    if (const auto output = outputParameter->get(); std::isfinite (output))
        outputGain = juce::Decibels::decibelsToGain (output);
}
