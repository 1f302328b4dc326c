#include "PluginInstance.h"

#include <pluginterfaces/vst/ivstunits.h>

#include <array>

namespace
{
namespace Vst = Steinberg::Vst;

struct ExpectedParameter
{
    Vst::ParamID id;
    const char* title;
    const char* units;
    Steinberg::int32 stepCount;
    Vst::ParamValue defaultValue;
    Steinberg::int32 flags;
};

// IDs that projects store for automation: they must never change.
const std::array<ExpectedParameter, 5> expectedParameters { {
    { 95852938, "Drive", "%", 0, 0.0, Vst::ParameterInfo::kCanAutomate },
    { 94940859, "Crush", "%", 0, 0.0, Vst::ParameterInfo::kCanAutomate },
    { 1141971201, "Output", "dB", 0, 0.5, Vst::ParameterInfo::kCanAutomate },
    { 108124, "Mix", "%", 0, 1.0, Vst::ParameterInfo::kCanAutomate },
    { 0x62797073, "Bypass", "", 1, 0.0, Vst::ParameterInfo::kCanAutomate | Vst::ParameterInfo::kIsBypass },
} };

constexpr Vst::ProgramListID factoryPresets = 0x70727374;
} // namespace

TEST_F (PluginInstanceTest, ListsFiveParametersWithBypassLast)
{
    ASSERT_EQ (controller->getParameterCount(), (Steinberg::int32) expectedParameters.size());

    for (size_t index = 0; index < expectedParameters.size(); ++index)
    {
        const auto& expected = expectedParameters[index];
        SCOPED_TRACE (expected.title);

        Vst::ParameterInfo info;
        ASSERT_EQ (controller->getParameterInfo ((Steinberg::int32) index, info), Steinberg::kResultOk);
        EXPECT_EQ (info.id, expected.id);
        EXPECT_EQ (toAscii (info.title), expected.title);
        EXPECT_EQ (toAscii (info.units), expected.units);
        EXPECT_EQ (info.stepCount, expected.stepCount);
        EXPECT_DOUBLE_EQ (info.defaultNormalizedValue, expected.defaultValue);
        EXPECT_EQ (info.flags, expected.flags);
        EXPECT_EQ (info.unitId, Vst::kRootUnitId);
        EXPECT_DOUBLE_EQ (controller->getParamNormalized (expected.id), expected.defaultValue);
    }
}

TEST_F (PluginInstanceTest, HasTheRootUnitWithOneNamelessProgram)
{
    const Steinberg::FUnknownPtr<Vst::IUnitInfo> units (controller);
    ASSERT_TRUE (units);

    ASSERT_EQ (units->getUnitCount(), 1);
    Vst::UnitInfo unit;
    ASSERT_EQ (units->getUnitInfo (0, unit), Steinberg::kResultOk);
    EXPECT_EQ (unit.id, Vst::kRootUnitId);
    EXPECT_EQ (unit.parentUnitId, Vst::kNoParentUnitId);
    EXPECT_EQ (toAscii (unit.name), "Root Unit");
    EXPECT_EQ (unit.programListId, factoryPresets);

    ASSERT_EQ (units->getProgramListCount(), 1);
    Vst::ProgramListInfo list;
    ASSERT_EQ (units->getProgramListInfo (0, list), Steinberg::kResultOk);
    EXPECT_EQ (list.id, factoryPresets);
    EXPECT_EQ (toAscii (list.name), "Factory Presets");
    EXPECT_EQ (list.programCount, 1);

    Vst::String128 name { 'x', 0 };
    ASSERT_EQ (units->getProgramName (factoryPresets, 0, name), Steinberg::kResultOk);
    EXPECT_EQ (toAscii (name), "");
}
