#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

// The checks between a saved state block and the parameter tree: what JUCE's binary
// XML helpers would let through although it would harm the parameters or the audio.

// The block's XML, or nothing when the block cannot be read safely.
std::unique_ptr<juce::XmlElement> readStateBlock (const void* data,
                                                  int sizeInBytes,
                                                  const juce::AudioProcessorValueTreeState& tree);
