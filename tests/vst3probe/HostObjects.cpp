#include "HostObjects.h"

#include <algorithm>
#include <cstring>
#include <tuple>

namespace
{
template <typename Interface>
Steinberg::tresult queryOnly (Interface* object, const Steinberg::TUID iid, void** obj)
{
    if (Steinberg::FUnknownPrivate::iidEqual (iid, Interface::iid) || Steinberg::FUnknownPrivate::iidEqual (iid, Steinberg::FUnknown::iid))
    {
        object->addRef();
        *obj = object;
        return Steinberg::kResultOk;
    }

    *obj = nullptr;
    return Steinberg::kNoInterface;
}
} // namespace

Steinberg::tresult PLUGIN_API HostApplication::getName (Steinberg::Vst::String128 name)
{
    const std::u16string hostName = u"Krel VST3 probe";
    std::copy (hostName.begin(), hostName.end(), name);
    name[hostName.size()] = 0;
    return Steinberg::kResultOk;
}

Steinberg::tresult PLUGIN_API HostApplication::createInstance (Steinberg::TUID, Steinberg::TUID, void** obj)
{
    *obj = nullptr;
    return Steinberg::kNotImplemented;
}

Steinberg::tresult PLUGIN_API HostApplication::queryInterface (const Steinberg::TUID targetIID, void** obj)
{
    return queryOnly<Steinberg::Vst::IHostApplication> (this, targetIID, obj);
}

Steinberg::tresult PLUGIN_API MemoryStream::read (void* buffer, Steinberg::int32 numBytes, Steinberg::int32* numBytesRead)
{
    if (buffer == nullptr || numBytes < 0)
        return Steinberg::kInvalidArgument;

    const auto available = position < bytes.size() ? bytes.size() - position : 0;
    const auto count = std::min ((size_t) numBytes, available);

    if (count > 0)
        std::memcpy (buffer, bytes.data() + position, count);

    position += count;

    if (numBytesRead != nullptr)
        *numBytesRead = (Steinberg::int32) count;

    return Steinberg::kResultOk;
}

Steinberg::tresult PLUGIN_API MemoryStream::write (void* buffer, Steinberg::int32 numBytes, Steinberg::int32* numBytesWritten)
{
    if (buffer == nullptr || numBytes < 0)
        return Steinberg::kInvalidArgument;

    const auto count = (size_t) numBytes;
    bytes.resize (std::max (bytes.size(), position + count));
    std::memcpy (bytes.data() + position, buffer, count);
    position += count;

    if (numBytesWritten != nullptr)
        *numBytesWritten = numBytes;

    return Steinberg::kResultOk;
}

Steinberg::tresult PLUGIN_API MemoryStream::seek (Steinberg::int64 pos, Steinberg::int32 mode, Steinberg::int64* result)
{
    const auto base = mode == kIBSeekSet ? 0 : mode == kIBSeekCur ? (Steinberg::int64) position
                                                                  : (Steinberg::int64) bytes.size();

    if (mode < kIBSeekSet || mode > kIBSeekEnd || base + pos < 0)
        return Steinberg::kInvalidArgument;

    position = (size_t) (base + pos);

    if (result != nullptr)
        *result = (Steinberg::int64) position;

    return Steinberg::kResultOk;
}

Steinberg::tresult PLUGIN_API MemoryStream::tell (Steinberg::int64* pos)
{
    if (pos == nullptr)
        return Steinberg::kInvalidArgument;

    *pos = (Steinberg::int64) position;
    return Steinberg::kResultOk;
}

Steinberg::tresult PLUGIN_API MemoryStream::queryInterface (const Steinberg::TUID targetIID, void** obj)
{
    return queryOnly<Steinberg::IBStream> (this, targetIID, obj);
}

std::string toAscii (const Steinberg::char16* text)
{
    std::string result;

    for (; *text != 0; ++text)
        result += *text < 128 ? (char) *text : '?';

    return result;
}

Steinberg::tresult PLUGIN_API ParameterValueQueue::getPoint (Steinberg::int32 index,
                                                             Steinberg::int32& sampleOffset,
                                                             Steinberg::Vst::ParamValue& value)
{
    if (index < 0 || index >= getPointCount())
        return Steinberg::kResultFalse;

    std::tie (sampleOffset, value) = points[(size_t) index];
    return Steinberg::kResultTrue;
}

Steinberg::tresult PLUGIN_API ParameterValueQueue::addPoint (Steinberg::int32 sampleOffset,
                                                             Steinberg::Vst::ParamValue value,
                                                             Steinberg::int32& index)
{
    auto position = std::find_if (points.begin(), points.end(), [sampleOffset] (const auto& point)
                                  { return point.first >= sampleOffset; });

    if (position != points.end() && position->first == sampleOffset)
        position->second = value;
    else
        position = points.insert (position, { sampleOffset, value });

    index = (Steinberg::int32) std::distance (points.begin(), position);
    return Steinberg::kResultTrue;
}

Steinberg::tresult PLUGIN_API ParameterValueQueue::queryInterface (const Steinberg::TUID targetIID, void** obj)
{
    return queryOnly<Steinberg::Vst::IParamValueQueue> (this, targetIID, obj);
}

Steinberg::Vst::IParamValueQueue* PLUGIN_API ParameterChanges::getParameterData (Steinberg::int32 index)
{
    return index >= 0 && index < getParameterCount() ? &queues[(size_t) index] : nullptr;
}

Steinberg::Vst::IParamValueQueue* PLUGIN_API ParameterChanges::addParameterData (const Steinberg::Vst::ParamID& id, Steinberg::int32& index)
{
    for (size_t i = 0; i < queues.size(); ++i)
    {
        if (queues[i].getParameterId() == id)
        {
            index = (Steinberg::int32) i;
            return &queues[i];
        }
    }

    index = getParameterCount();
    return &queues.emplace_back (id);
}

Steinberg::tresult PLUGIN_API ParameterChanges::queryInterface (const Steinberg::TUID targetIID, void** obj)
{
    return queryOnly<Steinberg::Vst::IParameterChanges> (this, targetIID, obj);
}

void ParameterChanges::add (Steinberg::Vst::ParamID id, Steinberg::int32 sampleOffset, Steinberg::Vst::ParamValue value)
{
    Steinberg::int32 index = 0;
    addParameterData (id, index)->addPoint (sampleOffset, value, index);
}
