#pragma once

#include "JuceVst3.h"

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wnon-virtual-dtor")

// JUCE's edit controller as the host sees it, except for setParamNormalized. JUCE's wrapper
// keeps a NaN that a host sends as the parameter's value, although the engine refuses it:
// the controller would report NaN from then on. Such a value is refused here.
class ControllerValueGuard final : public Steinberg::Vst::IEditController
{
public:
    explicit ControllerValueGuard (const juce::VSTComSmartPtr<Steinberg::Vst::IEditController>& juceControllerToGuard)
        : juceController (juceControllerToGuard)
    {
        jassert (juceController != nullptr);
    }

    JUCE_DECLARE_VST3_COM_REF_METHODS
    Steinberg::tresult PLUGIN_API queryInterface (const Steinberg::TUID targetIID, void** obj) override;

    Steinberg::tresult PLUGIN_API setParamNormalized (Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue value) override;

    Steinberg::tresult PLUGIN_API initialize (Steinberg::FUnknown* context) override { return juceController->initialize (context); }
    Steinberg::tresult PLUGIN_API terminate() override { return juceController->terminate(); }

    Steinberg::tresult PLUGIN_API setComponentState (Steinberg::IBStream* state) override { return juceController->setComponentState (state); }
    Steinberg::tresult PLUGIN_API setState (Steinberg::IBStream* state) override { return juceController->setState (state); }
    Steinberg::tresult PLUGIN_API getState (Steinberg::IBStream* state) override { return juceController->getState (state); }

    Steinberg::int32 PLUGIN_API getParameterCount() override { return juceController->getParameterCount(); }

    Steinberg::tresult PLUGIN_API getParameterInfo (Steinberg::int32 index, Steinberg::Vst::ParameterInfo& info) override
    {
        return juceController->getParameterInfo (index, info);
    }

    Steinberg::tresult PLUGIN_API getParamStringByValue (Steinberg::Vst::ParamID id,
                                                         Steinberg::Vst::ParamValue value,
                                                         Steinberg::Vst::String128 string) override
    {
        return juceController->getParamStringByValue (id, value, string);
    }

    Steinberg::tresult PLUGIN_API getParamValueByString (Steinberg::Vst::ParamID id,
                                                         Steinberg::Vst::TChar* string,
                                                         Steinberg::Vst::ParamValue& value) override
    {
        return juceController->getParamValueByString (id, string, value);
    }

    Steinberg::Vst::ParamValue PLUGIN_API normalizedParamToPlain (Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue value) override
    {
        return juceController->normalizedParamToPlain (id, value);
    }

    Steinberg::Vst::ParamValue PLUGIN_API plainParamToNormalized (Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue value) override
    {
        return juceController->plainParamToNormalized (id, value);
    }

    Steinberg::Vst::ParamValue PLUGIN_API getParamNormalized (Steinberg::Vst::ParamID id) override
    {
        return juceController->getParamNormalized (id);
    }

    Steinberg::tresult PLUGIN_API setComponentHandler (Steinberg::Vst::IComponentHandler* handler) override
    {
        return juceController->setComponentHandler (handler);
    }

    Steinberg::IPlugView* PLUGIN_API createView (Steinberg::FIDString name) override { return juceController->createView (name); }

private:
    std::atomic<int> refCount { 1 };
    juce::VSTComSmartPtr<Steinberg::Vst::IEditController> juceController;
};

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
