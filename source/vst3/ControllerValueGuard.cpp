#include "ControllerValueGuard.h"

Steinberg::tresult PLUGIN_API ControllerValueGuard::queryInterface (const Steinberg::TUID targetIID, void** obj)
{
    const auto result = juce::testForMultiple (*this,
                                               targetIID,
                                               juce::UniqueBase<Steinberg::Vst::IEditController> {},
                                               juce::UniqueBase<Steinberg::IPluginBase> {},
                                               juce::SharedBase<Steinberg::FUnknown, Steinberg::Vst::IEditController> {});

    if (result.isOk())
        return result.extract (obj);

    return juceController->queryInterface (targetIID, obj);
}

Steinberg::tresult PLUGIN_API ControllerValueGuard::setParamNormalized (Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue value)
{
    if (std::isnan (value))
        return Steinberg::kInvalidArgument;

    return juceController->setParamNormalized (id, value);
}
