#pragma once

#include "JuceVst3.h"

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wnon-virtual-dtor")

// JUCE's audio component as the host sees it, except for setState. JUCE's wrapper trusts the
// size in the trailer that it appends to the state and reads outside the state when a project
// holds a bogus one; such a state is refused here before it reaches JUCE.
class ComponentStateGuard final : public Steinberg::Vst::IComponent
{
public:
    explicit ComponentStateGuard (const juce::VSTComSmartPtr<Steinberg::Vst::IComponent>& juceComponentToGuard)
        : juceComponent (juceComponentToGuard)
    {
        jassert (juceComponent != nullptr);
    }

    JUCE_DECLARE_VST3_COM_REF_METHODS
    Steinberg::tresult PLUGIN_API queryInterface (const Steinberg::TUID targetIID, void** obj) override;

    Steinberg::tresult PLUGIN_API setState (Steinberg::IBStream* state) override;

    Steinberg::tresult PLUGIN_API initialize (Steinberg::FUnknown* context) override { return juceComponent->initialize (context); }
    Steinberg::tresult PLUGIN_API terminate() override { return juceComponent->terminate(); }

    Steinberg::tresult PLUGIN_API getControllerClassId (Steinberg::TUID classId) override { return juceComponent->getControllerClassId (classId); }
    Steinberg::tresult PLUGIN_API setIoMode (Steinberg::Vst::IoMode mode) override { return juceComponent->setIoMode (mode); }

    Steinberg::int32 PLUGIN_API getBusCount (Steinberg::Vst::MediaType type, Steinberg::Vst::BusDirection dir) override
    {
        return juceComponent->getBusCount (type, dir);
    }

    Steinberg::tresult PLUGIN_API getBusInfo (Steinberg::Vst::MediaType type,
                                              Steinberg::Vst::BusDirection dir,
                                              Steinberg::int32 index,
                                              Steinberg::Vst::BusInfo& bus) override
    {
        return juceComponent->getBusInfo (type, dir, index, bus);
    }

    Steinberg::tresult PLUGIN_API getRoutingInfo (Steinberg::Vst::RoutingInfo& inInfo, Steinberg::Vst::RoutingInfo& outInfo) override
    {
        return juceComponent->getRoutingInfo (inInfo, outInfo);
    }

    Steinberg::tresult PLUGIN_API activateBus (Steinberg::Vst::MediaType type,
                                               Steinberg::Vst::BusDirection dir,
                                               Steinberg::int32 index,
                                               Steinberg::TBool state) override
    {
        return juceComponent->activateBus (type, dir, index, state);
    }

    Steinberg::tresult PLUGIN_API setActive (Steinberg::TBool state) override { return juceComponent->setActive (state); }
    Steinberg::tresult PLUGIN_API getState (Steinberg::IBStream* state) override { return juceComponent->getState (state); }

private:
    std::atomic<int> refCount { 1 };
    juce::VSTComSmartPtr<Steinberg::Vst::IComponent> juceComponent;
};

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
