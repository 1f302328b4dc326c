#pragma once

#include <juce_core/system/juce_CompilerWarnings.h>
#include <pluginterfaces/base/funknown.h>
#include <pluginterfaces/base/ibstream.h>

// The VST3 interface through which a plug-in names the older classes that it replaces. An SDK
// that predates it (JUCE 7's) gets the declaration here, and its identifier is then defined by
// our compatibility class; a later SDK declares it and JUCE's wrapper defines the identifier.
#if __has_include(<pluginterfaces/base/iplugincompatibility.h>)
    #include <pluginterfaces/base/iplugincompatibility.h>
#else
    #define KREL_DEFINES_PLUGIN_COMPATIBILITY_IID 1

// Like every VST3 interface it has no virtual destructor: objects delete themselves in release().
JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wnon-virtual-dtor")

namespace Steinberg
{
class IPluginCompatibility : public FUnknown
{
public:
    // Writes the list as UTF-8 JSON into the stream.
    virtual tresult PLUGIN_API getCompatibilityJSON (IBStream* stream) = 0;

    static const FUID iid;
};

DECLARE_CLASS_IID (IPluginCompatibility, 0x4AFD4B6A, 0x35D7C240, 0xA5C31414, 0xFB7D15E6)
} // namespace Steinberg

JUCE_END_IGNORE_WARNINGS_GCC_LIKE

    #define kPluginCompatibilityClass "Plugin Compatibility Class"
#endif
