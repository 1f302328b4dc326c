#pragma once

#include <atomic>
#include <string_view>

// A Debug build of JUCE's ranges asserts on a NaN value. While one of these lives, a test
// that feeds NaN on purpose expects that assertion; any other still fails the test.
class ExpectNanRangeAssertions
{
public:
    ExpectNanRangeAssertions() { ++active; }
    ~ExpectNanRangeAssertions() { --active; }

    static bool isExpected (const char* assertion);

private:
    inline static std::atomic<int> active { 0 };
};

inline bool ExpectNanRangeAssertions::isExpected (const char* assertion)
{
    return active.load() > 0 && std::string_view (assertion).find ("juce_NormalisableRange.h") != std::string_view::npos;
}
