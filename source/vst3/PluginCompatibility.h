#pragma once

#include "IPluginCompatibility.h"
#include "JuceVst3.h"

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wnon-virtual-dtor")

// The factory's third class, through which a host asks which older classes Krel replaces.
class PluginCompatibility final : public Steinberg::IPluginCompatibility
{
public:
    static const Steinberg::PClassInfo2& getClassInfo();

    JUCE_DECLARE_VST3_COM_REF_METHODS
    Steinberg::tresult PLUGIN_API queryInterface (const Steinberg::TUID targetIID, void** obj) override;

    Steinberg::tresult PLUGIN_API getCompatibilityJSON (Steinberg::IBStream* stream) override;

private:
    std::atomic<int> refCount { 1 };
};

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
