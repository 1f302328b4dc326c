// Renders the plug-in's editor to a PNG, as JUCE paints it, with the engine
// running a test signal so that the meters show levels.
//
//     KrelRenderEditor docs/editor.png

#include "engine/SaturatorAudioProcessor.h"
#include "shared/ParameterIds.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <iostream>

namespace
{
constexpr double sampleRate = 48000.0;
constexpr int blockSize = 480; // 10 ms

void setParameter (SaturatorAudioProcessor& engine, const juce::ParameterID& id, float value)
{
    auto* parameter = engine.parameterTree.getParameter (id.getParamID());
    parameter->setValueNotifyingHost (parameter->convertTo0to1 (value));
}

// A 110 Hz tone whose level swells and falls back, so that bar and peak marker part.
class TestSignal
{
public:
    void render (juce::AudioBuffer<float>& buffer)
    {
        for (int i = 0; i < buffer.getNumSamples(); ++i)
        {
            const auto envelope = 0.05 + 0.45 * std::pow (std::sin (juce::MathConstants<double>::pi * time / 1.6), 8.0);
            const auto sample = (float) (envelope * std::sin (juce::MathConstants<double>::twoPi * 110.0 * time));

            for (int channel = 0; channel < buffer.getNumChannels(); ++channel)
                buffer.setSample (channel, i, sample);

            time += 1.0 / sampleRate;
        }
    }

private:
    double time = 0.0;
};

// Feeds the engine block by block in step with the clock while the message loop runs.
void play (SaturatorAudioProcessor& engine, TestSignal& signal, int milliseconds)
{
    juce::AudioBuffer<float> buffer (2, blockSize);
    juce::MidiBuffer midi;
    const auto blockMs = (int) (1000.0 * blockSize / sampleRate);

    for (int elapsed = 0; elapsed < milliseconds; elapsed += blockMs)
    {
        signal.render (buffer);
        engine.processBlock (buffer, midi);
        juce::MessageManager::getInstance()->runDispatchLoopUntil (blockMs);
    }
}
} // namespace

int main (int argc, char** argv)
{
    if (argc != 2)
    {
        std::cerr << "usage: KrelRenderEditor <output.png>" << std::endl;
        return 2;
    }

    const juce::ScopedJuceInitialiser_GUI juceInitialiser;

    SaturatorAudioProcessor engine;
    engine.prepareToPlay (sampleRate, blockSize);
    setParameter (engine, driveParameterId, 62.0f);
    setParameter (engine, crushParameterId, 35.0f);
    setParameter (engine, outputParameterId, -4.5f);
    setParameter (engine, mixParameterId, 80.0f);

    TestSignal signal;
    std::unique_ptr<juce::AudioProcessorEditor> editor (engine.createEditorIfNeeded());

    // The swell peaks at 0.8 s; a little later the bar has begun to fall below the held peak.
    play (engine, signal, 950);

    const auto output = juce::File::getCurrentWorkingDirectory().getChildFile (argv[1]);
    const auto image = editor->createComponentSnapshot (editor->getLocalBounds());
    engine.editorBeingDeleted (editor.get());
    editor.reset();

    output.deleteFile();
    juce::FileOutputStream stream (output);
    juce::PNGImageFormat png;

    if (! stream.openedOk() || ! png.writeImageToStream (image, stream))
    {
        std::cerr << "could not write " << output.getFullPathName() << std::endl;
        return 1;
    }

    std::cout << "wrote " << output.getFullPathName() << std::endl;
    return 0;
}
