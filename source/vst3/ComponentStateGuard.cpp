#include "ComponentStateGuard.h"

namespace
{
juce::MemoryBlock readAll (Steinberg::IBStream& stream)
{
    constexpr Steinberg::int32 blockSize = 4096;
    juce::MemoryBlock bytes;
    juce::HeapBlock<char> buffer (blockSize);

    for (;;)
    {
        Steinberg::int32 bytesRead = 0;

        if (stream.read (buffer, blockSize, &bytesRead) != Steinberg::kResultOk || bytesRead <= 0)
            return bytes;

        bytes.append (buffer, (size_t) bytesRead);
    }
}

// JUCE's trailer is its own data, a 64-bit little-endian size of that data, then this text.
// Its data follows 8 bytes of its own, and those follow the engine's block, which a state of
// this plug-in never leaves empty.
bool juceTrailerFits (const juce::MemoryBlock& state)
{
    static constexpr char magic[] = "JUCEPrivateData";
    constexpr auto magicSize = sizeof (magic) - 1;
    constexpr auto sizeField = sizeof (juce::uint64);

    const auto size = state.getSize();
    const auto* end = static_cast<const char*> (state.getData()) + size;

    if (size < magicSize + sizeField || std::memcmp (end - magicSize, magic, magicSize) != 0)
        return true;

    const auto juceDataSize = juce::ByteOrder::littleEndianInt64 (end - magicSize - sizeField);
    constexpr auto framing = magicSize + 2 * sizeField;
    return size > framing && juceDataSize < size - framing;
}
} // namespace

Steinberg::tresult PLUGIN_API ComponentStateGuard::queryInterface (const Steinberg::TUID targetIID, void** obj)
{
    const auto result = juce::testForMultiple (*this,
                                               targetIID,
                                               juce::UniqueBase<Steinberg::Vst::IComponent> {},
                                               juce::UniqueBase<Steinberg::IPluginBase> {},
                                               juce::SharedBase<Steinberg::FUnknown, Steinberg::Vst::IComponent> {});

    if (result.isOk())
        return result.extract (obj);

    return juceComponent->queryInterface (targetIID, obj);
}

Steinberg::tresult PLUGIN_API ComponentStateGuard::setState (Steinberg::IBStream* state)
{
    if (state == nullptr)
        return Steinberg::kInvalidArgument;

    if (state->seek (0, Steinberg::IBStream::kIBSeekSet, nullptr) != Steinberg::kResultOk)
        return Steinberg::kResultFalse;

    auto bytes = readAll (*state);

    if (! juceTrailerFits (bytes))
        return Steinberg::kResultFalse;

    // JUCE reads the very bytes checked, whatever the host's stream would give on a second reading.
    const auto checked = Steinberg::owned (new Steinberg::MemoryStream (bytes.getData(), (Steinberg::TSize) bytes.getSize()));
    return juceComponent->setState (checked);
}
