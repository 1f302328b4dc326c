#pragma once

#include <pluginterfaces/base/ibstream.h>
#include <pluginterfaces/vst/ivsthostapplication.h>
#include <pluginterfaces/vst/ivstparameterchanges.h>

#include <atomic>
#include <deque>
#include <string>
#include <utility>
#include <vector>

// The host's side of the objects that it hands to the plug-in. Each counts its references
// so that a test can see that the plug-in released what it took.

class HostApplication final : public Steinberg::Vst::IHostApplication
{
public:
    Steinberg::tresult PLUGIN_API getName (Steinberg::Vst::String128 name) override;
    Steinberg::tresult PLUGIN_API createInstance (Steinberg::TUID cid, Steinberg::TUID interfaceId, void** obj) override;

    Steinberg::tresult PLUGIN_API queryInterface (const Steinberg::TUID targetIID, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return (Steinberg::uint32) ++references; }
    Steinberg::uint32 PLUGIN_API release() override { return (Steinberg::uint32) --references; }

    std::atomic<int> references { 0 };
};

// A stream over bytes in memory, as hosts hand one to getState and setState.
class MemoryStream final : public Steinberg::IBStream
{
public:
    MemoryStream() = default;
    explicit MemoryStream (std::string initialBytes)
        : bytes (std::move (initialBytes)) {}

    Steinberg::tresult PLUGIN_API read (void* buffer, Steinberg::int32 numBytes, Steinberg::int32* numBytesRead) override;
    Steinberg::tresult PLUGIN_API write (void* buffer, Steinberg::int32 numBytes, Steinberg::int32* numBytesWritten) override;
    Steinberg::tresult PLUGIN_API seek (Steinberg::int64 pos, Steinberg::int32 mode, Steinberg::int64* result) override;
    Steinberg::tresult PLUGIN_API tell (Steinberg::int64* pos) override;

    Steinberg::tresult PLUGIN_API queryInterface (const Steinberg::TUID targetIID, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return (Steinberg::uint32) ++references; }
    Steinberg::uint32 PLUGIN_API release() override { return (Steinberg::uint32) --references; }

    std::string bytes;
    size_t position = 0;
    std::atomic<int> references { 0 };
};

// The host's side of sample-accurate automation: what a host hands to process() as
// inputParameterChanges, and offers as outputParameterChanges for the plug-in to fill.

class ParameterValueQueue final : public Steinberg::Vst::IParamValueQueue
{
public:
    explicit ParameterValueQueue (Steinberg::Vst::ParamID id)
        : parameterId (id) {}

    Steinberg::Vst::ParamID PLUGIN_API getParameterId() override { return parameterId; }
    Steinberg::int32 PLUGIN_API getPointCount() override { return (Steinberg::int32) points.size(); }
    Steinberg::tresult PLUGIN_API getPoint (Steinberg::int32 index, Steinberg::int32& sampleOffset, Steinberg::Vst::ParamValue& value) override;
    Steinberg::tresult PLUGIN_API addPoint (Steinberg::int32 sampleOffset, Steinberg::Vst::ParamValue value, Steinberg::int32& index) override;

    Steinberg::tresult PLUGIN_API queryInterface (const Steinberg::TUID targetIID, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return (Steinberg::uint32) ++references; }
    Steinberg::uint32 PLUGIN_API release() override { return (Steinberg::uint32) --references; }

    std::vector<std::pair<Steinberg::int32, Steinberg::Vst::ParamValue>> points; // by sample offset
    std::atomic<int> references { 0 };

private:
    Steinberg::Vst::ParamID parameterId;
};

class ParameterChanges final : public Steinberg::Vst::IParameterChanges
{
public:
    Steinberg::int32 PLUGIN_API getParameterCount() override { return (Steinberg::int32) queues.size(); }
    Steinberg::Vst::IParamValueQueue* PLUGIN_API getParameterData (Steinberg::int32 index) override;
    Steinberg::Vst::IParamValueQueue* PLUGIN_API addParameterData (const Steinberg::Vst::ParamID& id, Steinberg::int32& index) override;

    Steinberg::tresult PLUGIN_API queryInterface (const Steinberg::TUID targetIID, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return (Steinberg::uint32) ++references; }
    Steinberg::uint32 PLUGIN_API release() override { return (Steinberg::uint32) --references; }

    // For the host's own use: one point more in the parameter's queue.
    void add (Steinberg::Vst::ParamID id, Steinberg::int32 sampleOffset, Steinberg::Vst::ParamValue value);
    void clear() { queues.clear(); }

    std::deque<ParameterValueQueue> queues; // a deque keeps handed-out queues in place
    std::atomic<int> references { 0 };
};

// Plug-in strings in UTF-16, as ASCII for comparing and printing ('?' for anything else).
std::string toAscii (const Steinberg::char16* text);
