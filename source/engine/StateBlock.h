#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

// Everything between a saved state block and the parameter tree: JUCE's binary XML
// helpers, and the checks for what they would let through although it would harm the
// parameters, the audio or the host.

// Elements nest deeper than this in no block worth reading: the engine's own state has two
// levels. JUCE's parser recurses once per level and would run out of stack on a deep one.
constexpr int maximumStateDepth = 16;

// The tree that replaces the parameter tree's state, or an invalid tree when the block
// is refused and the parameters stay as they are.
juce::ValueTree readStateBlock (const void* data, int sizeInBytes, const juce::AudioProcessorValueTreeState& tree);
