#include "PluginCompatibility.h"

// JUCE 8 moved the header.
#if __has_include(<juce_audio_plugin_client/detail/juce_CreatePluginFilter.h>)
    #include <juce_audio_plugin_client/detail/juce_CreatePluginFilter.h>
#else
    #include <juce_audio_plugin_client/utility/juce_CreatePluginFilter.h>
#endif

#if KREL_DEFINES_PLUGIN_COMPATIBILITY_IID
DEF_CLASS_IID (Steinberg::IPluginCompatibility)
#endif

const Steinberg::PClassInfo2& PluginCompatibility::getClassInfo()
{
    static const Steinberg::TUID classId = INLINE_UID (0xABCDEF01, 0xC0DEF00D, JucePlugin_ManufacturerCode, JucePlugin_PluginCode);

    static const Steinberg::PClassInfo2 info (classId,
                                              Steinberg::PClassInfo::kManyInstances,
                                              kPluginCompatibilityClass,
                                              JucePlugin_Name,
                                              0,
                                              "",
                                              JucePlugin_Manufacturer,
                                              JucePlugin_VersionString,
                                              kVstVersionString);
    return info;
}

Steinberg::tresult PLUGIN_API PluginCompatibility::queryInterface (const Steinberg::TUID targetIID, void** obj)
{
    const auto result = juce::testForMultiple (*this,
                                               targetIID,
                                               juce::UniqueBase<Steinberg::IPluginCompatibility> {},
                                               juce::UniqueBase<Steinberg::FUnknown> {});

    if (result.isOk())
        return result.extract (obj);

    *obj = nullptr;
    return Steinberg::kNoInterface;
}

Steinberg::tresult PLUGIN_API PluginCompatibility::getCompatibilityJSON (Steinberg::IBStream* stream)
{
    if (stream == nullptr)
        return Steinberg::kInvalidArgument;

    {
        // As in JUCE's own compatibility class, the list comes from a fresh engine; this one
        // names no older classes, as Krel replaces none.
        const juce::ScopedJuceInitialiser_GUI libraryInitialiser;
        const auto engine = juce::createPluginFilterOfType (juce::AudioProcessor::wrapperType_VST3);
        jassert (engine != nullptr);
    }

    char json[] = "[]";
    constexpr auto size = (Steinberg::int32) sizeof (json) - 1;
    Steinberg::int32 written = 0;

    if (stream->write (json, size, &written) != Steinberg::kResultOk || written != size)
        return Steinberg::kResultFalse;

    return Steinberg::kResultOk;
}
