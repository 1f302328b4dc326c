#pragma once

#include <juce_events/juce_events.h>

// Runs the message loop until the condition holds; false if it still fails after
// a generous while, so a slow machine does not turn into a failure.
template <typename Condition>
bool runMessageLoopUntil (Condition&& condition, juce::uint32 timeoutMs = 5000)
{
    const auto end = juce::Time::getMillisecondCounter() + timeoutMs;

    while (! condition())
    {
        if (juce::Time::getMillisecondCounter() > end)
            return false;

        juce::MessageManager::getInstance()->runDispatchLoopUntil (5);
    }

    return true;
}
