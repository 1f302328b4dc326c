#pragma once

// The VST3 SDK and JUCE's COM helpers, as JUCE's own VST3 wrapper sees them; the SDK's
// definitions are compiled once, with that wrapper. The order of these includes matters.
#include <juce_audio_processors/juce_audio_processors.h>

#define JUCE_VST3HEADERS_INCLUDE_HEADERS_ONLY 1
#include <juce_audio_processors/format_types/juce_VST3Headers.h>
#undef JUCE_VST3HEADERS_INCLUDE_HEADERS_ONLY

#include <juce_audio_processors/utilities/juce_FlagCache.h>

#include <juce_audio_processors/format_types/juce_VST3Common.h>
