#pragma once

#include <pluginterfaces/base/ipluginbase.h>

#include <string>

// The plug-in's module, loaded as a VST3 host on Linux loads it: the bundle's shared
// object opened with dlopen, ModuleEntry called, then GetPluginFactory.
class Vst3Module
{
public:
    explicit Vst3Module (const std::string& bundlePath);
    ~Vst3Module();

    Vst3Module (const Vst3Module&) = delete;
    Vst3Module& operator= (const Vst3Module&) = delete;

    // Null when loading failed; error() says why.
    Steinberg::IPluginFactory* getFactory() const { return factory; }
    const std::string& getError() const { return error; }
    const std::string& getBundlePath() const { return bundlePath; }

    // The shared object inside the bundle.
    const std::string& getLibraryPath() const { return libraryPath; }

    // The module under test in this run, loaded by main() from its command line.
    static Vst3Module* current;

private:
    std::string bundlePath;
    std::string libraryPath;
    void* handle = nullptr;
    bool entered = false;
    Steinberg::IPtr<Steinberg::IPluginFactory> factory;
    std::string error;
};
