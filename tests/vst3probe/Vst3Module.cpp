#include "Vst3Module.h"

#include <dlfcn.h>

Vst3Module* Vst3Module::current = nullptr;

namespace
{
template <typename Function>
Function findSymbol (void* handle, const char* name)
{
    return reinterpret_cast<Function> (dlsym (handle, name));
}
} // namespace

Vst3Module::Vst3Module (const std::string& bundle)
    : bundlePath (bundle)
    , libraryPath (bundle + "/Contents/x86_64-linux/Krel.so")
{
    handle = dlopen (libraryPath.c_str(), RTLD_LAZY | RTLD_LOCAL);

    if (handle == nullptr)
    {
        error = dlerror();
        return;
    }

    using ModuleEntry = bool (*) (void*);
    using GetFactory = Steinberg::IPluginFactory*(PLUGIN_API*) ();
    const auto moduleEntry = findSymbol<ModuleEntry> (handle, "ModuleEntry");
    const auto getPluginFactory = findSymbol<GetFactory> (handle, "GetPluginFactory");

    if (moduleEntry == nullptr || getPluginFactory == nullptr)
    {
        error = libraryPath + " lacks ModuleEntry or GetPluginFactory";
        return;
    }

    entered = moduleEntry (handle);

    if (! entered)
    {
        error = "ModuleEntry failed";
        return;
    }

    factory = Steinberg::owned (getPluginFactory());

    if (factory == nullptr)
        error = "GetPluginFactory returned no factory";
}

Vst3Module::~Vst3Module()
{
    factory = nullptr;

    if (entered)
        if (const auto moduleExit = findSymbol<bool (*)()> (handle, "ModuleExit"))
            moduleExit();

    if (handle != nullptr)
        dlclose (handle);
}
