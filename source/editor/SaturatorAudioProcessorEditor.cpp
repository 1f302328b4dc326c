#include "SaturatorAudioProcessorEditor.h"

#include "engine/SaturatorAudioProcessor.h"

SaturatorAudioProcessorEditor::SaturatorAudioProcessorEditor (SaturatorAudioProcessor& engine)
    : AudioProcessorEditor (engine),
      audioProcessor (engine)
{
    setSize (editorWidth, editorHeight);
}

SaturatorAudioProcessorEditor::~SaturatorAudioProcessorEditor() = default;
