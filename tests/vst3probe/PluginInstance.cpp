#include "PluginInstance.h"

#include <cstring>
#include <iostream>

namespace
{
void expectNoJuceAssertion (std::string printed, bool nanAssertionsExpected)
{
    std::cerr << printed;

    if (nanAssertionsExpected)
    {
        const std::string nanAssertion = "JUCE Assertion failure in juce_NormalisableRange.h";

        for (auto at = printed.find (nanAssertion); at != std::string::npos; at = printed.find (nanAssertion))
            printed.erase (at, nanAssertion.size());
    }

    EXPECT_EQ (printed.find ("JUCE Assertion failure"), std::string::npos) << printed;
}
} // namespace

void ModuleTest::SetUp()
{
    ::testing::internal::CaptureStderr();
    ASSERT_NE (Vst3Module::current, nullptr) << "no bundle given on the command line";
    factory = Vst3Module::current->getFactory();
    ASSERT_NE (factory, nullptr) << Vst3Module::current->getError();
}

void ModuleTest::TearDown()
{
    expectNoJuceAssertion (::testing::internal::GetCapturedStderr(), juceMayAssertOnNan);
}

void PluginInstanceTest::SetUp()
{
    ModuleTest::SetUp();

    if (! HasFatalFailure())
        create (instance);

    component = instance.component;
    processor = instance.processor;
    controller = instance.controller;
}

void PluginInstanceTest::TearDown()
{
    destroy (instance);
    EXPECT_EQ (host.references.load(), 0) << "the plug-in kept references to the host's context";
    ModuleTest::TearDown();
}

void PluginInstanceTest::create (Instance& target)
{
    // Hosts find the audio module by its category, and its controller through it.
    Steinberg::PClassInfo info;
    Steinberg::int32 index = 0;

    for (; index < factory->countClasses(); ++index)
        if (factory->getClassInfo (index, &info) == Steinberg::kResultOk && std::strcmp (info.category, kVstAudioEffectClass) == 0)
            break;

    ASSERT_LT (index, factory->countClasses()) << "no audio module class";

    void* object = nullptr;
    ASSERT_EQ (factory->createInstance (info.cid, Steinberg::Vst::IComponent::iid, &object), Steinberg::kResultOk);
    target.component = Steinberg::owned (static_cast<Steinberg::Vst::IComponent*> (object));
    ASSERT_EQ (target.component->initialize (&host), Steinberg::kResultOk);

    target.processor = Steinberg::FUnknownPtr<Steinberg::Vst::IAudioProcessor> (target.component);
    ASSERT_TRUE (target.processor);

    Steinberg::TUID controllerId;
    ASSERT_EQ (target.component->getControllerClassId (controllerId), Steinberg::kResultOk);
    ASSERT_EQ (factory->createInstance (controllerId, Steinberg::Vst::IEditController::iid, &object), Steinberg::kResultOk);
    target.controller = Steinberg::owned (static_cast<Steinberg::Vst::IEditController*> (object));
    ASSERT_EQ (target.controller->initialize (&host), Steinberg::kResultOk);

    target.componentConnection = Steinberg::FUnknownPtr<Steinberg::Vst::IConnectionPoint> (target.component);
    target.controllerConnection = Steinberg::FUnknownPtr<Steinberg::Vst::IConnectionPoint> (target.controller);
    ASSERT_TRUE (target.componentConnection && target.controllerConnection);
    EXPECT_EQ (target.componentConnection->connect (target.controllerConnection), Steinberg::kResultOk);
    EXPECT_EQ (target.controllerConnection->connect (target.componentConnection), Steinberg::kResultOk);
}

void PluginInstanceTest::destroy (Instance& target)
{
    if (target.componentConnection && target.controllerConnection)
    {
        target.componentConnection->disconnect (target.controllerConnection);
        target.controllerConnection->disconnect (target.componentConnection);
    }

    target.componentConnection = nullptr;
    target.controllerConnection = nullptr;

    if (target.controller)
        target.controller->terminate();

    if (target.component)
        target.component->terminate();

    target.processor = nullptr;
    target.controller = nullptr;
    target.component = nullptr;
}
