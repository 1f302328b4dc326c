#pragma once

#include <pluginterfaces/base/ibstream.h>

// The host's declaration of the interface behind the "Plugin Compatibility Class", from
// its public definition; kept apart from the plug-in's own so that the probe checks it.
class IPluginCompatibility : public Steinberg::FUnknown
{
public:
    virtual Steinberg::tresult PLUGIN_API getCompatibilityJSON (Steinberg::IBStream* stream) = 0;

    static const Steinberg::FUID iid;
};

DECLARE_CLASS_IID (IPluginCompatibility, 0x4AFD4B6A, 0x35D7C240, 0xA5C31414, 0xFB7D15E6)
