#pragma once

#include "editor/SaturatorAudioProcessorEditor.h"
#include "engine/SaturatorAudioProcessor.h"

#include <memory>

// The editor's children, in the order it adds them.
enum class EditorChild
{
    title,
    driveKnob,
    crushKnob,
    outputKnob,
    mixKnob,
    inputMeter,
    outputMeter,
    oversamplingButton
};

template <typename Type>
Type& child (juce::Component& editor, EditorChild index)
{
    return dynamic_cast<Type&> (*editor.getChildComponent ((int) index));
}

// Opens and closes an editor the way JUCE's plug-in wrappers do.
struct CloseEditor
{
    void operator() (juce::AudioProcessorEditor* editor) const
    {
        editor->processor.editorBeingDeleted (editor);
        delete editor;
    }
};

using OpenEditor = std::unique_ptr<juce::AudioProcessorEditor, CloseEditor>;

inline OpenEditor openEditor (SaturatorAudioProcessor& engine) { return OpenEditor (engine.createEditorIfNeeded()); }
