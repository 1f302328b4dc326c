#include "PluginInstance.h"

#include <pluginterfaces/vst/vstspeaker.h>

#include <cstring>

namespace
{
namespace Vst = Steinberg::Vst;
namespace Arrangements = Steinberg::Vst::SpeakerArr;

struct Arrangement
{
    Vst::SpeakerArrangement input, output;
    const char* name = "";
};

std::string nameOf (const ::testing::TestParamInfo<Arrangement>& arrangement) { return arrangement.param.name; }

// Cases print as their names, also in the test list that CTest reads.
void PrintTo (const Arrangement& arrangement, std::ostream* out) { *out << arrangement.name; }
} // namespace

TEST_F (PluginInstanceTest, NamesTheControllerClass)
{
    Steinberg::TUID controllerId;
    ASSERT_EQ (component->getControllerClassId (controllerId), Steinberg::kResultOk);

    Steinberg::PClassInfo controllerClass;
    ASSERT_EQ (factory->getClassInfo (1, &controllerClass), Steinberg::kResultOk);
    EXPECT_EQ (0, std::memcmp (controllerId, controllerClass.cid, sizeof (controllerId)));
}

TEST_F (PluginInstanceTest, HasOneStereoAudioBusEachWayAndNoEventBus)
{
    EXPECT_EQ (component->getBusCount (Vst::kEvent, Vst::kInput), 0);
    EXPECT_EQ (component->getBusCount (Vst::kEvent, Vst::kOutput), 0);
    ASSERT_EQ (component->getBusCount (Vst::kAudio, Vst::kInput), 1);
    ASSERT_EQ (component->getBusCount (Vst::kAudio, Vst::kOutput), 1);

    for (const auto& [direction, name] : { std::pair { Vst::kInput, "Input" }, std::pair { Vst::kOutput, "Output" } })
    {
        SCOPED_TRACE (name);
        Vst::BusInfo info;
        ASSERT_EQ (component->getBusInfo (Vst::kAudio, direction, 0, info), Steinberg::kResultOk);
        EXPECT_EQ (toAscii (info.name), name);
        EXPECT_EQ (info.mediaType, Vst::kAudio);
        EXPECT_EQ (info.direction, direction);
        EXPECT_EQ (info.busType, Vst::kMain);
        EXPECT_EQ (info.flags, (Steinberg::uint32) Vst::BusInfo::kDefaultActive);
        EXPECT_EQ (info.channelCount, 2);

        Vst::SpeakerArrangement arrangement = 0;
        ASSERT_EQ (processor->getBusArrangement (direction, 0, arrangement), Steinberg::kResultOk);
        EXPECT_EQ (arrangement, Arrangements::kStereo);
    }
}

class BusArrangementTest : public PluginInstanceTest, public ::testing::WithParamInterface<Arrangement>
{
protected:
    Arrangement current()
    {
        Arrangement arrangement {};
        EXPECT_EQ (processor->getBusArrangement (Vst::kInput, 0, arrangement.input), Steinberg::kResultOk);
        EXPECT_EQ (processor->getBusArrangement (Vst::kOutput, 0, arrangement.output), Steinberg::kResultOk);
        return arrangement;
    }

    Steinberg::tresult request (Arrangement arrangement)
    {
        return processor->setBusArrangements (&arrangement.input, 1, &arrangement.output, 1);
    }
};

TEST_F (BusArrangementTest, AcceptsMonoAndStereoOnBothSides)
{
    for (const auto layout : { Arrangements::kMono, Arrangements::kStereo, Arrangements::kMono })
    {
        ASSERT_EQ (request ({ layout, layout }), Steinberg::kResultTrue) << layout;
        const auto now = current();
        EXPECT_EQ (now.input, layout);
        EXPECT_EQ (now.output, layout);

        Vst::BusInfo info;
        ASSERT_EQ (component->getBusInfo (Vst::kAudio, Vst::kOutput, 0, info), Steinberg::kResultOk);
        EXPECT_EQ (info.channelCount, Vst::SpeakerArr::getChannelCount (layout));
    }
}

// A refusing plug-in may keep its layout or move to the nearest one it supports; either way
// the host must find a layout that the plug-in supports.
TEST_P (BusArrangementTest, RefusesAndStaysOnASupportedLayout)
{
    EXPECT_EQ (request (GetParam()), Steinberg::kResultFalse);

    const auto now = current();
    EXPECT_EQ (now.input, now.output);
    EXPECT_TRUE (now.output == Arrangements::kMono || now.output == Arrangements::kStereo) << now.output;
}

INSTANTIATE_TEST_SUITE_P (Unsupported,
                          BusArrangementTest,
                          ::testing::Values (Arrangement { Arrangements::kMono, Arrangements::kStereo, "MonoToStereo" },
                                             Arrangement { Arrangements::kStereo, Arrangements::kMono, "StereoToMono" },
                                             Arrangement { Arrangements::kStereo, Arrangements::k51, "StereoToSurround" },
                                             Arrangement { Arrangements::k51, Arrangements::k51, "Surround" },
                                             Arrangement { Arrangements::kEmpty, Arrangements::kStereo, "NoInput" }),
                          nameOf);
