#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

// The identifiers are also the keys of the saved state and the source of the
// hosts' parameter IDs: renaming one breaks existing projects.
static const juce::ParameterID driveParameterId { "drive", 1 };
static const juce::ParameterID crushParameterId { "crush", 1 };
static const juce::ParameterID outputParameterId { "output", 1 };
static const juce::ParameterID mixParameterId { "mix", 1 };
