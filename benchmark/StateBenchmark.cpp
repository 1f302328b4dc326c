#include "engine/SaturatorAudioProcessor.h"

#include <benchmark/benchmark.h>

namespace
{
// A saved state whose elements nest 100,000 levels deep, as a damaged or hostile project may
// hold one: refused before JUCE's parser would recurse into it.
void restoreDeeplyNestedState (benchmark::State& state)
{
    constexpr int depth = 100000;
    juce::String text ("<Parameters>");

    for (int level = 1; level < depth; ++level)
        text << "<x>";

    for (int level = 1; level < depth; ++level)
        text << "</x>";

    text << "</Parameters>";

    juce::MemoryOutputStream out;
    out.write ("VC2!", 4);
    out.writeInt ((int) text.getNumBytesAsUTF8());
    out << text;
    out.writeByte (0);
    const auto block = out.getMemoryBlock();

    SaturatorAudioProcessor engine;

    for (auto _ : state)
        engine.setStateInformation (block.getData(), (int) block.getSize());

    state.counters["bytes"] = (double) block.getSize();
}
} // namespace

BENCHMARK (restoreDeeplyNestedState)->Unit (benchmark::kMillisecond);
