#include "NanRangeAssertions.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>

namespace
{
// A Debug build routes JUCE's assertions here (JUCE_LOG_ASSERTIONS): a failed
// jassert fails the running test, and one after the tests, such as the leak
// detector's or a look-and-feel deleted while in use, fails the whole run.
class AssertionsFailTests final : public juce::Logger
{
    void logMessage (const juce::String& message) override
    {
        std::cerr << message << std::endl;

        if (! message.startsWith ("JUCE Assertion failure") || ExpectNanRangeAssertions::isExpected (message.toRawUTF8()))
            return;

        if (::testing::UnitTest::GetInstance()->current_test_info() != nullptr)
            ADD_FAILURE() << message;
        else
            std::_Exit (EXIT_FAILURE);
    }
};
} // namespace

int main (int argc, char** argv)
{
    // Never destroyed: JUCE's leak detectors report at static destruction.
    juce::Logger::setCurrentLogger (new AssertionsFailTests());

    ::testing::InitGoogleTest (&argc, argv);
    const juce::ScopedJuceInitialiser_GUI juce;
    return RUN_ALL_TESTS();
}
