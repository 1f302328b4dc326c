#include "Vst3Module.h"

#include <gtest/gtest.h>

#include <memory>

// Usage: KrelVst3Probe [GoogleTest flags] <path to Krel.vst3>
int main (int argc, char** argv)
{
    ::testing::InitGoogleTest (&argc, argv);

    std::unique_ptr<Vst3Module> module;

    if (argc == 2)
    {
        module = std::make_unique<Vst3Module> (argv[1]);
        Vst3Module::current = module.get();
    }

    const auto result = RUN_ALL_TESTS();
    Vst3Module::current = nullptr;
    return result;
}
