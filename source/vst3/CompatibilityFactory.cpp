#include "ComponentStateGuard.h"
#include "ControllerValueGuard.h"
#include "PluginCompatibility.h"

// JUCE's own factory function, renamed when its wrapper is compiled, so that the module
// exports the one below.
extern "C" Steinberg::IPluginFactory* PLUGIN_API juceGetPluginFactory();

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wnon-virtual-dtor")

namespace
{
// JUCE's factory, which lists its classes without checking the index it is asked for, behind
// an index check. Its compatibility class is served by ours, which refuses a null stream: in
// the place of JUCE's own where JUCE lists one, else appended as the last class. JUCE's audio
// component is handed out behind a guard for its state and its controller behind one for
// the values that it takes.
class CompatibilityFactory final : public Steinberg::IPluginFactory3
{
public:
    CompatibilityFactory()
    {
        // Takes over the reference that JUCE's factory function hands out.
        juceFactory.loadFrom (Steinberg::owned (juceGetPluginFactory()));
        jassert (juceFactory != nullptr);

        const auto numJuceClasses = juceFactory->countClasses();
        compatibilityIndex = numJuceClasses;

        for (Steinberg::int32 index = 0; index < numJuceClasses; ++index)
        {
            Steinberg::PClassInfo info;

            if (juceFactory->getClassInfo (index, &info) != Steinberg::kResultOk)
                continue;

            if (std::strcmp (info.category, kVstAudioEffectClass) == 0)
                std::memcpy (audioComponentId, info.cid, sizeof (audioComponentId));
            else if (std::strcmp (info.category, kPluginCompatibilityClass) == 0)
                compatibilityIndex = index;
            else if (std::strcmp (info.category, kVstComponentControllerClass) == 0)
                std::memcpy (controllerId, info.cid, sizeof (controllerId));
        }

        numClasses = juce::jmax (numJuceClasses, compatibilityIndex + 1);
    }

    JUCE_DECLARE_VST3_COM_REF_METHODS

    Steinberg::tresult PLUGIN_API queryInterface (const Steinberg::TUID targetIID, void** obj) override
    {
        const auto result = juce::testForMultiple (*this,
                                                   targetIID,
                                                   juce::UniqueBase<Steinberg::IPluginFactory3> {},
                                                   juce::UniqueBase<Steinberg::IPluginFactory2> {},
                                                   juce::UniqueBase<Steinberg::IPluginFactory> {},
                                                   juce::UniqueBase<Steinberg::FUnknown> {});

        if (result.isOk())
            return result.extract (obj);

        *obj = nullptr;
        return Steinberg::kNoInterface;
    }

    Steinberg::int32 PLUGIN_API countClasses() override { return numClasses; }

    Steinberg::tresult PLUGIN_API getFactoryInfo (Steinberg::PFactoryInfo* info) override
    {
        return juceFactory->getFactoryInfo (info);
    }

    Steinberg::tresult PLUGIN_API getClassInfo (Steinberg::int32 index, Steinberg::PClassInfo* info) override
    {
        return answer (index, info, &Steinberg::IPluginFactory::getClassInfo);
    }

    Steinberg::tresult PLUGIN_API getClassInfo2 (Steinberg::int32 index, Steinberg::PClassInfo2* info) override
    {
        return answer (index, info, &Steinberg::IPluginFactory2::getClassInfo2);
    }

    Steinberg::tresult PLUGIN_API getClassInfoUnicode (Steinberg::int32 index, Steinberg::PClassInfoW* info) override
    {
        return answer (index, info, &Steinberg::IPluginFactory3::getClassInfoUnicode);
    }

    Steinberg::tresult PLUGIN_API createInstance (Steinberg::FIDString cid, Steinberg::FIDString interfaceId, void** obj) override
    {
        if (cid == nullptr || interfaceId == nullptr || obj == nullptr)
            return Steinberg::kInvalidArgument;

        Steinberg::TUID targetIID;
        std::memcpy (targetIID, interfaceId, sizeof (targetIID));

        if (juce::doUIDsMatch (cid, audioComponentId))
        {
            juce::VSTComSmartPtr<Steinberg::Vst::IComponent> juceComponent;

            if (! juceComponent.loadFrom (juceFactory.get(), audioComponentId))
                return Steinberg::kResultFalse;

            return Steinberg::owned (new ComponentStateGuard (juceComponent))->queryInterface (targetIID, obj);
        }

        if (juce::doUIDsMatch (cid, controllerId))
        {
            juce::VSTComSmartPtr<Steinberg::Vst::IEditController> juceController;

            if (! juceController.loadFrom (juceFactory.get(), controllerId))
                return Steinberg::kResultFalse;

            return Steinberg::owned (new ControllerValueGuard (juceController))->queryInterface (targetIID, obj);
        }

        if (! juce::doUIDsMatch (cid, PluginCompatibility::getClassInfo().cid))
            return juceFactory->createInstance (cid, interfaceId, obj);

        return Steinberg::owned (new PluginCompatibility())->queryInterface (targetIID, obj);
    }

    Steinberg::tresult PLUGIN_API setHostContext (Steinberg::FUnknown* context) override
    {
        return juceFactory->setHostContext (context);
    }

private:
    // Indices in the list other than the compatibility class's are JUCE's own.
    template <typename Info, typename Interface>
    Steinberg::tresult answer (Steinberg::int32 index,
                               Info* info,
                               Steinberg::tresult (PLUGIN_API Interface::*askJuce) (Steinberg::int32, Info*))
    {
        if (info == nullptr || index < 0 || index >= numClasses)
            return Steinberg::kInvalidArgument;

        if (index != compatibilityIndex)
            return (juceFactory.get()->*askJuce) (index, info);

        copyClassInfo (PluginCompatibility::getClassInfo(), *info);
        return Steinberg::kResultOk;
    }

    static void copyClassInfo (const Steinberg::PClassInfo2& source, Steinberg::PClassInfo& info)
    {
        info = Steinberg::PClassInfo (source.cid, source.cardinality, source.category, source.name);
    }

    static void copyClassInfo (const Steinberg::PClassInfo2& source, Steinberg::PClassInfo2& info) { info = source; }
    static void copyClassInfo (const Steinberg::PClassInfo2& source, Steinberg::PClassInfoW& info) { info.fromAscii (source); }

    std::atomic<int> refCount { 1 };
    juce::VSTComSmartPtr<Steinberg::IPluginFactory3> juceFactory;
    Steinberg::TUID audioComponentId {}, controllerId {};
    Steinberg::int32 compatibilityIndex = 0, numClasses = 0;
};
} // namespace

JUCE_END_IGNORE_WARNINGS_GCC_LIKE

extern "C" SMTG_EXPORT_SYMBOL Steinberg::IPluginFactory* PLUGIN_API GetPluginFactory()
{
    return new CompatibilityFactory();
}
