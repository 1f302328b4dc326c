#pragma once

#include "HostObjects.h"
#include "Vst3Module.h"

#include <pluginterfaces/vst/ivstaudioprocessor.h>
#include <pluginterfaces/vst/ivstcomponent.h>
#include <pluginterfaces/vst/ivsteditcontroller.h>
#include <pluginterfaces/vst/ivstmessage.h>

#include <gtest/gtest.h>

// Tests that talk to the module's factory. A JUCE assertion that the plug-in prints while
// a test runs (a Debug build prints them) fails the test.
class ModuleTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    Steinberg::IPluginFactory* factory = nullptr;

    // A Debug build of JUCE's ranges asserts on a NaN parameter value; a test that sends one
    // on purpose expects that assertion, and checks what the plug-in does with the value.
    bool juceMayAssertOnNan = false;
};

// One instance of the effect as a host sets it up: the audio module and its controller
// created through the factory, both initialised with the host's context and connected.
// Torn down in the reverse order.
class PluginInstanceTest : public ModuleTest
{
protected:
    void SetUp() override;
    void TearDown() override;

    // The fixture sets up one; a test may set up more with create() and destroy().
    struct Instance
    {
        Steinberg::IPtr<Steinberg::Vst::IComponent> component;
        Steinberg::FUnknownPtr<Steinberg::Vst::IAudioProcessor> processor;
        Steinberg::IPtr<Steinberg::Vst::IEditController> controller;
        Steinberg::FUnknownPtr<Steinberg::Vst::IConnectionPoint> componentConnection, controllerConnection;
    };

    void create (Instance& instance);
    void destroy (Instance& instance);

    HostApplication host;
    Instance instance;
    Steinberg::Vst::IComponent* component = nullptr;
    Steinberg::Vst::IAudioProcessor* processor = nullptr;
    Steinberg::Vst::IEditController* controller = nullptr;
};
